// The growth table window as Qt makes it: one top-level window however
// often it is asked for, its place and size, and a fresh text each time it
// opens.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "driver.h"
#include "form2.h"

namespace petcalc::test {
namespace {

TEST(GrowthTable, OneWindowReopenedWithItsText) {
    ui::Form1 form1;
    form1.show();
    QWidget* button = form1.findChild<QWidget*>("Command25");
    EXPECT_EQ(form1.growthTable(), nullptr);  // not made at start
    for (int i = 0; i < 3; ++i) mouseClick(button);
    const auto forms = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(forms.begin(), forms.end(), [](QWidget* w) { return w->objectName() == "Form2"; }), 1);
    ui::Form2* f2 = form1.growthTable();
    ASSERT_NE(f2, nullptr);
    EXPECT_EQ(f2->windowTitle(), "BB成长列表");
    EXPECT_EQ(f2->size(), QSize(352, 424));
    EXPECT_EQ(f2->parent(), nullptr);
    EXPECT_EQ(f2->text1()->geometry(), QRect(16, 24, 337, 393));
    EXPECT_EQ(f2->text1()->toPlainText().count('\n'), 33);

    QTest::keyClicks(f2->text1(), "scribble");  // nothing reads it
    f2->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form1.growthTable(), nullptr);
    mouseClick(button);
    ASSERT_NE(form1.growthTable(), nullptr);
    EXPECT_FALSE(form1.growthTable()->text1()->toPlainText().contains("scribble"));
    form1.growthTable()->close();
}

}  // namespace
}  // namespace petcalc::test
