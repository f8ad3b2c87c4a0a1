// The intermediate values of the first worked example, formula by formula:
// a wrong operand order shows here before it shows in a box.
#include <gtest/gtest.h>

#include "panel.h"

namespace petcalc {
namespace {

PetSheet firstExample() {
    PetSheet s;
    s.lv = 100;
    s.cz = 1.2f;
    s.GZ = 1500;
    s.fz = 1400;
    s.tl = 4500;
    s.FL = 2500;
    s.MZ = 1300;
    s.tz = s.ml = s.nl = s.mj = 120;
    s.LL = 620;
    s.zbgj = 100;
    s.zbfy = 50;
    s.zbsd = 20;
    s.zbll = 30;
    return s;
}

TEST(PanelFormulas, FirstWorkedExampleStoredValues) {
    const PetSheet s = firstExample();
    EXPECT_EQ(float(potentialFormula(s)), 0.0f);
    EXPECT_EQ(float(attackFormula(s, 1, 0, false)), 1479.5f);
    EXPECT_EQ(float(hpFormula(s, 1, 0)), 4593.0386f);
    EXPECT_EQ(float(mpFormula(s)), 2010.0f);
    EXPECT_EQ(float(defenseFormula(s, 0, 0, false)), 559.33337f);
    EXPECT_EQ(float(speedFormula(s, 0, 0)), 280.26001f);
    EXPECT_EQ(float(spiritFormula(s)), 671.60004f);
    // The intermediate terms, as doubles, to the digits given.
    PetSheet noEquipment = s;
    noEquipment.zbsd = noEquipment.zbll = 0;
    EXPECT_NEAR(speedFormula(noEquipment, 0, 0), 260.26001, 5e-6);
    EXPECT_NEAR(spiritFormula(noEquipment) - 250, 391.60001, 5e-6);
}

TEST(PanelFormulas, LevelShiftSumsBeforeSubtracting) {
    // (1 + 2^24) - 2^24 is 0 in single but 1 in double: the sum is a double.
    EXPECT_EQ(shiftCount(1.0f, 16777216.0f, 16777216.0f), 1.0);
}

}  // namespace
}  // namespace petcalc
