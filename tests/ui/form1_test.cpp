// Form1 through its real widgets: layout, wiring, worked examples, faults.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <map>

#include "appearance.h"
#include "windows.h"
#include "driver.h"

namespace petcalc::test {
namespace {

using ui::Form1;

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

struct Window {
    Window() {
        form.setAttribute(Qt::WA_DontShowOnScreen, false);
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }
    ~Window() { releaseAllButtons(form.findChild<QWidget*>("Command1")); }
    QLineEdit* box(int n) { return form.box(boxAt(n)); }
    QWidget* control(const char* name) { return form.findChild<QWidget*>(name); }
    void type(int n, const QString& t) { typeInto(box(n), t); }
    void click(const char* name) { mouseClick(control(name)); }
    Form1 form;
};

void typeFirstExample(Window& w) {
    const std::map<int, const char*> inputs = {{18, "100"}, {19, "1.2"}, {1, "1500"}, {2, "1400"}, {3, "4500"},
                                               {4, "2500"}, {5, "1300"}, {11, "120"}, {12, "120"}, {13, "620"},
                                               {14, "120"}, {15, "120"}, {20, "100"}, {21, "50"}, {22, "20"},
                                               {23, "30"}};
    for (auto [n, t] : inputs) w.type(n, t);
    setChecked(w.form.findChild<QCheckBox*>("Check1"), true);
    setChecked(w.form.findChild<QCheckBox*>("Check3"), true);
}

TEST(Form1Layout, EveryControlAtItsPlaceWithItsNames) {
    Window w;
    EXPECT_EQ(w.form.windowTitle(), "Form1");
    EXPECT_TRUE(w.form.windowIcon().availableSizes().contains(QSize(48, 48)));
    EXPECT_EQ(w.form.size(), QSize(555, 328));
    int count = 0;
    for (const ControlSpec& c : mainWindowControls()) {
        ++count;
        QWidget* x = w.form.findChild<QWidget*>(qs(c.name));
        ASSERT_NE(x, nullptr) << c.name;
        EXPECT_EQ(x->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15)) << c.name;
        EXPECT_EQ(x->accessibleDescription(), qs(c.name));
        if (c.kind == Kind::Button || c.kind == Kind::Label) {
            QString shown = qobject_cast<QAbstractButton*>(x) ? qobject_cast<QAbstractButton*>(x)->text()
                                                                     : qobject_cast<QLabel*>(x)->text();
            EXPECT_EQ(shown.remove('\n'), qs(c.caption)) << c.name;
        }
        if (c.name == "Label21") continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(x);
        ASSERT_NE(a, nullptr);
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << c.name;
    }
    EXPECT_EQ(count, 87);
    EXPECT_EQ(w.form.findChild<QLabel*>("Label6")->text(), " 攻击资质");
    EXPECT_EQ(w.control("Text20")->accessibleName(), "装备攻击");
    EXPECT_EQ(w.control("Command10")->accessibleName(), "魔力 -5");
    for (int n = 1; n <= 22; ++n) {
        auto* t = w.form.findChild<QTimer*>(QString("Timer%1").arg(n));
        ASSERT_NE(t, nullptr);
        EXPECT_FALSE(t->isActive());
        EXPECT_EQ(t->timerType(), Qt::PreciseTimer);
    }
    auto* label21 = w.form.findChild<QLabel*>("Label21");
    EXPECT_FALSE(label21->isEnabled());
    EXPECT_FALSE(label21->isVisible());
}

TEST(Form1Layout, FocusStartsInText1AndTabFollowsTheTabColumn) {
    Window w;
    QApplication::setActiveWindow(&w.form);
    EXPECT_EQ(QApplication::focusWidget(), w.box(1));
    std::vector<std::pair<int, std::string_view>> tabs;
    for (const ControlSpec& c : mainWindowControls())
        if (c.kind != Kind::Label) tabs.emplace_back(c.tab, c.name);
    std::sort(tabs.begin(), tabs.end());
    QWidget* at = w.box(1);
    for (std::size_t i = 1; i < tabs.size(); ++i) {
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        ASSERT_EQ(at->objectName(), qs(tabs[i].second)) << "after " << tabs[i - 1].second;
    }
}

TEST(Form1Wiring, WorkedExamplesThroughTheWidgets) {
    Window w;
    typeFirstExample(w);
    w.click("Command1");
    const std::map<int, const char*> shown = {{17, " 0"},      {6, " 4593.039"}, {7, " 2010"},
                                              {8, " 1479.5"},  {9, " 559.3334"}, {10, " 280.26"},
                                              {16, " 671.6"}};
    for (auto [n, t] : shown) EXPECT_EQ(w.box(n)->text(), t) << n;
    EXPECT_TRUE(w.form.liveRecompute());

    w.type(18, "105");
    w.click("Command2");
    const std::map<int, const char*> moved = {{11, " 125"}, {12, " 125"}, {13, " 625"}, {14, " 125"},
                                              {15, " 125"}, {17, " 25"},  {6, " 4836.993"}, {7, " 2110"},
                                              {8, " 1514"}, {9, " 583.2"}, {10, " 288.125"}, {16, " 691.25"}};
    for (auto [n, t] : moved) EXPECT_EQ(w.box(n)->text(), t) << n;
    // The results of the worked examples are fully visible in their boxes.
    for (const char* t : {" 4593.039", " 559.3334", " 4836.993", " 288.125"})
        EXPECT_LE(w.box(6)->fontMetrics().horizontalAdvance(t), ui::textRoom(w.box(6))) << t;
    for (int n : {6, 8, 9, 10, 16}) EXPECT_TRUE(w.box(n)->toolTip().isEmpty()) << n;
    // A value too wide for its box can still be read in full.
    w.type(17, "1.234568E+07");
    EXPECT_EQ(w.box(17)->toolTip(), "1.234568E+07");
}

TEST(Form1Wiring, TypingIntoAPointBoxRecomputesFromHeldCounts) {
    Window w;
    typeFirstExample(w);
    w.click("Command1");
    w.type(12, "200");
    EXPECT_EQ(w.box(6)->text(), " 4593.039");
    EXPECT_EQ(w.box(17)->text(), " 0");
    w.type(20, "0");  // an equipment edit reaches the panel at the next point change
    w.click("Command9");
    EXPECT_EQ(w.box(12)->text(), " 119");
    EXPECT_EQ(w.box(8)->text(), " 1379.5");
}

TEST(Form1Wiring, GrowthEstimateResetAndChecks) {
    Window w;
    w.type(6, "4361");
    w.type(18, "100");
    w.type(11, "500");
    w.type(3, "1500");
    w.click("Command4");
    EXPECT_EQ(w.box(19)->text(), " 1.252");
    setChecked(w.form.findChild<QCheckBox*>("Check2"), true);
    EXPECT_TRUE(w.form.isChecked(Check::Check2));  // a ticked box counts 1, not Qt's 2
    w.click("Command1");
    w.click("Command3");
    for (int n = 1; n <= 19; ++n) EXPECT_TRUE(w.box(n)->text().isEmpty()) << n;
    EXPECT_FALSE(w.form.liveRecompute());
    EXPECT_TRUE(w.form.isChecked(Check::Check2));
    w.type(11, "9");  // flag off: nothing follows
    EXPECT_TRUE(w.box(17)->text().isEmpty());
}

TEST(Form1Faults, OneMessageNamingTheBoxAndTheStateKept) {
    Window w;
    w.type(18, "100");
    w.type(3, "1E39");
    w.click("Command1");
    auto boxes = w.form.findChildren<QMessageBox*>("FaultMessage");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_TRUE(boxes[0]->text().contains("体力资质"));
    EXPECT_TRUE(w.box(17)->text().isEmpty());
    // A second fault while the message is open reuses it.
    w.form.reportFault(Fault{FaultKind::DivisionByZero, Op::EstimateGrowth, std::nullopt, Var::cz, std::nullopt});
    boxes = w.form.findChildren<QMessageBox*>("FaultMessage");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().contains("体质点数不能为 0"));
    boxes[0]->close();
}

}  // namespace
}  // namespace petcalc::test
