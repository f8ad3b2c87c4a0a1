// Number parse on any bytes. The text is a view of exactly the fuzzer's
// buffer, with no terminator behind it, so AddressSanitizer sees any read
// past its end. Whatever the bytes, the value is a number, never NaN; and a
// text that is one plain decimal number as a whole (blanks aside, which the
// parse skips) reads as the C library's correctly rounded double of it.
// Which prefix of other texts is read, and the &H and &O forms, are
// scenario data (tests/scenarios/numtext.jsonl).
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double got = petcalc::parseNumber(text);
    if (std::isnan(got) || std::isnan(petcalc::storeRound(got))) fail(text, got, "NaN");

    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
    // Only signs, digits, a point and an exponent: no hexadecimal, infinity
    // or NaN, which the C library reads and the parse does not.
    if (s.empty() || s.find_first_not_of("0123456789.+-Ee") != std::string::npos) return 0;
    char* end = nullptr;
    errno = 0;
    const double want = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size()) return 0;  // not one number as a whole
    // Below the normal range the parse may flush to zero: every single
    // there is 0 anyway.
    const bool tiny = want != 0 && std::fabs(want) < DBL_MIN;
    if (got != want && !(tiny && got == 0)) fail(text, got, "not the correctly rounded double", want);
    return 0;
}
