#pragma once
// The pet sheet: one pet's inputs and results while the main window is open.
// Every value is a single; formulas are evaluated in double and rounded to
// single when stored (see panel.h). The members keep the declaration order of
// the original sheet, which is also the order of the Var enumeration.

#include <array>
#include <cstdint>
#include <string_view>

namespace petcalc {

struct PetSheet {
    float qn = 0;    // unspent potential points (out: Text17)
    float flv = 0;   // anchor level: the level the point counts belong to
    float cz = 0;    // growth (Text19)
    float hp = 0;    // HP (out: Text6; in for the growth estimate)
    float tz = 0;    // constitution points (Text11)
    float tl = 0;    // stamina aptitude (Text3)
    float lv = 0;    // level (Text18)
    float GZ = 0;    // attack aptitude (Text1)
    float LL = 0;    // strength points (Text13)
    float SH = 0;    // attack (out: Text8)
    float fz = 0;    // defense aptitude (Text2)
    float FL = 0;    // mana aptitude (Text4)
    float MZ = 0;    // agility aptitude (Text5)
    float ml = 0;    // magic points (Text12)
    float nl = 0;    // endurance points (Text14)
    float mj = 0;    // agility points (Text15)
    float MP = 0;    // MP (out: Text7)
    float fy = 0;    // defense (out: Text9)
    float sd = 0;    // speed (out: Text10)
    float lli = 0;   // spirit (out: Text16)
    float zbgj = 0;  // equipment attack bonus (Text20)
    float zbfy = 0;  // equipment defense bonus (Text21)
    float zbsd = 0;  // equipment speed bonus (Text22)
    float zbll = 0;  // equipment spirit bonus (Text23)

    // Bit for bit, as a saved pet keeps it: -0 is not 0, and a NaN equals
    // itself. The one meaning of "the same sheet" (PetState's compares so too).
    bool operator==(const PetSheet& o) const;
};

std::uint32_t bitsOf(float v);
float fromBits(std::uint32_t bits);

// Names a sheet variable, for fault reports and tests.
enum class Var {
    qn, flv, cz, hp, tz, tl, lv, GZ, LL, SH, fz, FL, MZ,
    ml, nl, mj, MP, fy, sd, lli, zbgj, zbfy, zbsd, zbll
};

inline constexpr std::array<float PetSheet::*, 24> kVarMember = {
    &PetSheet::qn, &PetSheet::flv, &PetSheet::cz, &PetSheet::hp, &PetSheet::tz,
    &PetSheet::tl, &PetSheet::lv, &PetSheet::GZ, &PetSheet::LL, &PetSheet::SH,
    &PetSheet::fz, &PetSheet::FL, &PetSheet::MZ, &PetSheet::ml, &PetSheet::nl,
    &PetSheet::mj, &PetSheet::MP, &PetSheet::fy, &PetSheet::sd, &PetSheet::lli,
    &PetSheet::zbgj, &PetSheet::zbfy, &PetSheet::zbsd, &PetSheet::zbll};

inline float& at(PetSheet& s, Var v) { return s.*kVarMember[static_cast<int>(v)]; }
inline float at(const PetSheet& s, Var v) { return s.*kVarMember[static_cast<int>(v)]; }

std::string_view varName(Var v);

// The text boxes of the main window, by number (Text1 .. Text23).
enum class Box {
    Text1 = 1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
    Text11, Text12, Text13, Text14, Text15, Text16, Text17, Text18, Text19,
    Text20, Text21, Text22, Text23
};
inline constexpr int kBoxCount = 23;
inline constexpr int boxNumber(Box b) { return static_cast<int>(b); }
inline constexpr Box boxAt(int n) { return static_cast<Box>(n); }
// The point boxes carry the live recompute on their text-changed event.
inline constexpr bool isPointBox(Box b) { return b >= Box::Text11 && b <= Box::Text15; }

// The caption of the label that names a box ("等级", "气血", ...); the four
// equipment boxes have no label of their own and are named "装备攻击" etc.
std::string_view boxCaption(Box b);

// The sheet variable a box is read into (Text1 -> GZ, Text18 -> lv, ...);
// null for the boxes no operation reads (Text7 .. Text10, Text16, Text17).
float PetSheet::*inputOf(Box b);

// The skill check boxes (Check1 .. Check8); each counts 0 or 1 in a formula.
enum class Check { Check1 = 1, Check2, Check3, Check4, Check5, Check6, Check7, Check8 };

// The five attributes that take points, each with its variable and box.
enum class Attr { tz, ml, LL, nl, mj };
struct AttrInfo {
    float PetSheet::*member;
    Var var;
    Box box;
    std::string_view caption;  // "体质", ...
};
const AttrInfo& attrInfo(Attr a);

}  // namespace petcalc
