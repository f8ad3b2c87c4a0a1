// What no box shows in a few cases: every single near the ladder through
// the snap, and the growth table's text against the estimate's ladder.
// (Every single through the number text rules: fuzz/every_single.cpp.)
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "growth.h"
#include "numtext.h"
#include "pointer.h"
#include "views.h"
#include "windowtable.h"

namespace petcalc {
namespace {

// Every single from 1 to 1.3 lands on the ladder, on the smallest rung not
// below it (the top rung above 1.264).
TEST(Exhaustive, EverySingleSnapsToTheNextRungUp) {
    const std::set<float> ladder(kGrowthLadder.begin(), kGrowthLadder.end());
    for (float x = 1.0f; x < 1.3f; x = std::nextafter(x, 2.0f)) {
        const float g = snapGrowth(x);
        const auto up = ladder.lower_bound(x);
        ASSERT_EQ(g, up == ladder.end() ? 1.264f : *up) << x;
    }
}

// 34 lines, each ended by CR LF, ASCII punctuation; the 55 values of the
// eleven groups are the ladder's but for 1.078 and 1.1, where the ladder
// has 1.076 and 1.11.
TEST(GrowthTable, TextAndTheLadder) {
    const std::string& text = growthTableText();
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_TRUE(text.ends_with("\r\n"));
    for (const char* wide : {"，", "；", "。"}) EXPECT_EQ(text.find(wide), std::string::npos) << wide;
    EXPECT_TRUE(lines[3].starts_with("1.232,"));
    EXPECT_TRUE(lines[33].starts_with("其他") && lines[33].ends_with("不列了."));
    std::set<float> listed;
    for (std::size_t i = 7; i < 32; ++i)
        for (std::size_t at = 0; (at = lines[i].find("1.", at)) != std::string::npos;) {
            const std::size_t end = lines[i].find_first_not_of("0123456789", at + 2);
            listed.insert(storeRound(parseNumber(lines[i].substr(at, end - at))));
            at = end;
        }
    std::set<float> want(kGrowthLadder.begin(), kGrowthLadder.end());
    want.erase(1.076f);
    want.erase(1.11f);
    want.insert({1.078f, 1.1f});
    EXPECT_EQ(listed, want);
}

// What no scenario can say, since the protocol refuses it: a window
// system that lost a release sends a second press of the same button. The
// hold whose release was lost ends, and the new press starts afresh where
// it went.
TEST(Pointer, APressOfAButtonDownAlreadyEndsTheHoldWhoseReleaseWasLost) {
    struct Heard : PointerTarget {
        std::string log;
        void press(std::string_view c) override { log += "press " + std::string(c) + "; "; }
        void release(std::string_view c) override { log += "release " + std::string(c) + "; "; }
        void click(std::string_view c) override { log += "click " + std::string(c) + "; "; }
        void stopRepeats() override { log += "stop; "; }
    } heard;
    Pointer pointer(heard);
    pointer.down("Command7", MouseButton::Left, true);
    pointer.down("Command5", MouseButton::Left, true);
    pointer.up("Command5", MouseButton::Left, true);
    EXPECT_EQ(heard.log, "press Command7; stop; press Command5; stop; release Command5; click Command5; ");
}

}  // namespace
}  // namespace petcalc

// A heading sorts the pets table: a value from the largest, again the other
// way, a name from the first; empty rows last either way, equal rows in the
// list's order.
TEST(PetsTable, SortsByAColumnAndBackEmptyRowsLast) {
    using petcalc::PetColumn;
    const auto row = [](float hp) {
        petcalc::PetRow r;
        r.cells.fill("x"), r.values[1] = hp;
        return r;
    };
    const std::vector<petcalc::PetRow> rows = {row(5), {}, row(9), row(5)};
    const std::vector<std::string> names = {"b", "a", "d", "c"};
    petcalc::Pets p;
    const auto order = [&] { return petcalc::sortedOrder(names, rows, p.sort); };
    EXPECT_EQ(order(), (std::vector<std::size_t>{0, 1, 2, 3}));
    petcalc::sortPets(p, PetColumn::Hp);
    EXPECT_EQ(order(), (std::vector<std::size_t>{2, 0, 3, 1}));
    petcalc::sortPets(p, PetColumn::Hp);
    EXPECT_EQ(order(), (std::vector<std::size_t>{0, 3, 2, 1}));
    petcalc::sortPets(p, PetColumn::Name);
    EXPECT_EQ(order(), (std::vector<std::size_t>{1, 0, 3, 2}));
}
