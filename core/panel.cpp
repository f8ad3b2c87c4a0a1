#include "panel.h"

namespace petcalc {

namespace {
// Every single enters a formula exactly, as a double.
double d(float v) { return static_cast<double>(v); }
}  // namespace

double potentialFormula(const PetSheet& s) {
    return d(s.lv) * 10 + 100 - d(s.tz) - d(s.ml) - d(s.LL) - d(s.nl) - d(s.mj);
}

double attackFormula(const PetSheet& s, int c3, int c4, bool equipmentLast) {
    const double base = (d(s.cz) * 10 + 14) * (d(s.GZ) * d(s.lv)) / 7500 + d(s.cz) * d(s.LL) + 65.5;
    const double power1 = c3 * d(s.lv) * 0.5;
    const double power2 = c4 * d(s.lv) * 0.7;
    if (equipmentLast) return base + power1 + power2 + d(s.zbgj);
    return base + d(s.zbgj) + power1 + power2;
}

double hpFormula(const PetSheet& s, int c1, int c2) {
    return d(s.lv) * d(s.tl) * (d(s.lv) * 1.5 + 1025) / 147000 + (d(s.tz) * 5 * d(s.cz) + 50) + 1.1 +
           (d(s.lv) * 2 + 25) * c1 + (d(s.lv) * 3 + 50) * c2;
}

double mpFormula(const PetSheet& s) { return d(s.lv) * 20 + 10; }

double defenseFormula(const PetSheet& s, int c5, int c6, bool equipmentLast) {
    const double base = (19.0 / 3 * d(s.cz) + 9.4) * (d(s.fz) * d(s.lv)) / 7500 + d(s.nl) * d(s.cz) * 4 / 3;
    const double defense1 = c5 * d(s.lv) * 0.6;
    const double defense2 = c6 * d(s.lv) * 0.8;
    if (equipmentLast) return base + defense1 + defense2 + d(s.zbfy);
    return base + d(s.zbfy) + defense1 + defense2;
}

double speedFormula(const PetSheet& s, int c7, int c8) {
    return ((d(s.tz) + d(s.ml) + d(s.nl) + d(s.LL)) / 10 + d(s.mj) * 0.7) * (d(s.cz) / 2 + 0.5) * d(s.MZ) / 1000 *
               (c7 * 0.1 + 1 + c8 * 0.2) +
           d(s.zbsd);
}

double spiritFormula(const PetSheet& s) {
    return ((d(s.nl) + d(s.tz)) * 0.1 + d(s.LL) * 0.4 + d(s.ml) * 0.7) * (d(s.cz) / 2 + 0.5) +
           d(s.FL) * d(s.lv) / 1000 + d(s.zbll);
}

}  // namespace petcalc
