#include "petsheet.h"

#include <cstring>

namespace petcalc {

// memcpy, not std::bit_cast: the page's toolchain ships an older library.
std::uint32_t bitsOf(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

float fromBits(std::uint32_t bits) {
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

bool PetSheet::operator==(const PetSheet& o) const {
    for (float PetSheet::*m : kVarMember)
        if (bitsOf(this->*m) != bitsOf(o.*m)) return false;
    return true;
}

std::string_view varName(Var v) {
    static constexpr std::array<std::string_view, 24> kNames = {
        "qn", "flv", "cz", "hp", "tz", "tl", "lv", "GZ", "LL", "SH", "fz", "FL",
        "MZ", "ml", "nl", "mj", "MP", "fy", "sd", "lli", "zbgj", "zbfy", "zbsd", "zbll"};
    return kNames[static_cast<int>(v)];
}

std::string_view boxCaption(Box b) {
    static constexpr std::array<std::string_view, kBoxCount + 1> kCaptions = {
        "",
        "攻击资质", "防御资质", "体力资质", "法力资质", "敏捷资质",   // Text1 .. Text5
        "气血", "魔法", "攻击", "防御", "速度",                       // Text6 .. Text10
        "体质", "魔力", "力量", "耐力", "敏捷",                       // Text11 .. Text15
        "灵力", "潜能", "等级", "成长",                               // Text16 .. Text19
        "装备攻击", "装备防御", "装备速度", "装备灵力"};              // Text20 .. Text23
    return kCaptions[boxNumber(b)];
}

float PetSheet::*inputOf(Box b) {
    using P = PetSheet;
    static constexpr std::array<float P::*, kBoxCount + 1> kInputs = {
        nullptr,
        &P::GZ, &P::fz, &P::tl, &P::FL, &P::MZ,          // Text1 .. Text5
        &P::hp, nullptr, nullptr, nullptr, nullptr,      // Text6 .. Text10
        &P::tz, &P::ml, &P::LL, &P::nl, &P::mj,          // Text11 .. Text15
        nullptr, nullptr, &P::lv, &P::cz,                // Text16 .. Text19
        &P::zbgj, &P::zbfy, &P::zbsd, &P::zbll};         // Text20 .. Text23
    return kInputs[boxNumber(b)];
}

const AttrInfo& attrInfo(Attr a) {
    static const std::array<AttrInfo, 5> kAttrs = {{
        {&PetSheet::tz, Var::tz, Box::Text11, "体质"},
        {&PetSheet::ml, Var::ml, Box::Text12, "魔力"},
        {&PetSheet::LL, Var::LL, Box::Text13, "力量"},
        {&PetSheet::nl, Var::nl, Box::Text14, "耐力"},
        {&PetSheet::mj, Var::mj, Box::Text15, "敏捷"},
    }};
    return kAttrs[static_cast<int>(a)];
}

}  // namespace petcalc
