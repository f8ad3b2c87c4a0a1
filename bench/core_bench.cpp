// Core micro benchmarks through the fake form: the operations a user feels.
#include <benchmark/benchmark.h>

#include "fake_form.h"
#include "numtext.h"

using namespace petcalc;
using namespace petcalc::test;

static void BM_Ok(benchmark::State& st) {
    FakeForm f;
    typeFirstExample(f);
    for (auto _ : st) f.engine.ok();
}
BENCHMARK(BM_Ok);

// A level step with its five nested live recomputes and twelve box writes.
static void BM_LevelStep(benchmark::State& st) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    int d = 1;
    for (auto _ : st) {
        f.engine.levelStep(d);
        d = -d;
    }
}
BENCHMARK(BM_LevelStep);

static void BM_PointStep(benchmark::State& st) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    int d = 1;
    for (auto _ : st) {
        f.engine.pointStep(Attr::tz, d);
        d = -d;
    }
}
BENCHMARK(BM_PointStep);

static void BM_NumberParse(benchmark::State& st) {
    const char* texts[] = {" 4593.039", "1500", "1.2", " 1.234568E+07", ""};
    for (auto _ : st)
        for (const char* t : texts) benchmark::DoNotOptimize(parseNumber(t));
    st.SetItemsProcessed(st.iterations() * 5);
}
BENCHMARK(BM_NumberParse);

static void BM_DisplayFormat(benchmark::State& st) {
    const float values[] = {4593.0386f, 2010, 559.33337f, 12345678, 0.5f};
    for (auto _ : st)
        for (float v : values) benchmark::DoNotOptimize(displayFormat(v));
    st.SetItemsProcessed(st.iterations() * 5);
}
BENCHMARK(BM_DisplayFormat);

BENCHMARK_MAIN();
