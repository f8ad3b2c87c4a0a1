// What "确定" makes of texts that are not plain numbers: one row per kind,
// typed into one box of an otherwise complete pet. A text either reads as
// some number, and then the pet comes out exactly as if that number had
// been typed, or it reads beyond the single range, and then "确定" stops at
// that box and names it.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <limits>
#include <string>

#include "fake_form.h"
#include "numtext.h"

namespace petcalc::test {
namespace {

using B = Box;

struct Row {
    Box box;
    std::string text;
    float value;  // what the box's variable holds after "确定"
    bool overflow = false;
};

const std::string k400Digits = std::string(397, '0') + "100";

const Row kRows[] = {
    // Blanks are dropped wherever they stand; other spaces are text.
    {B::Text18, "", 0},
    {B::Text19, " 1 . 2 ", 1.2f},
    {B::Text13, "6 2\t0", 620},
    {B::Text1, "\u00a01500", 0},  // a no-break space, as pasted from a web page
    {B::Text2, "\u30001400", 0},  // the ideographic space of a Chinese input method
    // Hexadecimal and octal.
    {B::Text1, "&H5DC", 1500},
    {B::Text2, "&o2570", 1400},
    {B::Text3, "&H", 0},
    {B::Text5, "&HFFFFFFFF", 4294967296.0f},
    // A number, then something else: the rest is ignored.
    {B::Text11, "1,5", 1},
    {B::Text13, "12abc", 12},
    {B::Text12, "120点", 120},
    // Other notations read as 0, or as their leading "0".
    {B::Text3, "inf", 0},
    {B::Text4, "nan", 0},
    {B::Text5, "0x10", 0},
    {B::Text12, "１２０", 0},   // full-width digits
    {B::Text14, "－5", 0},      // full-width minus
    {B::Text14, "\u22125", 0},  // the typographic minus
    {B::Text14, "-", 0},
    {B::Text15, ".", 0},
    // Hundreds of digits.
    {B::Text18, k400Digits, 100},
    {B::Text19, "1." + std::string(400, '2'), 1.2222222f},
    {B::Text20, "0." + std::string(400, '0') + "1", 0},
    {B::Text21, "1" + std::string(399, '0'), 0, true},
    // The edges of the single range.
    {B::Text1, "3.4028235E38", std::numeric_limits<float>::max()},
    {B::Text1, "3.4028236E38", 0, true},
    {B::Text22, "1E39", 0, true},
    {B::Text23, "-1E39", 0, true},
    {B::Text4, "&H" + std::string(32, 'F'), 0, true},  // 2^128: a finite double, no single
    {B::Text5, "&H" + std::string(300, 'F'), 0, true},
    {B::Text20, "1e-46", 0},
    {B::Text21, "-1e-46", 0},
    {B::Text22, "1.4e-45", std::numeric_limits<float>::denorm_min()},
    // A text the program writes itself (for the singles 0x15ae43fd and
    // 0x15ae43fe): its nearest double lies exactly midway between the two,
    // so the store takes the even one, not the single nearest the decimal.
    {B::Text19, "7.038531E-26", std::bit_cast<float>(0x15ae43feu)},
};

// The shortest text that reads back as v.
std::string exactText(float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

constexpr Box kResults[] = {B::Text17, B::Text6, B::Text7, B::Text8, B::Text9, B::Text10, B::Text16};

TEST(BadInput, TypedIntoABoxThenOk) {
    for (const Row& r : kRows) {
        SCOPED_TRACE("Text" + std::to_string(boxNumber(r.box)) + " = \"" + r.text.substr(0, 40) + "\"");
        FakeForm f;
        typeFirstExample(f);
        f.type(r.box, r.text);
        f.engine.ok();
        const PetSheet& s = f.engine.sheet();
        EXPECT_EQ(f[r.box], r.text);  // input boxes are never rewritten by "确定"
        EXPECT_EQ(s.*inputOf(r.box), r.value);
        if (r.overflow) {
            ASSERT_EQ(f.faults.size(), 1u);
            EXPECT_EQ(f.faults[0], (Fault{FaultKind::Overflow, Op::Ok, r.box, std::nullopt, std::nullopt}));
            EXPECT_NE(faultMessage(f.faults[0]).find(boxCaption(r.box)), std::string::npos);
            for (Box b : kResults) EXPECT_EQ(f[b], "");  // stopped before the first result
            EXPECT_EQ(s.flv, 0);
            EXPECT_TRUE(f.liveRecompute());
            continue;
        }
        EXPECT_TRUE(f.faults.empty());
        // The same pet with the number typed plainly shows the same results.
        FakeForm plain;
        typeFirstExample(plain);
        plain.type(r.box, exactText(r.value));
        plain.engine.ok();
        EXPECT_EQ(plain.engine.sheet(), s);
        for (Box b : kResults) EXPECT_EQ(f[b], plain[b]) << "Text" << boxNumber(b);
    }
}

}  // namespace
}  // namespace petcalc::test
