#pragma once
// Independent checks of the number texts the program writes, shared by the
// fuzz targets and every_single. They never call the formatter they check:
// the grammar is written out by hand here, and the expected value comes from
// the C library's printf and strtod.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace petcalc::check {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool allDigits(std::string_view s) {
    for (char c : s)
        if (!isDigit(c)) return false;
    return true;
}

// Why a text is not in display format (compact = false) or compact format,
// or "" when it is:
//   display = (" " | "-") body, compact = ["-"] body
//   body    = "0" (display: " 0" only, never "-0")
//           | fixed, for a first digit at 10^-4 .. 10^6:
//               int ["." frac] with int = [1-9] digit*
//             | "." frac (display) or "0." frac (compact), below 1
//           | d ["." frac] "E" ("+"|"-") dd, for a first digit at
//               10^-5 or below, or at 10^7 or above; d = [1-9]
//   frac    = digit* [1-9] (no trailing zeros)
// with at most 7 significant digits and at most 13 characters in all.
inline std::string formatError(std::string_view t, bool compact) {
    if (t.size() > 13) return "more than 13 characters";
    std::string_view s = t;
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.remove_prefix(1);
    } else if (!compact) {
        if (s.empty() || s[0] != ' ') return "no sign blank";
        s.remove_prefix(1);
    }
    if (s == "0") return negative ? "negative zero" : "";
    if (s.empty()) return "no digits";

    auto fracError = [](std::string_view frac) -> std::string {
        if (frac.empty()) return "a point without digits after it";
        if (!allDigits(frac)) return "a stray character after the point";
        if (frac.back() == '0') return "a trailing zero after the point";
        return "";
    };

    if (const auto e = s.find('E'); e != std::string_view::npos) {
        const std::string_view mantissa = s.substr(0, e), ex = s.substr(e + 1);
        if (mantissa.empty() || mantissa[0] < '1' || mantissa[0] > '9') return "exponent form without a first digit";
        if (mantissa.size() > 1) {
            if (mantissa[1] != '.') return "exponent form with more than one digit before the point";
            if (auto err = fracError(mantissa.substr(2)); !err.empty()) return err;
            if (mantissa.size() - 2 > 6) return "more than 7 significant digits";
        }
        if (ex.size() != 3 || (ex[0] != '+' && ex[0] != '-') || !allDigits(ex.substr(1)))
            return "exponent not a sign and two digits";
        const int power = (ex[1] - '0') * 10 + (ex[2] - '0');
        if (ex[0] == '-' ? power <= 4 : power < 7) return "exponent form for a number of fixed form";
        return "";
    }

    const auto point = s.find('.');
    std::string_view whole = s.substr(0, point), frac;
    if (point != std::string_view::npos) {
        frac = s.substr(point + 1);
        if (auto err = fracError(frac); !err.empty()) return err;
    }
    if (!allDigits(whole)) return "a stray character";
    std::size_t significant = 0;
    if (whole.empty() || whole == "0") {
        // Below 1: display writes no "0" before the point, compact one.
        if (compact && whole.empty()) return "no 0 before the point";
        if (!compact && !whole.empty()) return "a 0 before the point";
        if (frac.empty()) return "no digits";
        const auto first = frac.find_first_not_of('0');
        if (first > 3) return "fixed form for a number below 1E-04";
        significant = frac.size() - first;
    } else {
        if (whole[0] == '0') return "a leading zero";
        if (whole.size() > 7) return "fixed form for a number of 1E+07 or more";
        const std::string all = std::string(whole) + std::string(frac);
        significant = all.find_last_not_of('0') + 1;
    }
    if (significant > 7) return "more than 7 significant digits";
    return "";
}

// The value rounded to 7 significant digits by the C library, exact ties
// to even, as printf text "d.dddddde+XX".
inline std::string sevenDigitText(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6e", static_cast<double>(v));
    return buf;
}

// What a text of the 7-digit rounding of v reads as under the number rules:
// the decimal to the nearest double (the C library's conversion,
// independent of the program's own).
inline double sevenDigitValue(float v) { return std::strtod(sevenDigitText(v).c_str(), nullptr); }

}  // namespace petcalc::check
