// Number parse on any bytes, against the C library's strtod on the same
// decimal prefix. The text is a view of exactly the fuzzer's buffer, with
// no terminator behind it, so AddressSanitizer sees any read past its end.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "numtext.h"

namespace {

[[noreturn]] void fail(std::string_view text, double got, const char* why, double want = 0) {
    std::fprintf(stderr, "parseNumber(\"%.*s\") = %.17g: %s (reference %.17g)\n", static_cast<int>(text.size()),
                 text.data(), got, why, want);
    std::abort();
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// "&H"/"&O": the run of digits of the base is a whole number. Runs of up to
// 53 bits must come out exact; longer ones close to it (the digits are
// accumulated in double), and infinite only past the double range.
void checkRadix(std::string_view text, std::string_view digits, int base, double got) {
    long double approx = 0;
    std::uint64_t exact = 0;
    bool exactFits = true;  // the run so far is below 2^53
    std::size_t n = 0;
    for (; n < digits.size() && digitValue(digits[n]) < base; ++n) {
        const int dv = digitValue(digits[n]);
        approx = approx * base + dv;
        if (exactFits) {
            exact = exact * static_cast<unsigned>(base) + static_cast<unsigned>(dv);
            exactFits = exact < (std::uint64_t{1} << 53);
        }
    }
    if (std::isnan(got) || got < 0) fail(text, got, "radix value negative or NaN");
    if (exactFits) {
        if (got != static_cast<double>(exact)) fail(text, got, "radix value not exact", static_cast<double>(exact));
        return;
    }
    const long double max = DBL_MAX;
    if (approx < max * (1 - 1e-12L)) {
        if (!std::isfinite(got)) fail(text, got, "radix value infinite within the double range");
        const long double rel = std::fabs((static_cast<long double>(got) - approx) / approx);
        if (rel > static_cast<long double>(n) * 0x1p-52L) fail(text, got, "radix value too far off");
    } else if (approx > max * (1 + 1e-12L) && !std::isinf(got)) {
        fail(text, got, "radix value finite beyond the double range");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double got = petcalc::parseNumber(text);
    if (std::isnan(got)) fail(text, got, "NaN");
    const float stored = petcalc::storeRound(got);
    if (std::isnan(stored)) fail(text, got, "NaN after the store");

    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        checkRadix(text, std::string_view(s).substr(2), s[1] == 'H' || s[1] == 'h' ? 16 : 8, got);
        return 0;
    }

    // The longest prefix [+-]digits[.digits][(E|e)[+-]digits].
    std::size_t i = 0, digits = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDigit(s[i]); ++i) ++digits;
    if (digits == 0) {
        if (got != 0) fail(text, got, "a text without digits is not 0");
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) ++j;
            i = j;
        }
    }
    const std::string prefix = s.substr(0, i);
    char* end = nullptr;
    errno = 0;
    const double want = std::strtod(prefix.c_str(), &end);
    if (end != prefix.c_str() + prefix.size()) fail(text, got, "reference did not read the whole prefix", want);
    if (std::isinf(want)) {
        if (got != want) fail(text, got, "not the infinity of a text beyond the double range", want);
    } else if (std::fabs(want) < DBL_MIN) {
        // Below the normal range: the program may flush to zero; every
        // single there is 0 anyway.
        if (got != want && got != 0) fail(text, got, "wrong tiny value", want);
    } else if (got != want) {
        fail(text, got, "not the correctly rounded double", want);
    }
    if (std::isinf(got) && std::isfinite(want)) fail(text, got, "infinite within the double range", want);
    return 0;
}
