// Form1 through its real widgets: the tab order, and the fault message box.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

#include "fault.h"
#include "windowtable.h"
#include "driver.h"

namespace petcalc::test {
namespace {

using ui::Form1;

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

struct Window {
    Window() {
        form.setAttribute(Qt::WA_DontShowOnScreen, false);
        form.show();
        (void)waitExposed(&form);
    }
    ~Window() { releaseAllButtons(form.findChild<QWidget*>("Command1")); }
    QLineEdit* box(int n) { return form.box(boxAt(n)); }
    QWidget* control(const char* name) { return form.findChild<QWidget*>(name); }
    void type(int n, const QString& t) { typeInto(box(n), t); }
    void click(const char* name) { mouseClick(control(name)); }
    Form1 form;
};

TEST(Form1Layout, FocusStartsInText1AndTabFollowsTheTabColumn) {
    Window w;
    QApplication::setActiveWindow(&w.form);
    EXPECT_EQ(QApplication::focusWidget(), w.box(1));
    std::vector<std::pair<int, std::string_view>> tabs;
    for (const ControlRow& c : mainWindowControls())
        if (c.kind != Kind::Label) tabs.emplace_back(c.tab, c.name);
    std::sort(tabs.begin(), tabs.end());
    QWidget* at = w.box(1);
    for (std::size_t i = 1; i < tabs.size(); ++i) {
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        ASSERT_EQ(at->objectName(), qs(tabs[i].second)) << "after " << tabs[i - 1].second;
    }
}

// The message box itself, which the replay tool takes over: one at a
// time, over Form1, blocking it until it is closed.
TEST(Form1Faults, OneWindowModalMessageAtATime) {
    Window w;
    w.type(3, "1E39");
    w.click("Command1");
    auto boxes = w.form.findChildren<QMessageBox*>("FaultMessage");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_EQ(boxes[0]->windowModality(), Qt::WindowModal);
    EXPECT_EQ(boxes[0]->text(), qs(faultMessage({FaultKind::Overflow, Op::Ok, Box::Text3, {}, {}})));
    // A second fault while the message is open reuses it.
    w.form.reportFault(Fault{FaultKind::DivisionByZero, Op::EstimateGrowth, std::nullopt, Var::cz, std::nullopt});
    boxes = w.form.findChildren<QMessageBox*>("FaultMessage");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().contains("体质点数不能为 0"));
    boxes[0]->close();
}

// Form1 may go while shown, a button perhaps held (the session ends and the
// event loop returns): its teardown hides the buttons, and each reports its
// hide as a lost release while the window is half gone.
TEST(Form1Lifetime, DeletedWhileShownWithAButtonHeld) {
    auto* form = new Form1;
    form->show();
    ASSERT_TRUE(waitExposed(form));
    mousePress(form->findChild<QWidget*>("Command7"));
    ASSERT_EQ(runningTimers(*form), QStringList{"Timer2"});
    delete form;
    Window next;  // lets go of the button the deleted window held
}

}  // namespace
}  // namespace petcalc::test
