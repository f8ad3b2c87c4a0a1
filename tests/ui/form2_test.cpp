// The growth table window as Qt makes it: a fresh text each time it opens
// (one window however often it is asked for, and its closing, are scenario
// data: tests/scenarios/windows.jsonl).
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "driver.h"
#include "form2.h"

namespace petcalc::test {
namespace {

TEST(GrowthTable, ReopenedWithItsText) {
    ui::Form1 form1;
    form1.show();
    QWidget* button = form1.findChild<QWidget*>("Command25");
    mouseClick(button);
    ui::Form2* f2 = form1.growthTable();
    ASSERT_NE(f2, nullptr);
    const QString text = f2->text1()->toPlainText();
    EXPECT_TRUE(text.contains("1.232"));
    QTest::keyClicks(f2->text1(), "scribble");  // nothing reads it
    f2->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form1.growthTable(), nullptr);
    mouseClick(button);
    ASSERT_NE(form1.growthTable(), nullptr);
    EXPECT_EQ(form1.growthTable()->text1()->toPlainText(), text);
    form1.growthTable()->close();
}

}  // namespace
}  // namespace petcalc::test
