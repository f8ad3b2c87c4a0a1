#pragma once
// The panel formulas. Each is evaluated in double, operation by operation
// in the order written (a + b + c is (a + b) + c), with the fractional
// constants as doubles; the caller stores the result by store rounding.
// The order is binding: the rounding of every intermediate depends on it.
// c1 .. c8 are the check values (0 or 1) of the skill boxes.

#include "petsheet.h"

namespace petcalc {

// Potential: each level is worth 10 points, level 0 has 100; the five
// counts are taken off one by one.
double potentialFormula(const PetSheet& s);

// Attack. "确定" and the live recompute add the equipment bonus after 65.5
// and before the skill terms; the level changes add it last. Both orders are
// kept: they can differ in the last digit.
double attackFormula(const PetSheet& s, int c3, int c4, bool equipmentLast);
double hpFormula(const PetSheet& s, int c1, int c2);
double mpFormula(const PetSheet& s);
// Defense, with the same two places for the equipment bonus as attack.
double defenseFormula(const PetSheet& s, int c5, int c6, bool equipmentLast);
double speedFormula(const PetSheet& s, int c7, int c8);
double spiritFormula(const PetSheet& s);

// The level shift of one point count: the count and the level are summed
// first (in the operand order given), then the anchor level is taken off.
inline double shiftCount(float first, float second, float flv) {
    return (double(first) + double(second)) - double(flv);
}

}  // namespace petcalc
