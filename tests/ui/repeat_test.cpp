// Hold-to-repeat where only the real event loop and Qt's own event routing
// can say it: a timer ticking by itself, a real double click, and releases
// that land elsewhere or can no longer arrive.
#include <gtest/gtest.h>

#include "driver.h"

namespace petcalc::test {
namespace {

struct Window {
    Window() {
        form.show();
        (void)waitExposed(&form);
    }
    ~Window() { releaseAllButtons(form.findChild<QWidget*>("Command1")); }
    QWidget* button(const char* name) { return form.findChild<QWidget*>(name); }
    QString text(int n) { return form.box(boxAt(n))->text(); }
    ui::Form1 form;
};

// The first tick is awaited however long a busy machine takes to deliver
// it; how many ticks come is not asserted. After the release the timer is
// off, and a wait of a few intervals shows that no tick comes: on a slow
// machine that wait proves less, never fails wrongly.
TEST(Repeat, TicksOnTheEventLoopUntilReleased) {
    Window w;
    mousePress(w.button("Command8"));  // constitution +5
    while (w.text(11) == " 0") QTest::qWait(20);
    mouseRelease(w.button("Command8"), Qt::LeftButton, true);
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    const QString after = w.text(11);
    QTest::qWait(250);
    EXPECT_EQ(w.text(11), after);
}

TEST(Repeat, DoubleClickStepsTwice) {
    Window w;
    QWidget* b = w.button("Command19");  // endurance +1
    QTest::mouseDClick(windowOf(b), Qt::LeftButton, {}, windowPos(b, b->rect().center()));
    EXPECT_EQ(w.text(14), " 2");
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
}

// When the pointer grab is lost while a button is held, the release may
// land elsewhere or nowhere: letting go of the last mouse button anywhere
// ends the repeat, and a tick with no button down ends it too.
TEST(Repeat, LostReleaseCannotLeaveARepeatRunning) {
    Window w;
    mousePress(w.button("Command7"));
    QMouseEvent elsewhere(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(w.form.box(Box::Text1), &elsewhere);
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    mouseRelease(w.button("Command7"));  // the window system's own state; the hold is over already

    w.form.findChild<QTimer*>("Timer2")->start(100);  // a repeat whose release never came
    ASSERT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
    tick(w.form.findChild<QTimer*>("Timer2"));
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    EXPECT_EQ(w.text(11), " 0");  // the press showed the count; no click, no step from the stray tick
}

TEST(Repeat, StopsWhenTheButtonIsDisabledOrHidden) {
    Window w;
    mousePress(w.button("Command5"));
    w.button("Command5")->setEnabled(false);
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    w.button("Command5")->setEnabled(true);
    mouseRelease(w.button("Command5"));

    mousePress(w.button("Command7"));
    w.form.hide();
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    w.form.show();
}

}  // namespace
}  // namespace petcalc::test
