#include "form2.h"

#include <QPlainTextEdit>
#include <QStringList>

#include "appearance.h"

namespace petcalc::ui {

namespace {

// The names in the help text are our own. The groups are listed as the text
// lays them out, group 6 above group 5; each line keeps its exact blanks.
struct Group {
    const char* lead;    // a blank before the names, or nothing
    const char* names;   // the species, separated by blanks
    const char* values;  // the growth values that follow on the same line
};
constexpr Group kGroups[11] = {
    {"", "云角兽 霜翼龙", "  1.215 1.227  1.24 1.252 1.264 "},
    {"", "赤焰狐 青鳞蛟 紫电豹 玄甲龟 银鬃狼 金羽鹰", " 1.205 1.217 "},
    {"", "岩背熊 雾影猫 珊瑚鲸 风铃鹿 星斑蛇", "   1.195 1.207 "},
    {"", "铁喙鹫", "  1.185 1.197 1.21 1.222 1.234"},
    {"", "竹叶蛙 泥沼鳄 石纹蜥", " 1.156 1.168 1.18 1.191 1.203 "},
    {"", "月光兔 夜影枭 雪绒貂", "        1.176 1.188 1.2 1.212 1.224"},
    {"", "火尾鼠 沙丘蝎", "1.137 1.148 1.16 1.171 1.183 "},
    {" ", "藤蔓精 蘑菇童", "   1.127 1.138 1.15 1.161 1.173 "},
    {"", "草原羊 河岸狸 稻田鸭 山涧鲤", "1.107 1.118 1.13 1.141 1.152 "},
    {" ", "铜铃鸡 木桩猴 灰尘鸽 软壳蟹", " 1.097 1.108 1.12 1.131 1.142 "},
    {" ", "小泡泡", "  1.078 1.089 1.1 1.111 1.122 "},
};
constexpr const char* kAdvancedClass = "星辉灵宠";  // growth rises with each advancement
constexpr const char* kFixedClass = "守护神兽";     // growth fixed at 1.23
constexpr const char* kOrdinary = "野生小宠";       // the pets not worth listing
constexpr const char* kExampleGroup3 = "岩背熊";
constexpr const char* kExampleGroup2 = "赤焰狐";

QString groupLine(int n) {
    const Group& g = kGroups[n - 1];
    return QString(g.lead) + g.names + g.values;
}

}  // namespace

const QString& growthTableText() {
    static const QString text = [] {
        const QStringList lines = {
            "算出的成长如不在该BB的5个成长之中,请手动将成长修改成最",
            "接近的一个.",
            QString("比如,算出%1成长为1.252,修改成1.244;算出%2成长为").arg(kExampleGroup3, kExampleGroup2),
            "1.232,修改成1.23.",
            QString("%1进阶前为1.23,进阶1次,1.24,进阶2次后是1.25").arg(kAdvancedClass),
            QString("%1固定是1.23").arg(kFixedClass),
            "",
            groupLine(1),
            "",
            groupLine(2),
            " ",
            "1.23 ",
            "1.242 1.254 ",
            "",
            groupLine(3),
            "1.22 1.232 1.244",
            "",
            groupLine(4),
            "",
            groupLine(5),
            "",
            groupLine(6),
            "",
            groupLine(7),
            "",
            groupLine(8),
            "",
            groupLine(9),
            "",
            groupLine(10),
            "",
            groupLine(11),
            "",
            QString("其他%1不列了.").arg(kOrdinary),
        };
        QString all;
        for (const QString& l : lines) all += l + "\r\n";
        return all;
    }();
    return text;
}

Form2::Form2(QWidget* parent) : QWidget(parent), m_text1(new QPlainTextEdit(this)) {
    setObjectName("Form2");
    setWindowTitle("BB成长列表");
    setWindowIcon(appIcon());
    resize(352, 424);
    m_text1->setObjectName("text1");
    m_text1->setAccessibleName("成长列表");
    m_text1->setAccessibleDescription("text1");
    // The box's right edge lies a pixel past the client area, as laid out.
    m_text1->setGeometry(16, 24, 337, 393);
    m_text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The widget keeps lines, not line ends: CR LF becomes one break each.
    QString shown = growthTableText();
    shown.replace("\r\n", "\n");
    shown.chop(1);
    m_text1->setPlainText(shown);
    m_text1->setFocus(Qt::OtherFocusReason);
}

}  // namespace petcalc::ui
