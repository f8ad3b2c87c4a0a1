// Core micro benchmarks through a window without widgets: the operations a
// user feels, clicked as a front end hands them on.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "fake_form.h"
#include "numtext.h"
#include "okpanel.h"
#include "plan_cases.h"
#include "planner.h"

using namespace petcalc;
using namespace petcalc::bench;

// The boxes of the first worked example: level 100, growth 1.2, ...
static void typeFirstExample(FakeForm& f) {
    using B = Box;
    for (auto [b, t] : std::initializer_list<std::pair<Box, const char*>>{
             {B::Text18, "100"}, {B::Text19, "1.2"}, {B::Text1, "1500"}, {B::Text2, "1400"},
             {B::Text3, "4500"}, {B::Text4, "2500"}, {B::Text5, "1300"}, {B::Text11, "120"},
             {B::Text12, "120"}, {B::Text13, "620"}, {B::Text14, "120"}, {B::Text15, "120"},
             {B::Text20, "100"}, {B::Text21, "50"}, {B::Text22, "20"}, {B::Text23, "30"}})
        f.type(b, t);
    f.check(Check::Check1);
    f.check(Check::Check3);
}

static void BM_Ok(benchmark::State& st) {
    FakeForm f;
    typeFirstExample(f);
    for (auto _ : st) f.click("Command1");
}
BENCHMARK(BM_Ok);

// A level step with its five nested live recomputes and twelve box writes.
static void BM_LevelStep(benchmark::State& st) {
    FakeForm f;
    typeFirstExample(f);
    f.click("Command1");
    bool up = true;
    for (auto _ : st) {
        f.click(up ? "Command27" : "Command26");  // "↑", "↓"
        up = !up;
    }
}
BENCHMARK(BM_LevelStep);

static void BM_PointStep(benchmark::State& st) {
    FakeForm f;
    typeFirstExample(f);
    f.click("Command1");
    bool up = true;
    for (auto _ : st) {
        f.click(up ? "Command7" : "Command5");  // 体质 "+1", "-1"
        up = !up;
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

// One value an iteration, in turn from 4096 singles with bit patterns uniform over the finite ones
// (every binade alike, so mostly exponent forms), and their display texts.
static const std::vector<float>& randomSingles() {
    static const std::vector<float> values = [] {
        std::vector<float> out;
        std::mt19937 rng(1);
        while (out.size() < 4096) {
            const auto bits = static_cast<std::uint32_t>(rng());
            float v;
            std::memcpy(&v, &bits, sizeof v);
            if (std::isfinite(v)) out.push_back(v);
        }
        return out;
    }();
    return values;
}

template <std::string (*Format)(float)>
static void BM_FormatRandom(benchmark::State& st) {
    const auto& values = randomSingles();
    std::size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(Format(values[i++ % values.size()]));
}
BENCHMARK_TEMPLATE(BM_FormatRandom, displayFormat)->Name("BM_DisplayFormatRandom");
BENCHMARK_TEMPLATE(BM_FormatRandom, compactFormat)->Name("BM_CompactFormatRandom");

template <double (*Parse)(std::string_view)>
static void BM_ParseRandom(benchmark::State& st) {
    std::vector<std::string> texts;
    for (float v : randomSingles()) texts.push_back(displayFormat(v));
    std::size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(Parse(texts[i++ % texts.size()]));
}
BENCHMARK_TEMPLATE(BM_ParseRandom, parseNumber)->Name("BM_NumberParseRandom");

// One plan of the shared table (plan_cases.h): its index is the argument.
static void BM_Plan(benchmark::State& st) {
    const PlanCase& c = kPlanCases[static_cast<std::size_t>(st.range(0))];
    const PetState pet = planningPet(c.level);
    const PlanRequest request = planningRequest(c.mode, pet);
    const auto plan = c.tried ? planByTrying : makePlan;
    const PlanAnswer first = plan(pet, request);
    if (!first.plan) return st.SkipWithError(first.message.c_str());
    for (auto _ : st) benchmark::DoNotOptimize(plan(pet, request));
    st.SetLabel(planLabel(c, *first.plan));
}
BENCHMARK(BM_Plan)->DenseRange(0, kPlanCases.size() - 1);

BENCHMARK_MAIN();
