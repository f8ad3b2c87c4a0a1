// The number text rules against the reference (numtext_reference.h), on
// random values: the portable conversions must not move a single character
// or bit. bench/numtext_compare_all.cpp does the same for every single.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "numtext.h"
#include "numtext_reference.h"

namespace petcalc {
namespace {

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// Bit patterns uniform over the finite singles, both signs: every binade,
// subnormals included, gets its share.
TEST(NumberTextAgainstReference, RandomSingles) {
    std::mt19937 rng(20261207);
    int bad = 0;
    for (int n = 0; n < 10'000'000 && bad < 5;) {
        const float v = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        if (!std::isfinite(v)) continue;
        ++n;
        const std::string display = displayFormat(v), compact = compactFormat(v);
        const bool same = display == reference::displayFormat(v) && compact == reference::compactFormat(v) &&
                          sameBits(parseNumber(display), reference::parseNumber(display)) &&
                          sameBits(parseNumber(compact), reference::parseNumber(compact));
        if (!same) {
            ADD_FAILURE() << std::hex << std::bit_cast<std::uint32_t>(v) << " shows as \"" << display << "\" / \""
                          << compact << "\", the reference \"" << reference::displayFormat(v) << "\"";
            ++bad;
        }
    }
}

}  // namespace
}  // namespace petcalc
