// Hold-to-repeat cadence on the real X11 platform: Form1 is shown with the
// first worked example computed, the mouse is pressed on "+1" of
// constitution (Command7) through the X server's XTEST extension, exactly as
// a physical button would arrive, held for 10 s while the event loop runs,
// and released. Every step is timed when its value reaches Text11, and the
// steps are counted from Text11's value. A benchmark, run by bench/run.sh
// under Xvfb; it asserts nothing.
//
// Usage: cadence_bench [--hold-ms 10000] [--rows FILE]
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "appearance.h"
#include "form1.h"
#include "output.h"

namespace petcalc::bench {
namespace {

// A button event of the X server's own: it goes through the server, its
// implicit pointer grab and Qt's xcb event reader like a real mouse.
void fakeButton(xcb_connection_t* c, xcb_window_t root, QPoint global, bool press) {
    xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, int16_t(global.x()), int16_t(global.y()), 0);
    xcb_test_fake_input(c, press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, root, 0, 0, 0);
    xcb_flush(c);
}

void fillFirstExample(ui::Form1& form) {
    const std::map<int, const char*> inputs = {
        {18, "100"}, {19, "1.2"}, {1, "1500"}, {2, "1400"}, {3, "4500"}, {4, "2500"},
        {5, "1300"}, {11, "120"}, {12, "120"}, {13, "620"}, {14, "120"}, {15, "120"},
        {20, "100"}, {21, "50"},  {22, "20"},  {23, "30"}};
    for (auto [n, t] : inputs) form.box(boxAt(n))->setText(QString::fromUtf8(t));
    form.findChild<QCheckBox*>("Check1")->setChecked(true);
    form.findChild<QCheckBox*>("Check3")->setChecked(true);
    form.findChild<QPushButton*>("Command1")->click();  // the panel follows every step from now on
}

struct Fit {
    double slope, intercept;
};

// Least squares of t[i] against i.
Fit fitLine(const std::vector<double>& t) {
    const double n = double(t.size());
    double si = 0, st = 0, sii = 0, sit = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        si += double(i);
        st += t[i];
        sii += double(i) * double(i);
        sit += double(i) * t[i];
    }
    const double slope = (n * sit - si * st) / (n * sii - si * si);
    return {slope, (st - slope * si) / n};
}

}  // namespace
}  // namespace petcalc::bench

int main(int argc, char* argv[]) {
    using namespace petcalc::bench;
    int holdMs = 10000;
    const char* rowsPath = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--hold-ms") holdMs = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--rows") rowsPath = argv[i + 1];
    }
    QApplication app(argc, argv);
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) {
        std::fprintf(stderr, "cadence_bench: needs the xcb platform (run it under xvfb-run)\n");
        return 1;
    }
    xcb_connection_t* c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(c, &xcb_test_id);
    if (!xtest || !xtest->present) {
        std::fprintf(stderr, "cadence_bench: the X server has no XTEST extension\n");
        return 1;
    }

    petcalc::ui::applyAppearance(app);
    petcalc::ui::Form1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form, 10000)) return 1;
    fillFirstExample(form);
    QTest::qWait(200);  // the first repaints done

    QLineEdit* text11 = form.box(petcalc::Box::Text11);
    auto* button = form.findChild<QPushButton*>("Command7");
    const double start = text11->text().toDouble();
    QElapsedTimer clock;
    std::vector<std::pair<double, double>> changes;  // ms since the press was sent, Text11's value
    QObject::connect(text11, &QLineEdit::textChanged, [&](const QString& t) {
        changes.emplace_back(double(clock.nsecsElapsed()) / 1e6, t.toDouble());
    });
    // When the press and the release reach the button, as against when they
    // were sent: a tick can fall between the two.
    double pressedAt = -1, releasedAt = -1;
    QObject::connect(button, &QPushButton::pressed, [&] { pressedAt = double(clock.nsecsElapsed()) / 1e6; });
    QObject::connect(button, &QPushButton::released, [&] { releasedAt = double(clock.nsecsElapsed()) / 1e6; });

    const QPoint at = button->mapToGlobal(button->rect().center());
    clock.start();
    fakeButton(c, root, at, true);
    QTimer::singleShot(holdMs, Qt::PreciseTimer, [&] {
        fakeButton(c, root, at, false);
        QTimer::singleShot(500, &app, &QApplication::quit);  // room for the release and its click
    });
    app.exec();

    // The press rewrites the held value (the text gains its leading blank,
    // the number stays), each tick adds one step, the click after the
    // release the last.
    const double end = text11->text().toDouble();
    const int steps = int(std::lround(end - start));
    std::vector<double> ticks;
    double previous = start;
    for (auto [t, v] : changes) {
        if (t < releasedAt && v != previous) ticks.push_back(t);
        previous = v;
    }
    if (pressedAt < 0 || releasedAt < 0 || ticks.size() < 3) {
        std::fprintf(stderr, "cadence_bench: the press never reached Command7 (%zu changes)\n", changes.size());
        return 1;
    }
    std::vector<double> intervals;
    for (size_t i = 1; i < ticks.size(); ++i) intervals.push_back(ticks[i] - ticks[i - 1]);
    double mean = 0;
    for (double d : intervals) mean += d;
    mean /= double(intervals.size());
    double var = 0;
    for (double d : intervals) var += (d - mean) * (d - mean);
    const double sd = std::sqrt(var / double(intervals.size()));
    const auto [lo, hi] = std::minmax_element(intervals.begin(), intervals.end());
    const Fit fit = fitLine(ticks);
    // Drift: how far the last tick is from where a perfect 100 ms clock
    // started at the first tick would put it.
    const double drift = ticks.back() - ticks.front() - 100.0 * double(ticks.size() - 1);

    std::printf("held %.0f ms (press reached the button %.2f ms after it was sent)\n", releasedAt - pressedAt,
                pressedAt);
    std::printf("steps %d (ticks %zu + the click), Text11 %g -> %g\n", steps, ticks.size(), start, end);
    std::printf("first tick %.2f ms after the press\n", ticks.front() - pressedAt);
    std::printf("interval mean %.3f ms, sd %.3f, min %.3f, max %.3f; fitted period %.4f ms\n", mean, sd, *lo, *hi,
                fit.slope);
    std::printf("drift over %zu ticks: %+.3f ms\n", ticks.size(), drift);
    if (rowsPath) {
        char rows[400];
        std::snprintf(rows, sizeof rows,
                      "cadence\tsteps\t%d\ncadence\tinterval_mean\t%.3f\ncadence\tinterval_sd\t%.3f\n"
                      "cadence\tinterval_min\t%.3f\ncadence\tinterval_max\t%.3f\ncadence\tdrift\t%.3f\n"
                      "cadence\thold\t%.0f\n",
                      steps, mean, sd, *lo, *hi, drift, releasedAt - pressedAt);
        if (!petcalc::output::writeFile("cadence_bench", rowsPath, rows, true)) return 1;
    }
    return petcalc::output::flushStdout("cadence_bench") ? 0 : 1;
}
