#include "windowtable.h"

#include <algorithm>
#include <array>

namespace petcalc {

namespace {
constexpr Kind B = Kind::Button, L = Kind::Label, T = Kind::TextBox, C = Kind::CheckBox;

// name, kind, caption, left, top, width, height, tab, accessible name
constexpr std::array<ControlRow, 87> kControls = {{
    {"Command2", B, "到目标等级", 1440, 120, 1095, 375, 39, "到目标等级"},
    {"Label21", L, "", 2520, 120, 615, 135, 67, ""},
    {"Label19", L, "成长", 5160, 360, 375, 255, 38, "成长"},
    {"Text19", T, "", 5640, 360, 855, 270, 11, "成长"},
    {"Command4", B, "计算成长", 6600, 360, 975, 375, 41, "计算成长"},
    {"Command1", B, "确定", 7560, 360, 735, 375, 37, "确定"},
    {"Command27", B, "↑", 2160, 480, 375, 255, 69, "等级 ↑"},
    {"Label18", L, "等级", 1080, 600, 375, 255, 36, "等级"},
    {"Text18", T, "", 1560, 600, 615, 270, 12, "等级"},
    {"Command25", B, "成长表", 5160, 600, 375, 615, 86, "成长表"},
    {"Command26", B, "↓", 2160, 720, 375, 255, 68, "等级 ↓"},
    {"Label22", L, "强壮I", 120, 960, 495, 255, 72, "强壮I"},
    {"Check1", C, "", 840, 960, 255, 255, 70, "强壮I"},
    {"Command5", B, "-1", 4440, 960, 375, 255, 47, "体质 -1"},
    {"Command7", B, "+1", 4800, 960, 375, 255, 49, "体质 +1"},
    {"Label11", L, "气血", 1080, 1080, 495, 255, 28, "气血"},
    {"Text6", T, "", 1560, 1080, 855, 270, 13, "气血"},
    {"Label1", L, "体质", 3360, 1080, 375, 255, 18, "体质"},
    {"Text11", T, "", 3840, 1080, 615, 270, 5, "体质"},
    {"Label6", L, " 攻击资质", 5640, 1080, 975, 255, 23, "攻击资质"},
    {"Text1", T, "", 6600, 1080, 1335, 270, 0, "攻击资质"},
    {"Label23", L, "强壮II", 120, 1200, 615, 255, 73, "强壮II"},
    {"Check2", C, "", 840, 1200, 255, 255, 71, "强壮II"},
    {"Command6", B, "-5", 4440, 1200, 375, 255, 48, "体质 -5"},
    {"Command8", B, "+5", 4800, 1200, 375, 255, 50, "体质 +5"},
    {"Command9", B, "-1", 4440, 1560, 375, 255, 51, "魔力 -1"},
    {"Command11", B, "+1", 4800, 1560, 375, 255, 53, "魔力 +1"},
    {"Label12", L, "魔法", 1080, 1680, 495, 255, 29, "魔法"},
    {"Text7", T, "", 1560, 1680, 855, 270, 14, "魔法"},
    {"Label2", L, "魔力", 3360, 1680, 375, 255, 19, "魔力"},
    {"Text12", T, "", 3840, 1680, 615, 270, 6, "魔力"},
    {"Label7", L, "防御资质", 5760, 1680, 735, 255, 24, "防御资质"},
    {"Text2", T, "", 6600, 1680, 1335, 270, 1, "防御资质"},
    {"Command10", B, "-5", 4440, 1800, 375, 255, 52, "魔力 -5"},
    {"Command12", B, "+5", 4800, 1800, 375, 255, 54, "魔力 +5"},
    {"Label20", L, "装备", 2640, 2040, 735, 375, 46, "装备"},
    {"Label24", L, "强力I", 120, 2280, 615, 255, 74, "强力I"},
    {"Check3", C, "", 840, 2280, 255, 180, 75, "强力I"},
    {"Command13", B, "-1", 4440, 2280, 375, 255, 55, "力量 -1"},
    {"Command15", B, "+1", 4800, 2280, 375, 255, 57, "力量 +1"},
    {"Label13", L, "攻击", 1080, 2400, 615, 255, 30, "攻击"},
    {"Text8", T, "", 1560, 2400, 855, 270, 15, "攻击"},
    {"Text20", T, "", 2520, 2400, 615, 270, 42, "装备攻击"},
    {"Label3", L, "力量", 3360, 2400, 375, 255, 20, "力量"},
    {"Text13", T, "", 3840, 2400, 615, 270, 7, "力量"},
    {"Label8", L, "体力资质", 5760, 2400, 735, 255, 25, "体力资质"},
    {"Text3", T, "", 6600, 2400, 1335, 270, 2, "体力资质"},
    {"Label26", L, "强力II", 120, 2520, 735, 255, 80, "强力II"},
    {"Check4", C, "", 840, 2520, 255, 255, 76, "强力II"},
    {"Command14", B, "-5", 4440, 2520, 375, 255, 56, "力量 -5"},
    {"Command16", B, "+5", 4800, 2520, 375, 255, 58, "力量 +5"},
    {"Label27", L, "防御I", 120, 2880, 495, 255, 81, "防御I"},
    {"Check5", C, "", 840, 2880, 255, 255, 77, "防御I"},
    {"Command17", B, "-1", 4440, 2880, 375, 255, 59, "耐力 -1"},
    {"Command19", B, "+1", 4800, 2880, 375, 255, 61, "耐力 +1"},
    {"Label14", L, "防御", 1080, 3000, 615, 255, 31, "防御"},
    {"Text9", T, "", 1560, 3000, 855, 270, 16, "防御"},
    {"Text21", T, "", 2520, 3000, 615, 270, 43, "装备防御"},
    {"Label4", L, "耐力", 3360, 3000, 375, 255, 21, "耐力"},
    {"Text14", T, "", 3840, 3000, 615, 270, 8, "耐力"},
    {"Label9", L, "法力资质", 5760, 3000, 735, 255, 26, "法力资质"},
    {"Text4", T, "", 6600, 3000, 1335, 270, 3, "法力资质"},
    {"Label25", L, "防御II", 120, 3120, 615, 255, 79, "防御II"},
    {"Check6", C, "", 840, 3120, 255, 255, 78, "防御II"},
    {"Command18", B, "-5", 4440, 3120, 375, 255, 60, "耐力 -5"},
    {"Command20", B, "+5", 4800, 3120, 375, 255, 62, "耐力 +5"},
    {"Label28", L, "敏捷I", 120, 3480, 495, 255, 84, "敏捷I"},
    {"Check7", C, "", 840, 3480, 255, 255, 82, "敏捷I"},
    {"Command21", B, "-1", 4440, 3480, 375, 255, 63, "敏捷 -1"},
    {"Command22", B, "+1", 4800, 3480, 375, 255, 64, "敏捷 +1"},
    {"Label15", L, "速度", 1080, 3600, 615, 255, 32, "速度"},
    {"Text10", T, "", 1560, 3600, 855, 270, 17, "速度"},
    {"Text22", T, "", 2520, 3600, 615, 270, 44, "装备速度"},
    {"Label5", L, "敏捷", 3360, 3600, 375, 255, 22, "敏捷"},
    {"Text15", T, "", 3840, 3600, 615, 270, 9, "敏捷"},
    {"Label10", L, "敏捷资质", 5760, 3600, 735, 255, 27, "敏捷资质"},
    {"Text5", T, "", 6600, 3600, 1335, 270, 4, "敏捷资质"},
    {"Label29", L, "敏捷II", 120, 3720, 615, 255, 85, "敏捷II"},
    {"Check8", C, "", 840, 3720, 255, 255, 83, "敏捷II"},
    {"Command23", B, "-5", 4440, 3720, 375, 255, 65, "敏捷 -5"},
    {"Command24", B, "+5", 4800, 3720, 375, 255, 66, "敏捷 +5"},
    {"Command3", B, "重置", 6840, 4080, 855, 375, 40, "重置"},
    {"Label16", L, "灵力", 1080, 4200, 375, 255, 34, "灵力"},
    {"Text16", T, "", 1560, 4200, 855, 270, 33, "灵力"},
    {"Text23", T, "", 2520, 4200, 615, 270, 45, "装备灵力"},
    {"Label17", L, "潜能", 3360, 4200, 375, 255, 35, "潜能"},
    {"Text17", T, "", 3840, 4200, 615, 270, 10, "潜能"},
}};

// The point step buttons and the level spin buttons: one pattern. The timers
// are numbered as wired: in some groups "+1" has the second timer, in others
// "-5" has it.
constexpr std::optional<Attr> kLevel;
constexpr std::array<RepeatRow, 22> kRepeat = {{
    {"Command5", 1, Attr::tz, -1},   {"Command7", 2, Attr::tz, +1},
    {"Command6", 3, Attr::tz, -5},   {"Command8", 4, Attr::tz, +5},
    {"Command9", 5, Attr::ml, -1},   {"Command11", 7, Attr::ml, +1},
    {"Command10", 6, Attr::ml, -5},  {"Command12", 8, Attr::ml, +5},
    {"Command13", 9, Attr::LL, -1},  {"Command15", 11, Attr::LL, +1},
    {"Command14", 10, Attr::LL, -5}, {"Command16", 12, Attr::LL, +5},
    {"Command17", 13, Attr::nl, -1}, {"Command19", 15, Attr::nl, +1},
    {"Command18", 14, Attr::nl, -5}, {"Command20", 16, Attr::nl, +5},
    {"Command21", 17, Attr::mj, -1}, {"Command22", 18, Attr::mj, +1},
    {"Command23", 19, Attr::mj, -5}, {"Command24", 20, Attr::mj, +5},
    {"Command27", 21, kLevel, +1}, {"Command26", 22, kLevel, -1},
}};
}  // namespace

std::span<const ControlRow> mainWindowControls() { return kControls; }
std::span<const RepeatRow> repeatButtons() { return kRepeat; }

const ControlRow* findControl(std::string_view name) {
    const auto it = std::find_if(kControls.begin(), kControls.end(), [&](const ControlRow& c) { return c.name == name; });
    return it == kControls.end() ? nullptr : &*it;
}

const RepeatRow* findRepeat(std::string_view button) {
    const auto it = std::find_if(kRepeat.begin(), kRepeat.end(), [&](const RepeatRow& r) { return r.button == button; });
    return it == kRepeat.end() ? nullptr : &*it;
}

int controlNumber(std::string_view name) {
    int n = 0, scale = 1;
    for (std::size_t i = name.size(); i > 0 && name[i - 1] >= '0' && name[i - 1] <= '9' && scale <= 100; --i, scale *= 10)
        n += (name[i - 1] - '0') * scale;
    return n;
}

bool isTall(const ControlRow& c) { return c.kind == Kind::Button && c.height > c.width; }

std::string shownCaption(const ControlRow& c) {
    if (!isTall(c)) return std::string(c.caption);
    std::string lines;
    for (std::size_t i = 0; i < c.caption.size(); ++i) {
        // A new line before each character but the first (UTF-8 lead bytes).
        if (i > 0 && (static_cast<unsigned char>(c.caption[i]) & 0xC0) != 0x80) lines += '\n';
        lines += c.caption[i];
    }
    return lines;
}

std::string timerName(int timer) { return "Timer" + std::to_string(timer); }

}  // namespace petcalc
