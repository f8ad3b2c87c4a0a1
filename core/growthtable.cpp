// The growth table's help text. The species and class names are our own;
// the groups stand as the text lays them out (group 6 above group 5), and
// every line keeps its exact blanks.

#include <string>

#include "windowtable.h"

namespace petcalc {

namespace {

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

std::string group(int n) {
    const Group& g = kGroups[n - 1];
    return std::string(g.lead) + g.names + g.values;
}

}  // namespace

const std::string& growthTableText() {
    static const std::string text = [] {
        const std::string lines[] = {
            "算出的成长如不在该BB的5个成长之中,请手动将成长修改成最",
            "接近的一个.",
            std::string("比如,算出") + kExampleGroup3 + "成长为1.252,修改成1.244;算出" + kExampleGroup2 + "成长为",
            "1.232,修改成1.23.",
            std::string(kAdvancedClass) + "进阶前为1.23,进阶1次,1.24,进阶2次后是1.25",
            std::string(kFixedClass) + "固定是1.23",
            "",
            group(1),
            "",
            group(2),
            " ",
            "1.23 ",
            "1.242 1.254 ",
            "",
            group(3),
            "1.22 1.232 1.244",
            "",
            group(4),
            "",
            group(5),
            "",
            group(6),
            "",
            group(7),
            "",
            group(8),
            "",
            group(9),
            "",
            group(10),
            "",
            group(11),
            "",
            std::string("其他") + kOrdinary + "不列了.",
        };
        std::string all;
        for (const std::string& l : lines) all += l + "\r\n";
        return all;
    }();
    return text;
}

}  // namespace petcalc
