#pragma once
// The number text rules as first written, on the C++ library's floating
// std::from_chars and std::to_chars (which not every target's library has):
// the reference that the portable conversions in core/numtext.cpp are
// compared with, value for value, on shown texts. Only the check programs
// use it.

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace petcalc::reference {

// The parse of a shown text, which is never a radix, never has a stray
// tail and never leaves the double range: from_chars after the blank.
inline double parseNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    double v = 0;
    if (first != std::string_view::npos) std::from_chars(text.data() + first, text.data() + text.size(), v);
    return v;
}

// Seven significant digits of |v| and the power of ten of the first one,
// correctly rounded (exact ties to even).
struct Digits {
    char d[7];
    int count;  // significant digits left after dropping trailing zeros
    int exponent;
};

inline Digits sevenDigits(double magnitude) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 6);
    // buf holds "d.dddddde+XX".
    Digits out{};
    out.d[0] = buf[0];
    for (int k = 1; k < 7; ++k) out.d[k] = buf[k + 1];
    out.count = 7;
    while (out.count > 1 && out.d[out.count - 1] == '0') --out.count;
    std::from_chars(buf + 10, r.ptr, out.exponent);
    if (buf[9] == '-') out.exponent = -out.exponent;
    return out;
}

inline std::string format(float value, bool compact) {
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

inline std::string displayFormat(float v) { return format(v, false); }
inline std::string compactFormat(float v) { return format(v, true); }

}  // namespace petcalc::reference
