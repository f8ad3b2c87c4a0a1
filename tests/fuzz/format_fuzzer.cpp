// Display and compact format of any finite single: every 4 bytes of the
// input are one bit pattern. The text must follow the format's grammar,
// stand for exactly the value rounded to 7 significant digits, and the
// number parse must read it as the C library reads that decimal, to the bit
// of the double. every_single.cpp runs these checks on every single.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "numtext.h"
#include "text_checks.h"

namespace {

using namespace petcalc;

[[noreturn]] void fail(float v, const std::string& text, const std::string& why) {
    std::fprintf(stderr, "%.9g (%a) -> \"%s\": %s\n", static_cast<double>(v), static_cast<double>(v), text.c_str(),
                 why.c_str());
    std::abort();
}

void checkOne(float v, const std::string& text, bool compact) {
    if (auto err = check::formatError(text, compact); !err.empty()) fail(v, text, err);
    // Two texts of at most 7 significant digits that the C library reads as
    // the same double stand for the same decimal.
    const double want = check::sevenDigitValue(v);
    if (std::strtod(text.c_str(), nullptr) != want)
        fail(v, text, "not the value rounded to 7 significant digits (" + check::sevenDigitText(v) + ")");
    if (const double back = parseNumber(text); back != want) {
        char got[40];
        std::snprintf(got, sizeof got, "%a", back);
        fail(v, text, std::string("reads back as ") + got);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        std::uint32_t bits;
        std::memcpy(&bits, data + at, 4);
        float v;
        std::memcpy(&v, &bits, 4);
        if (!std::isfinite(v)) continue;
        checkOne(v, displayFormat(v), false);
        checkOne(v, compactFormat(v), true);
    }
    return 0;
}
