#pragma once
// The number text rules as first written, on the C++ library's floating
// std::from_chars and std::to_chars (which not every target's library has):
// the reference that the portable conversions in core/numtext.cpp are
// compared with, value for value. Only the check programs use it.

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace petcalc::reference {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

// "&H1F", "&o17": every digit of the base that follows, as a whole number.
// A value past 2^53 is rounded as it accumulates; past the double range it
// reads as infinity, which the store then reports as an overflow.
inline double parseRadix(std::string_view s, int base) {
    double v = 0;
    for (char c : s) {
        const int dv = digitValue(c, base);
        if (dv < 0) break;
        v = v * base + dv;
    }
    return v;
}

// The value from_chars refused as out of range: an infinity when the
// number's first significant digit stands at a positive power of ten, a
// zero when it stands at a negative one.
inline double outOfRange(std::string_view mantissa, long long exponent, bool negative) {
    long long position = -1;  // power of ten of the first nonzero digit
    long long place = 0;
    const auto point = mantissa.find('.');
    const long long intDigits = static_cast<long long>(point == std::string_view::npos ? mantissa.size() : point);
    for (char c : mantissa) {
        if (c == '.') continue;
        if (c != '0') {
            position = intDigits - 1 - place;
            break;
        }
        ++place;
    }
    const double v = position + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -v : v;
}

inline double parseNumber(std::string_view text) {
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
    const std::size_t mantissaEnd = i;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) expNegative = s[j++] == '-';
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) {
                // Saturate: any exponent past a million is out of range anyway.
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[j] - '0');
                ++j;
            }
            if (expNegative) exponent = -exponent;
            i = j;
        }
    }

    // from_chars takes no leading "+"; the sign is put back afterwards.
    double v = 0;
    const char* first = s.data() + start;
    const auto [ptr, ec] = std::from_chars(first, s.data() + i, v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        return outOfRange(std::string_view(first, mantissaEnd - start), exponent, negative);
    (void)ptr;
    return negative ? -v : v;
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
