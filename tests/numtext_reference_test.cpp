// The number text rules against the reference (numtext_reference.h), on
// random values: the portable conversions must not move a single character
// or bit. bench/numtext_compare_all.cpp does the same for every single.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
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

// Decimal texts of every shape the grammar takes: long mantissas (the slow
// path of a correctly rounded parse), leading zeros, exponents near the ends
// of the double range and far beyond it, signs, stray tails.
std::string randomDecimal(std::mt19937& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::string s;
    if (pick(3) == 0) s += pick(2) ? '-' : '+';
    s.append(static_cast<std::size_t>(pick(4) == 0 ? pick(30) : 0), '0');
    const int digits = pick(2) ? 1 + pick(9) : 1 + pick(40);
    const int point = pick(digits + 2);  // past the digits: no point
    for (int k = 0; k < digits; ++k) {
        if (k == point) s += '.';
        s += static_cast<char>('0' + pick(10));
    }
    if (pick(4) != 0) {
        s += pick(2) ? 'e' : 'E';
        if (pick(2)) s += pick(2) ? '-' : '+';
        static const int spans[] = {10, 40, 400, 1000, 100000};
        const int span = spans[pick(5)];
        s += std::to_string(span == 400 ? 280 + pick(60) : pick(span));  // 280..339: both ends of the range
        if (pick(20) == 0) s += "99999999999999999999";
    }
    if (pick(8) == 0) s += "x1";
    return s;
}

// The texts a correct rounding finds hardest: the exact midpoint between
// two neighbouring doubles (a tie, to even) and that midpoint cut to 20 or
// 30 digits (just off the tie). x86's long double holds the midpoint exactly.
std::string nearMidpoint(std::mt19937& rng) {
    static_assert(std::numeric_limits<long double>::digits >= 64);
    std::uint64_t bits;
    do bits = (std::uint64_t{rng()} << 32 | rng()) & 0x7fff'ffff'ffff'ffffu;
    while (bits >= 0x7fef'ffff'ffff'ffffu);  // finite, below the largest double
    const double d = std::bit_cast<double>(bits);
    const long double mid = (static_cast<long double>(d) + std::nextafter(d, 2 * d + 1)) / 2;
    static const int precisions[] = {19, 29, 800};
    char buf[1000];
    const auto r = std::to_chars(buf, buf + sizeof buf, mid, std::chars_format::scientific, precisions[rng() % 3]);
    return std::string(buf, r.ptr);
}

TEST(NumberTextAgainstReference, RandomDecimalTexts) {
    std::mt19937 rng(7);
    int bad = 0;
    for (int n = 0; n < 2'000'000 && bad < 5; ++n) {
        const std::string text = n % 10 == 0 ? nearMidpoint(rng) : randomDecimal(rng);
        if (!sameBits(parseNumber(text), reference::parseNumber(text))) {
            ADD_FAILURE() << '"' << text << "\" reads as " << parseNumber(text) << ", the reference "
                          << reference::parseNumber(text);
            ++bad;
        }
    }
}

}  // namespace
}  // namespace petcalc
