#include "numtext.h"

// One code path for every target: the C++ libraries of some of them lack the
// floating-point std::from_chars and std::to_chars.
#include <fast_float/fast_float.h>
#include <fmt/compile.h>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace petcalc {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

// "&H1F", "&o17": every digit of the base that follows, as a whole number.
// A value past 2^53 is rounded as it accumulates; past the double range it
// reads as infinity, which the store then reports as an overflow.
double parseRadix(std::string_view s, int base) {
    double v = 0;
    for (char c : s) {
        const int dv = digitValue(c, base);
        if (dv < 0) break;
        v = v * base + dv;
    }
    return v;
}

}  // namespace

double parseNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);

    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return parseRadix(std::string_view(s).substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return parseRadix(std::string_view(s).substr(2), 8);
    }

    // The longest prefix of the form [+-]digits[.digits][(E|e)[+-]digits].
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) ++j;
            i = j;
        }
    }

    // Correctly rounded for any number of digits and any exponent; a value
    // beyond the double range comes back as infinity, one below it as 0
    // (fast_float reports neither as an error). It takes no leading sign:
    // the sign is put back afterwards.
    double v = 0;
    fast_float::from_chars(s.data() + start, s.data() + i, v, fast_float::chars_format::general);
    return negative ? -v : v;
}

namespace {

// Seven significant digits of |v| and the power of ten of the first one,
// correctly rounded (exact ties to even).
struct Digits {
    char d[7];
    int count;  // significant digits left after dropping trailing zeros
    int exponent;
};

Digits sevenDigits(double magnitude) {
    char buf[32];
    // {fmt} without the "L" flag ignores the locale.
    const auto r = fmt::format_to_n(buf, sizeof buf, FMT_COMPILE("{:.6e}"), magnitude);
    // buf holds "d.dddddde+XX".
    Digits out{};
    out.d[0] = buf[0];
    for (int k = 1; k < 7; ++k) out.d[k] = buf[k + 1];
    out.count = 7;
    while (out.count > 1 && out.d[out.count - 1] == '0') --out.count;
    std::from_chars(buf + 10, r.out, out.exponent);
    if (buf[9] == '-') out.exponent = -out.exponent;
    return out;
}

std::string format(float value, bool compact) {
    if (value == 0) return compact ? "0" : " 0";
    const bool negative = std::signbit(value);
    std::string out = negative ? "-" : (compact ? "" : " ");
    if (std::isnan(value)) return out + "NaN";
    if (std::isinf(value)) return out + "Inf";

    const Digits g = sevenDigits(std::fabs(static_cast<double>(value)));
    if (g.exponent < -4 || g.exponent >= 7) {
        out += g.d[0];
        if (g.count > 1) {
            out += '.';
            out.append(g.d + 1, g.count - 1);
        }
        out += 'E';
        out += g.exponent < 0 ? '-' : '+';
        const int e = std::abs(g.exponent);
        if (e < 10) out += '0';
        out += std::to_string(e);
        return out;
    }
    if (g.exponent < 0) {
        if (compact) out += '0';
        out += '.';
        out.append(static_cast<std::size_t>(-g.exponent - 1), '0');
        out.append(g.d, g.count);
        return out;
    }
    const int intDigits = g.exponent + 1;
    for (int k = 0; k < intDigits; ++k) out += k < g.count ? g.d[k] : '0';
    if (g.count > intDigits) {
        out += '.';
        out.append(g.d + intDigits, g.count - intDigits);
    }
    return out;
}

}  // namespace

std::string displayFormat(float v) { return format(v, false); }
std::string compactFormat(float v) { return format(v, true); }

}  // namespace petcalc
