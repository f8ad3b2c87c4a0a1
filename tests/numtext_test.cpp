#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numtext.h"

namespace petcalc {
namespace {

struct ParseRow {
    const char* text;
    double value;
};

TEST(NumberParse, AcceptedGrammar) {
    const ParseRow rows[] = {
        {"", 0},          {" 120", 120},      {"1 2", 12},        {"12abc", 12},     {"abc", 0},
        {"1,5", 1},       {".5", 0.5},        {"-3", -3},         {"1.5E3", 1500},   {"1.5e+3", 1500},
        {"2e-2", 0.02},   {"+7", 7},          {"-.25", -0.25},    {"5.", 5},         {"1e", 1},
        {"1e+", 1},       {"1E5x", 1e5},      {"-", 0},           {".", 0},          {"+", 0},
        {"-.", 0},        {"\t4\n2 ", 42},    {"4\r2", 4},        {"inf", 0},        {"nan", 0},
        {"0x10", 0},      {"&H10", 16},       {"&hff", 255},      {"&O17", 15},      {"&o8", 0},
        {"&H", 0},        {"&Hx", 0},         {"& H10", 16},      {"-&H10", 0},      {"&HFFz", 255},
        {"&Q5", 0},       {"１２０", 0},      {"1２", 1},         {"00012", 12},     {"1.2.3", 1.2},
        {"1e1.5", 10},    {"3.4028235E38", 3.4028235e38},
    };
    for (const auto& r : rows) EXPECT_EQ(parseNumber(r.text), r.value) << '"' << r.text << '"';
}

TEST(NumberParse, ConvertsToDoubleFirstThenToSingle) {
    // 1.2 typed is held as the single nearest 1.2, reached through the double.
    EXPECT_EQ(storeRound(parseNumber("1.2")), 1.2f);
    // A decimal just above a halfway point between two singles: straight to
    // float it rounds up, through the nearest double it ties and goes to even.
    EXPECT_EQ(storeRound(parseNumber("1.00000005960464477539062500000000001")), 1.0f);
}

TEST(NumberParse, OutOfRangeTexts) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(parseNumber("1E39"), 1e39);
    EXPECT_TRUE(std::isinf(storeRound(parseNumber("1E39"))));
    EXPECT_TRUE(std::isinf(storeRound(parseNumber("-1E39"))));
    EXPECT_EQ(storeRound(parseNumber("3.4028235E38")), std::numeric_limits<float>::max());
    EXPECT_EQ(parseNumber("1e400"), inf);
    EXPECT_EQ(parseNumber("-1e99999999999999999999"), -inf);
    EXPECT_EQ(parseNumber("0.0000001e400"), inf);
    EXPECT_EQ(parseNumber("1e-400"), 0);
    EXPECT_EQ(parseNumber("123456e-330"), 0);
    EXPECT_EQ(parseNumber("0e99999"), 0);
    EXPECT_EQ(storeRound(parseNumber("1e-46")), 0.0f);
    EXPECT_EQ(parseNumber("&H" + std::string(300, 'F')), inf);
    EXPECT_EQ(parseNumber("1" + std::string(399, '0')), inf);
    EXPECT_EQ(parseNumber("0." + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(parseNumber(std::string(400, '9') + ".5e-390"), 1e10);
}

struct FormatRow {
    float value;
    const char* display;
    const char* compact;
};

TEST(Format, DisplayAndCompact) {
    const FormatRow rows[] = {
        {0, " 0", "0"},
        {-0.0f, " 0", "0"},
        {100, " 100", "100"},
        {51.1f, " 51.1", "51.1"},
        {4593.0386f, " 4593.039", "4593.039"},
        {0.5f, " .5", "0.5"},
        {-5, "-5", "-5"},
        {-0.25f, "-.25", "-0.25"},
        {25, " 25", "25"},
        {12345678, " 1.234568E+07", "1.234568E+07"},
        {12345685, " 1.234568E+07", "1.234568E+07"},  // exact tie: to even
        {12345675, " 1.234568E+07", "1.234568E+07"},  // exact tie: to even
        {9999999, " 9999999", "9999999"},
        {10000000, " 1E+07", "1E+07"},
        {9999999.5f, " 1E+07", "1E+07"},
        {0.0001f, " .0001", "0.0001"},
        {0.00001f, " 1E-05", "1E-05"},
        {-0.000012345f, "-1.2345E-05", "-1.2345E-05"},
        {9.9999996e-05f, " .0001", "0.0001"},
        {1.244f, " 1.244", "1.244"},
        {1.2f, " 1.2", "1.2"},
        {559.33337f, " 559.3334", "559.3334"},
        {std::numeric_limits<float>::max(), " 3.402823E+38", "3.402823E+38"},
        {-std::numeric_limits<float>::denorm_min(), "-1.401298E-45", "-1.401298E-45"},
        {1e30f, " 1E+30", "1E+30"},
        {123456.7f, " 123456.7", "123456.7"},
        {-1234567, "-1234567", "-1234567"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(displayFormat(r.value), r.display) << r.value;
        EXPECT_EQ(compactFormat(r.value), r.compact) << r.value;
    }
}

// Every whole number the boxes can show in fixed form comes back unchanged.
TEST(Format, WholeNumbersRoundTripExhaustively) {
    int bad = 0;
    for (int n = -9'999'999; n <= 9'999'999 && bad < 5; ++n) {
        const float v = static_cast<float>(n);
        if (storeRound(parseNumber(displayFormat(v))) != v || storeRound(parseNumber(compactFormat(v))) != v) {
            ADD_FAILURE() << n << " -> " << displayFormat(v);
            ++bad;
        }
    }
}

}  // namespace
}  // namespace petcalc
