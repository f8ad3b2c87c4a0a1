// Growth estimation and the arithmetic fault rule.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "fake_form.h"
#include "growth.h"

namespace petcalc::test {
namespace {

using B = Box;

std::string estimate(const char* hp, const char* lv = "100", const char* tz = "500", const char* tl = "1500") {
    FakeForm f;
    f.type(B::Text6, hp);
    f.type(B::Text18, lv);
    f.type(B::Text11, tz);
    f.type(B::Text3, tl);
    f.engine.estimateGrowth();
    EXPECT_TRUE(f.faults.empty());
    return f[B::Text19];
}

TEST(Growth, EstimatesAndSnapsUp) {
    EXPECT_EQ(estimate("4359"), " 1.244");
    EXPECT_EQ(estimate("4360"), " 1.244");
    EXPECT_EQ(estimate("4361"), " 1.252");
    EXPECT_EQ(estimate("4360.08"), " 1.252");  // computed 1.2440002, just above the rung
    EXPECT_EQ(estimate(""), " 1.076");         // a negative quotient
}

TEST(Growth, RoundTripThroughOk) {
    FakeForm f;
    for (auto [b, t] : {std::pair{B::Text18, "100"}, {B::Text3, "1500"}, {B::Text11, "500"}, {B::Text19, "1.244"}})
        f.type(b, t);
    f.engine.ok();
    EXPECT_EQ(f[B::Text6], " 4360.08");
    f.engine.estimateGrowth();
    EXPECT_EQ(f[B::Text19], " 1.252");
    EXPECT_EQ(f[B::Text6], " 4360.08");  // the HP box keeps what it held
}

TEST(Growth, LadderRungs) {
    struct Row {
        float in, out;
    } rows[] = {{1.1f, 1.107f}, {1.25f, 1.252f}, {1.0f, 1.076f}, {1.26f, 1.264f}, {1.3f, 1.264f},
                {1.264f, 1.264f}, {1.254f, 1.254f}, {1.2540001f, 1.264f}, {-5.0f, 1.076f}, {1.0760001f, 1.089f}};
    for (auto r : rows) EXPECT_EQ(snapGrowth(r.in), r.out) << r.in;
    for (float g : kGrowthLadder) EXPECT_EQ(snapGrowth(g), g);
    // Every value lands on the ladder, and on the smallest rung not below it.
    const std::set<float> ladder(kGrowthLadder.begin(), kGrowthLadder.end());
    for (float x = 1.0f; x < 1.3f; x = std::nextafter(x, 2.0f)) {
        const float g = snapGrowth(x);
        ASSERT_TRUE(ladder.count(g)) << x;
        if (x <= 1.264f) {
            ASSERT_GE(g, x);
            auto below = ladder.lower_bound(g);
            if (below != ladder.begin()) {
                ASSERT_LT(*std::prev(below), x) << x;
            }
        }
    }
}

TEST(Growth, StrongSkillsAreTakenOff) {
    FakeForm f;
    for (auto [b, t] : {std::pair{B::Text18, "100"}, {B::Text3, "1500"}, {B::Text11, "500"}, {B::Text19, "1.2"}})
        f.type(b, t);
    f.check(Check::Check1);
    f.check(Check::Check2);
    f.engine.ok();
    f.engine.estimateGrowth();
    EXPECT_EQ(f[B::Text19], " 1.203");  // 1.2 computed back as a hair above 1.2
}

TEST(Faults, ConstitutionZeroInGrowth) {
    FakeForm f;
    f.type(B::Text6, "4000");
    f.type(B::Text18, "100");
    f.type(B::Text19, " 1.2");
    f.engine.estimateGrowth();
    ASSERT_EQ(f.faults.size(), 1u);
    EXPECT_EQ(f.faults[0].kind, FaultKind::DivisionByZero);
    EXPECT_EQ(f.faults[0].var, Var::cz);
    EXPECT_EQ(f[B::Text19], " 1.2");
    EXPECT_NE(faultMessage(f.faults[0]).find("体质点数不能为 0"), std::string::npos);
    EXPECT_EQ(f.engine.sheet().lv, 100);  // the reads before the fault stay

    // 0 / 0: the HP exactly cancels the other terms.
    FakeForm g;
    g.type(B::Text6, "57");
    g.type(B::Text18, "5");
    g.type(B::Text3, "168");
    g.engine.estimateGrowth();
    ASSERT_EQ(g.faults.size(), 1u);
    EXPECT_EQ(g.faults[0].kind, FaultKind::InvalidOperation);
}

TEST(Faults, OverflowAtARead) {
    FakeForm f;
    typeFirstExample(f);
    f.type(B::Text3, "1E39");
    f.engine.ok();
    ASSERT_EQ(f.faults.size(), 1u);
    EXPECT_EQ(f.faults[0], (Fault{FaultKind::Overflow, Op::Ok, B::Text3, std::nullopt, std::nullopt}));
    EXPECT_TRUE(f.liveRecompute());   // turned on before the reads
    EXPECT_EQ(f[B::Text17], "");      // nothing shown
    EXPECT_EQ(f.engine.sheet().lv, 100);
    EXPECT_EQ(f.engine.sheet().tl, 0);  // the faulting read stores nothing
    EXPECT_NE(faultMessage(f.faults[0]).find("体力资质"), std::string::npos);

    f.type(B::Text3, "-1E39");
    f.engine.ok();
    EXPECT_EQ(f.faults.size(), 2u);
    f.type(B::Text18, "1000");
    f.type(B::Text3, "3.4028235E38");  // the largest single: no fault here...
    f.faults.clear();
    f.engine.ok();
    ASSERT_EQ(f.faults.size(), 1u);  // ...but HP overflows
    EXPECT_EQ(f.faults[0].var, Var::hp);
    EXPECT_EQ(f[B::Text17], " 9000");  // potential shown before the panel
    EXPECT_EQ(f[B::Text6], "");     // the panel boxes keep their text
}

TEST(Faults, OverflowInTheLevelShift) {
    FakeForm f;
    f.type(B::Text11, "3E38");
    f.type(B::Text12, "3E38");
    f.engine.ok();
    f.faults.clear();
    f.type(B::Text18, "1E38");
    f.engine.toTargetLevel();
    ASSERT_EQ(f.faults.size(), 1u);
    EXPECT_EQ(f.faults[0].kind, FaultKind::Overflow);
    EXPECT_EQ(f.faults[0].var, Var::tz);
    EXPECT_EQ(f[B::Text11], "3E38");  // every box unchanged
    EXPECT_EQ(f.engine.sheet().flv, 0);
}

TEST(Faults, NestedRecomputeFaultStopsTheOuterActionAndReportsOnce) {
    FakeForm f;
    f.type(B::Text18, "1000");
    f.engine.ok();
    f.type(B::Text3, "3E38");  // HP overflows at level 1001
    f.writes.clear();
    f.engine.levelStep(+1);
    ASSERT_EQ(f.faults.size(), 1u);
    EXPECT_EQ(f.faults[0].op, Op::LevelUp);
    EXPECT_EQ(f.faults[0].var, Var::hp);
    // Stopped inside the first point box write: the other four are untouched.
    EXPECT_EQ(f.writes, (std::vector<Box>{B::Text18, B::Text17, B::Text11, B::Text17}));
    EXPECT_EQ(f[B::Text12], "");

    // The same fault on its own: the user typed into a point box.
    f.faults.clear();
    f.type(B::Text15, "4");
    ASSERT_EQ(f.faults.size(), 1u);
    EXPECT_EQ(f.faults[0].op, Op::LiveRecompute);
}

TEST(Faults, MessagesAreChineseAndNameTheBox) {
    const Fault read{FaultKind::Overflow, Op::ToTargetLevel, B::Text18, std::nullopt, std::nullopt};
    EXPECT_NE(faultMessage(read).find("「到目标等级」"), std::string::npos);
    EXPECT_NE(faultMessage(read).find("「等级」"), std::string::npos);
    const Fault step{FaultKind::Overflow, Op::PointStep, std::nullopt, Var::sd, Attr::mj};
    EXPECT_NE(faultMessage(step).find("敏捷"), std::string::npos);
    EXPECT_NE(faultMessage(step).find("「速度」"), std::string::npos);
}

}  // namespace
}  // namespace petcalc::test
