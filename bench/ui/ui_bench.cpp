// Interaction latency of Form1 through its real widgets, on Qt's offscreen
// platform, after the first worked example has been typed and "确定"
// clicked once: "确定" (Command1), a level step (Command27), a point step
// (Command7) and the growth estimate (Command4). Two ways to click each button:
//   Mouse  the test driver's mouseClick: a press and a release enter
//          through the QWindow as the window system delivers them, each
//          followed by a pass of the event loop, so the time holds the
//          press handler, the release, the click handler and the repaint
//          of every box that changed: what a user waits for;
//   Click  QAbstractButton::click(): the click handler alone, with its box
//          writes and nested recomputes, to set beside core_bench.
// Step buttons take turns with their opposite (↑ then ↓, +1 then -1) so the
// sheet stays where it is however many iterations run; core_bench does the
// same.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <map>
#include <memory>

#include "appearance.h"
#include "driver.h"

namespace petcalc::bench {
namespace {

using test::mouseClick;

class Window {
public:
    Window() {
        m_form.show();
        (void)QTest::qWaitForWindowExposed(&m_form);
        const std::map<int, const char*> inputs = {
            {18, "100"}, {19, "1.2"}, {1, "1500"}, {2, "1400"}, {3, "4500"}, {4, "2500"},
            {5, "1300"}, {11, "120"}, {12, "120"}, {13, "620"}, {14, "120"}, {15, "120"},
            {20, "100"}, {21, "50"},  {22, "20"},  {23, "30"}};
        for (auto [n, t] : inputs) test::typeInto(m_form.box(boxAt(n)), QString::fromUtf8(t));
        test::setChecked(m_form.findChild<QCheckBox*>("Check1"), true);
        test::setChecked(m_form.findChild<QCheckBox*>("Check3"), true);
        mouseClick(button("Command1"));
        QApplication::processEvents();
    }
    QPushButton* button(const char* name) { return m_form.findChild<QPushButton*>(name); }
    QLineEdit* box(int n) const { return m_form.box(boxAt(n)); }
    QString text(int n) const { return box(n)->text(); }

private:
    ui::Form1 m_form;
};

enum How { Mouse, Click };

void press(QPushButton* b, How how) {
    if (how == Mouse)
        mouseClick(b);
    else
        b->click();
}

// One button, or two in turn. A "确定" after a change of the level box
// (made, and repainted, outside the timing) computes a new panel each time;
// without it every click after the first would rewrite the same texts.
void run(benchmark::State& st, const char* first, const char* second, bool newLevel = false) {
    const How how = static_cast<How>(st.range(0));
    st.SetLabel(how == Mouse ? "mouseClick" : "click()");
    Window w;
    QPushButton* a = w.button(first);
    QPushButton* b = w.button(second ? second : first);
    bool turn = false;
    for (auto _ : st) {
        if (newLevel) {
            st.PauseTiming();
            w.box(18)->setText(turn ? "101" : "100");
            QApplication::processEvents();
            st.ResumeTiming();
        }
        press(turn ? b : a, how);
        turn = !turn;
    }
    if (how == Click) QApplication::processEvents();  // the repaints owed, outside the timing
    if (w.text(6).isEmpty()) st.SkipWithError("the panel was never computed");
}

void BM_Ok(benchmark::State& st) { run(st, "Command1", nullptr, /*newLevel=*/true); }
void BM_LevelStep(benchmark::State& st) { run(st, "Command27", "Command26"); }
void BM_PointStep(benchmark::State& st) { run(st, "Command7", "Command5"); }
void BM_GrowthEstimate(benchmark::State& st) { run(st, "Command4", nullptr); }

BENCHMARK(BM_Ok)->Arg(Mouse)->Arg(Click)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LevelStep)->Arg(Mouse)->Arg(Click)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PointStep)->Arg(Mouse)->Arg(Click)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GrowthEstimate)->Arg(Mouse)->Arg(Click)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace petcalc::bench

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    petcalc::ui::applyAppearance(app);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
