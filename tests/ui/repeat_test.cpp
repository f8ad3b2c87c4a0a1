// Hold-to-repeat through real mouse events: presses, ticks, releases and
// clicks in the orders a user produces them.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMessageBox>

#include "driver.h"

namespace petcalc::test {
namespace {

struct Window {
    Window() {
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }
    ~Window() { releaseAllButtons(form.findChild<QWidget*>("Command1")); }
    QWidget* button(const char* name) { return form.findChild<QWidget*>(name); }
    QTimer* timer(const char* name) { return form.findChild<QTimer*>(name); }
    QString text(int n) { return form.box(boxAt(n))->text(); }
    ui::Form1 form;
};

TEST(Repeat, PressTicksReleaseThenClick) {
    Window w;
    mousePress(w.button("Command7"));  // constitution +1
    EXPECT_EQ(runningTimers(w.form), QStringList{"Timer2"});
    EXPECT_EQ(w.timer("Timer2")->interval(), 100);
    EXPECT_EQ(w.text(11), " 0");  // the press shows the held value
    tick(w.timer("Timer2"));
    tick(w.timer("Timer2"));
    EXPECT_EQ(w.text(11), " 2");
    mouseRelease(w.button("Command7"));
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    EXPECT_EQ(w.text(11), " 3");  // the click's own step
}

// Every hold-to-repeat button: its press runs its own timer and no other,
// its release stops it, its click moves its own box by its own step.
TEST(Repeat, EveryButtonDrivesItsOwnTimerAndStep) {
    struct Row {
        const char* button;
        const char* timer;
        int box;
        const char* after;  // the box after press, one tick, release and click from 0
    };
    const Row rows[] = {
        {"Command5", "Timer1", 11, "-2"},   {"Command7", "Timer2", 11, " 2"},   {"Command6", "Timer3", 11, "-10"},
        {"Command8", "Timer4", 11, " 10"},  {"Command9", "Timer5", 12, "-2"},   {"Command11", "Timer7", 12, " 2"},
        {"Command10", "Timer6", 12, "-10"}, {"Command12", "Timer8", 12, " 10"}, {"Command13", "Timer9", 13, "-2"},
        {"Command15", "Timer11", 13, " 2"}, {"Command14", "Timer10", 13, "-10"}, {"Command16", "Timer12", 13, " 10"},
        {"Command17", "Timer13", 14, "-2"}, {"Command19", "Timer15", 14, " 2"}, {"Command18", "Timer14", 14, "-10"},
        {"Command20", "Timer16", 14, " 10"}, {"Command21", "Timer17", 15, "-2"}, {"Command22", "Timer18", 15, " 2"},
        {"Command23", "Timer19", 15, "-10"}, {"Command24", "Timer20", 15, " 10"}, {"Command27", "Timer21", 18, "2"},
        {"Command26", "Timer22", 18, "-2"},
    };
    for (const Row& r : rows) {
        Window w;
        mousePress(w.button(r.button));
        EXPECT_EQ(runningTimers(w.form), QStringList{r.timer}) << r.button;
        tick(w.timer(r.timer));
        mouseRelease(w.button(r.button));
        EXPECT_TRUE(runningTimers(w.form).isEmpty()) << r.button;
        EXPECT_EQ(w.text(r.box), r.after) << r.button;
    }
}

TEST(Repeat, ReleaseOutsideStopsWithoutAClick) {
    Window w;
    mousePress(w.button("Command10"));  // magic -5, on Timer6
    EXPECT_EQ(runningTimers(w.form), QStringList{"Timer6"});
    tick(w.timer("Timer6"));
    mouseRelease(w.button("Command10"), Qt::LeftButton, /*outside=*/true);
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    EXPECT_EQ(w.text(12), "-5");
}

TEST(Repeat, RightAndMiddleButtonsRepeatButNeverClick) {
    Window w;
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        mousePress(w.button("Command24"), b);  // agility +5
        EXPECT_EQ(runningTimers(w.form), QStringList{"Timer20"});
        tick(w.timer("Timer20"));
        mouseRelease(w.button("Command24"), b);
        EXPECT_TRUE(runningTimers(w.form).isEmpty());
    }
    EXPECT_EQ(w.text(15), " 10");
}

TEST(Repeat, KeyboardActivationAndDoubleClick) {
    Window w;
    keyActivate(w.button("Command19"));  // endurance +1: a click without a press
    EXPECT_EQ(w.text(14), " 1");
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    QWidget* b = w.button("Command19");
    QTest::mouseDClick(windowOf(b), Qt::LeftButton, {}, windowPos(b, b->rect().center()));
    EXPECT_EQ(w.text(14), " 3");  // two presses, two clicks
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
}

TEST(Repeat, LevelButtonsPressShowsLevelAndStepWritesCompact) {
    Window w;
    typeInto(w.form.box(Box::Text18), "50");
    mouseClick(w.button("Command1"));
    typeInto(w.form.box(Box::Text18), "60");
    mousePress(w.button("Command27"));
    EXPECT_EQ(w.text(18), " 50");
    EXPECT_EQ(runningTimers(w.form), QStringList{"Timer21"});
    tick(w.timer("Timer21"));
    EXPECT_EQ(w.text(18), "51");
    mouseRelease(w.button("Command27"));
    EXPECT_EQ(w.text(18), "52");
    EXPECT_EQ(w.text(11), " 2");
    EXPECT_EQ(w.text(17), " 610");
    mouseClick(w.button("Command26"));
    EXPECT_EQ(w.text(18), "51");
}

TEST(Repeat, AFaultDuringAHoldStopsTheRepeatBeforeTheMessage) {
    Window w;
    typeInto(w.form.box(Box::Text18), "1000");
    mouseClick(w.button("Command1"));
    typeInto(w.form.box(Box::Text3), "3E38");  // HP overflows at level 1001
    mousePress(w.button("Command27"), Qt::RightButton);
    ASSERT_EQ(runningTimers(w.form), QStringList{"Timer21"});
    tick(w.timer("Timer21"));
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    auto boxes = w.form.findChildren<QMessageBox*>("FaultMessage");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().contains("「气血」"));
    EXPECT_EQ(w.text(18), "1001");
    boxes[0]->close();
}

TEST(Repeat, StopsWhenTheReleaseCanNoLongerArrive) {
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

// When the pointer grab is lost while a button is held, the release may
// land elsewhere or nowhere: letting go of the last mouse button anywhere
// ends the repeat, and a tick with no button down ends it too.
TEST(Repeat, LostReleaseCannotLeaveARepeatRunning) {
    Window w;
    mousePress(w.button("Command7"));
    QMouseEvent elsewhere(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(w.form.box(Box::Text1), &elsewhere);
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    mouseRelease(w.button("Command7"));

    w.timer("Timer2")->start(100);  // a repeat whose release never came
    ASSERT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
    tick(w.timer("Timer2"));
    EXPECT_TRUE(runningTimers(w.form).isEmpty());
    EXPECT_EQ(w.text(11), " 1");  // the click's step only; the stray tick added nothing
}

// A real hold on the event loop: the timer ticks by itself and the release
// ends it. How many ticks fit into the wait is not asserted.
TEST(Repeat, TicksOnTheEventLoopUntilReleased) {
    Window w;
    mousePress(w.button("Command8"));  // constitution +5
    QElapsedTimer clock;
    clock.start();
    while (w.text(11) == " 0" && clock.elapsed() < 5000) QTest::qWait(20);
    EXPECT_NE(w.text(11), " 0");
    mouseRelease(w.button("Command8"), Qt::LeftButton, true);
    const QString after = w.text(11);
    QTest::qWait(250);
    EXPECT_EQ(w.text(11), after);
}

}  // namespace
}  // namespace petcalc::test
