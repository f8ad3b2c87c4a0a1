// The operations of the main window through a form that re-enters like the
// real one: worked examples digit for digit, orders of writes, nesting.
#include <gtest/gtest.h>

#include <map>

#include "fake_form.h"

namespace petcalc::test {
namespace {

using B = Box;

using Texts = std::map<Box, std::string>;

void expectTexts(const FakeForm& f, const Texts& want) {
    for (const auto& [b, t] : want) EXPECT_EQ(f[b], t) << "Text" << boxNumber(b);
}

const Texts kFirstExample = {{B::Text17, " 0"},      {B::Text6, " 4593.039"}, {B::Text7, " 2010"},
                             {B::Text8, " 1479.5"},  {B::Text9, " 559.3334"}, {B::Text10, " 280.26"},
                             {B::Text16, " 671.6"}};

TEST(Ok, FirstWorkedExample) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    expectTexts(f, kFirstExample);
    const PetSheet& s = f.engine.sheet();
    EXPECT_EQ(s.hp, 4593.0386f);
    EXPECT_EQ(s.fy, 559.33337f);
    EXPECT_EQ(s.sd, 280.26001f);
    EXPECT_EQ(s.lli, 671.60004f);
    EXPECT_EQ(s.cz, 1.2f);
    EXPECT_EQ(s.flv, 100);
    EXPECT_TRUE(f.liveRecompute());
    EXPECT_TRUE(f.faults.empty());
    // Potential first, then the six panel boxes in their order; no point box.
    EXPECT_EQ(f.writes, (std::vector<Box>{B::Text17, B::Text6, B::Text7, B::Text8, B::Text9, B::Text10, B::Text16}));
    // A second press without edits shows the same.
    f.engine.ok();
    expectTexts(f, kFirstExample);
}

TEST(Ok, SecondWorkedExample) {
    FakeForm f;
    const std::pair<Box, const char*> inputs[] = {{B::Text18, "45"},  {B::Text19, "1.1"}, {B::Text1, "1200"},
                                                  {B::Text2, "1300"}, {B::Text3, "3000"}, {B::Text4, "2000"},
                                                  {B::Text5, "1100"}, {B::Text11, "65"},  {B::Text12, "65"},
                                                  {B::Text13, "65"},  {B::Text14, "65"},  {B::Text15, "65"}};
    for (auto [b, t] : inputs) f.type(b, t);
    for (Check c : {Check::Check2, Check::Check4, Check::Check5, Check::Check6, Check::Check7, Check::Check8})
        f.check(c);
    f.engine.ok();
    expectTexts(f, {{B::Text17, " 225"},
                    {B::Text6, " 1596.916"},
                    {B::Text7, " 910"},
                    {B::Text8, " 348.5"},
                    {B::Text9, " 285.9933"},
                    {B::Text10, " 107.3573"},
                    {B::Text16, " 178.725"}});
}

TEST(Ok, EdgeCases) {
    FakeForm empty;
    empty.engine.ok();
    expectTexts(empty, {{B::Text17, " 100"}, {B::Text6, " 51.1"}, {B::Text7, " 10"}, {B::Text8, " 65.5"},
                        {B::Text9, " 0"}, {B::Text10, " 0"}, {B::Text16, " 0"}});

    FakeForm f;
    typeFirstExample(f);
    f.check(Check::Check1, false);  // Strong I adds 2 x 100 + 25
    f.type(B::Text12, "125");      // five points too many
    f.type(B::Text4, "9999");      // MP ignores mana aptitude and magic
    f.engine.ok();
    expectTexts(f, {{B::Text6, " 4368.039"}, {B::Text17, "-5"}, {B::Text7, " 2010"}});

    FakeForm speed;  // Agility I and II multiply by 1.3; equipment added unmultiplied
    for (auto [b, t] : {std::pair{B::Text18, "10"}, {B::Text19, "1"}, {B::Text5, "1000"}, {B::Text15, "100"},
                        {B::Text22, "7"}})
        speed.type(b, t);
    speed.check(Check::Check7);
    speed.check(Check::Check8);
    speed.engine.ok();
    EXPECT_EQ(speed[B::Text10], " 98");  // 70 x 1 x 1000 / 1000 x 1.3 + 7

    FakeForm frac;
    frac.type(B::Text18, "0.5");
    frac.engine.ok();
    EXPECT_EQ(frac[B::Text7], " 20");
    frac.type(B::Text18, "-1");
    frac.engine.ok();
    EXPECT_EQ(frac[B::Text7], "-10");
}

TEST(LiveRecompute, FollowsPointStepsOnlyAfterOk) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.pointStep(Attr::tz, +1);  // flag off: only the point box
    EXPECT_EQ(f[B::Text11], " 1");
    EXPECT_EQ(f[B::Text17], "");

    f.type(B::Text11, "120");
    f.engine.ok();
    f.writes.clear();
    f.engine.pointStep(Attr::tz, +1);
    EXPECT_EQ(f[B::Text11], " 121");
    EXPECT_EQ(f[B::Text17], "-1");
    EXPECT_EQ(f[B::Text6], " 4599.039");  // + 5 x 1.2
    EXPECT_EQ(f.writes, (std::vector<Box>{B::Text11, B::Text17, B::Text6, B::Text7, B::Text8, B::Text9, B::Text10,
                                          B::Text16}));
}

TEST(LiveRecompute, UsesHeldCountsNotTypedOnes) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    f.type(B::Text11, "200");  // recomputes from the held 120
    expectTexts(f, kFirstExample);
    f.engine.pointStep(Attr::tz, +1);  // steps the held count, not the typed one
    EXPECT_EQ(f[B::Text11], " 121");

    // A new level typed, then a step: the panel is at the new level with the
    // held counts, and the new level becomes the anchor.
    f.type(B::Text18, "50");
    f.type(B::Text20, "0");
    f.engine.pointStep(Attr::ml, -1);
    EXPECT_EQ(f.engine.sheet().flv, 50);
    EXPECT_EQ(f[B::Text7], " 1010");
    EXPECT_EQ(f.engine.sheet().zbgj, 0);
}

TEST(ToTargetLevel, WorkedExampleAndRepeats) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    f.type(B::Text18, "105");
    f.engine.toTargetLevel();
    expectTexts(f, {{B::Text11, " 125"},
                    {B::Text12, " 125"},
                    {B::Text13, " 625"},
                    {B::Text14, " 125"},
                    {B::Text15, " 125"},
                    {B::Text17, " 25"},
                    {B::Text6, " 4836.993"},
                    {B::Text7, " 2110"},
                    {B::Text8, " 1514"},
                    {B::Text9, " 583.2"},
                    {B::Text10, " 288.125"},
                    {B::Text16, " 691.25"},
                    {B::Text18, "105"}});
    EXPECT_EQ(f.engine.sheet().flv, 105);

    const auto before = f.engine.sheet();
    f.engine.toTargetLevel();  // nothing moves the second time
    EXPECT_EQ(f.engine.sheet(), before);
    EXPECT_EQ(f[B::Text11], " 125");

    f.type(B::Text18, "95");
    f.engine.toTargetLevel();
    expectTexts(f, {{B::Text11, " 115"}, {B::Text13, " 615"}, {B::Text17, "-25"}});
}

TEST(ToTargetLevel, WritesInOrderWithOneNestedRunPerChangedBox) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    f.type(B::Text18, "101");
    f.writes.clear();
    f.engine.toTargetLevel();
    const std::vector<Box> nested = {B::Text17, B::Text6, B::Text7, B::Text8, B::Text9, B::Text10, B::Text16};
    std::vector<Box> want = {B::Text17};
    for (Box p : {B::Text11, B::Text12, B::Text13, B::Text14, B::Text15}) {
        want.push_back(p);
        want.insert(want.end(), nested.begin(), nested.end());
    }
    want.insert(want.end(), nested.begin() + 1, nested.end());
    EXPECT_EQ(f.writes, want);
}

TEST(ToTargetLevel, AtStartAndAfterReset) {
    FakeForm f;
    f.type(B::Text18, "50");
    f.type(B::Text20, "999");  // not read: nothing has loaded equipment yet
    f.engine.toTargetLevel();
    expectTexts(f, {{B::Text11, " 50"}, {B::Text15, " 50"}, {B::Text17, " 350"}, {B::Text8, " 65.5"}});

    typeFirstExample(f);
    f.engine.ok();
    f.engine.reset();
    f.type(B::Text18, "50");
    f.engine.toTargetLevel();
    expectTexts(f, {{B::Text11, " 50"}, {B::Text14, " 50"}, {B::Text17, " 350"}});
}

TEST(ToTargetLevel, EquipmentEditedAfterOkIsPickedUpByNestedRun) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    f.type(B::Text20, "0");
    f.type(B::Text18, "105");
    f.engine.toTargetLevel();
    EXPECT_EQ(f[B::Text8], " 1414");
}

TEST(LevelStep, AtStart) {
    FakeForm up;
    up.engine.levelStep(+1);
    expectTexts(up, {{B::Text18, "1"}, {B::Text11, " 1"}, {B::Text12, " 1"}, {B::Text13, " 1"}, {B::Text14, " 1"},
                     {B::Text15, " 1"}, {B::Text17, " 105"}, {B::Text6, " 51.1"}, {B::Text7, " 30"},
                     {B::Text8, " 65.5"}, {B::Text9, " 0"}, {B::Text10, " 0"}, {B::Text16, " .65"}});
    FakeForm down;
    down.engine.levelStep(-1);
    expectTexts(down, {{B::Text18, "-1"}, {B::Text11, "-1"}, {B::Text15, "-1"}, {B::Text17, " 95"},
                       {B::Text6, " 51.1"}, {B::Text7, "-10"}, {B::Text8, " 65.5"}, {B::Text16, "-.65"}});
    EXPECT_TRUE(down.faults.empty());
}

TEST(LevelStep, PressShowsHeldLevelAndStepMovesEachCountByOne) {
    FakeForm f;
    f.type(B::Text18, "50");
    f.engine.ok();
    f.type(B::Text18, "60");
    f.engine.levelPress();
    EXPECT_EQ(f[B::Text18], " 50");
    f.engine.levelStep(+1);
    expectTexts(f, {{B::Text18, "51"}, {B::Text11, " 1"}, {B::Text17, " 605"}});
    f.engine.levelPress();
    EXPECT_EQ(f[B::Text18], " 51");

    FakeForm frac;
    frac.type(B::Text18, "50.5");
    frac.engine.ok();
    frac.engine.levelStep(-1);
    EXPECT_EQ(frac[B::Text18], "49.5");
}

TEST(LevelStep, ShiftCountsFromAnchorNotFromLevelBeforeStep) {
    FakeForm f;
    f.type(B::Text18, "50");
    f.type(B::Text11, "5");
    f.engine.ok();
    f.type(B::Text18, "60");
    f.engine.estimateGrowth();  // reads the level box into lv, leaves flv at 50
    f.engine.levelPress();
    EXPECT_EQ(f[B::Text18], " 60");
    f.engine.levelStep(+1);
    expectTexts(f, {{B::Text18, "61"}, {B::Text11, " 16"}, {B::Text12, " 11"}});
}

TEST(LevelStep, AfterResetUsesTicksAndEquipmentLastLoaded) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    f.engine.reset();
    f.type(B::Text20, "0");  // flag off: not read by the step
    f.engine.levelStep(+1);
    // Power I ticked: 65.5 + 0.5 + equipment 100 loaded by the earlier "确定".
    expectTexts(f, {{B::Text18, "1"}, {B::Text11, " 1"}, {B::Text17, " 105"}, {B::Text8, " 166"},
                    {B::Text6, " 78.1"}, {B::Text20, "0"}});
}

TEST(PointStep, PressRewritesBoxAndStepsHeldValue) {
    FakeForm f;
    f.type(B::Text11, "10");
    f.engine.ok();
    f.type(B::Text11, "50");
    f.engine.pointPress(Attr::tz);
    EXPECT_EQ(f[B::Text11], " 10");
    f.engine.pointStep(Attr::tz, +1);
    EXPECT_EQ(f[B::Text11], " 11");
    f.writes.clear();
    f.engine.pointPress(Attr::tz);  // same text: no event, no recompute
    EXPECT_EQ(f.writes, std::vector<Box>{B::Text11});

    f.type(B::Text14, "3");
    f.engine.ok();
    f.engine.pointStep(Attr::nl, -5);
    EXPECT_EQ(f[B::Text14], "-2");
    f.engine.pointStep(Attr::nl, -5);
    EXPECT_EQ(f[B::Text14], "-7");

    f.type(B::Text15, "10.5");
    f.engine.ok();
    f.engine.pointStep(Attr::mj, +1);
    EXPECT_EQ(f[B::Text15], " 11.5");
}

TEST(Reset, ClearsAllButEquipmentAndSkills) {
    FakeForm f;
    typeFirstExample(f);
    f.engine.ok();
    f.writes.clear();
    f.engine.reset();
    for (int n = 1; n <= 19; ++n) EXPECT_EQ(f[boxAt(n)], "") << n;
    expectTexts(f, {{B::Text20, "100"}, {B::Text21, "50"}, {B::Text22, "20"}, {B::Text23, "30"}});
    EXPECT_TRUE(f.isChecked(Check::Check1));
    EXPECT_FALSE(f.liveRecompute());
    EXPECT_EQ(f.writes.size(), 19u);  // no nested recompute
    EXPECT_EQ(f.writes[13], B::Text15);
    const PetSheet s = f.engine.sheet();
    EXPECT_EQ(s.lv, 0);
    EXPECT_EQ(s.flv, 0);
    EXPECT_EQ(s.zbgj, 100);
    EXPECT_EQ(s.hp, 4593.0386f);  // results keep their values; their boxes are empty

    f.type(B::Text11, "7");
    EXPECT_EQ(f[B::Text17], "");
    f.engine.pointStep(Attr::ml, -1);
    EXPECT_EQ(f[B::Text12], "-1");
    f.engine.reset();
    f.engine.reset();
    EXPECT_EQ(f.engine.sheet(), (PetSheet{.hp = s.hp, .SH = s.SH, .MP = s.MP, .fy = s.fy, .sd = s.sd, .lli = s.lli,
                                          .zbgj = 100, .zbfy = 50, .zbsd = 20, .zbll = 30}));
}

}  // namespace
}  // namespace petcalc::test
