#pragma once
// Number text rules: how a box's text becomes a number and a number becomes
// a box's text. Locale-free: the decimal point is always ".".

#include <limits>
#include <string>
#include <string_view>

namespace petcalc {

// Reads a box's text. Blanks, tabs and line feeds are dropped wherever they
// stand; "&H"/"&O" (either case) read the hex/octal digits that follow as a
// whole number; otherwise the longest leading decimal prefix
// ([+-]digits[.digits][(E|e)[+-]digits]) is read, correctly rounded to
// double. Never fails: text with no leading number reads as 0. A value too
// large for a double reads as +-infinity, one too small as +-0.
double parseNumber(std::string_view text);

// The nearest single to a double result, ties to even: what a sheet
// variable holds after a store. A double beyond the single range becomes an
// infinity, which the fault rule catches: IEEE conversion, which C++ leaves
// to the implementation.
static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559);
inline float storeRound(double x) { return static_cast<float>(x); }

// " 100", " 4593.039", "-.25", " 1.234568E+07": 7 significant digits, a blank
// before a value that is not negative, no "0" before the point.
std::string displayFormat(float v);

// As displayFormat, without the sign blank and with a "0" before the point
// ("25", "0.5", "-0.25"). Used for the level box by the level steps.
std::string compactFormat(float v);

}  // namespace petcalc
