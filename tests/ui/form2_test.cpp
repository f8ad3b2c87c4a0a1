// The growth table window: its text and its life beside Form1.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <set>

#include "driver.h"
#include "form2.h"
#include "growth.h"

namespace petcalc::test {
namespace {

TEST(GrowthTable, ThirtyFourLinesAndTheLadderDifferences) {
    const QString text = QString::fromStdString(growthTableText());
    ASSERT_TRUE(text.endsWith("\r\n"));
    const QStringList lines = text.split("\r\n");
    ASSERT_EQ(lines.size(), 35);  // 34 lines and the empty rest after the last CR LF
    EXPECT_FALSE(text.contains(QRegularExpression("[，；。]")));  // ASCII punctuation only
    EXPECT_TRUE(lines[3].startsWith("1.232,"));
    EXPECT_TRUE(lines[33].startsWith("其他") && lines[33].endsWith("不列了."));
    // The 55 values of the eleven groups are the estimate's ladder, but
    // for 1.078 and 1.1 where the ladder has 1.076 and 1.11.
    std::set<float> listed;
    const QString groups = lines.mid(7, 25).join(' ');
    auto it = QRegularExpression("1\\.\\d+").globalMatch(groups);
    while (it.hasNext()) listed.insert(it.next().captured().toFloat());
    std::set<float> ladder(kGrowthLadder.begin(), kGrowthLadder.end());
    ladder.erase(1.076f);
    ladder.erase(1.11f);
    ladder.insert(1.078f);
    ladder.insert(1.1f);
    EXPECT_EQ(listed, ladder);
}

TEST(GrowthTable, OneWindowReopenedFreshAndIndependentOfForm1) {
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
    EXPECT_TRUE(f2->text1()->toPlainText().contains("scribble"));
    f2->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form1.growthTable(), nullptr);
    mouseClick(button);
    ASSERT_NE(form1.growthTable(), nullptr);
    EXPECT_TRUE(form1.growthTable()->text1()->toPlainText().startsWith("算出的成长"));

    // Closing Form1 leaves the table open: the program runs on.
    form1.close();
    EXPECT_TRUE(form1.growthTable()->isVisible());
    form1.growthTable()->close();
}

}  // namespace
}  // namespace petcalc::test
