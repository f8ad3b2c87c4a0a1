// The number text rules on one target, printed: the tests run this natively,
// under node (WebAssembly) and under Wine (Windows) and want the same bytes.
// A fixed list of texts, then a digest of the display and compact format of
// a million random singles and the parse of each display text
// (std::mt19937's sequence is the same in every standard library).
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "numtext.h"
#include "output.h"

namespace {

using namespace petcalc;

// Without std::bit_cast, which not every target's library has yet.
template <class To, class From>
To bitsOf(From x) {
    static_assert(sizeof(To) == sizeof(From));
    To out;
    std::memcpy(&out, &x, sizeof out);
    return out;
}
std::uint64_t bits(double x) { return bitsOf<std::uint64_t>(x); }

// FNV-1a, 64 bits.
struct Digest {
    std::uint64_t h = 0xcbf29ce484222325u;
    void add(std::string_view s) {
        for (unsigned char c : s) h = (h ^ c) * 0x100000001b3u;
    }
    void add(std::uint64_t v) { add(std::string_view(reinterpret_cast<const char*>(&v), sizeof v)); }
};

}  // namespace

int main() {
    const std::string texts[] = {
        "", " 120", "1 2", "12abc", "abc", "1,5", ".5", "-3", "1.5E3", "1.2", "-.25", "5.", "1e", "1E5x", "&H10",
        "&hFF", "&O17", "&o8", "3.4028235E38", "3.4028236E38", "1E39", "-1e400", "1e-400", "-1e-400", "1e-46",
        "4.9406564584124654e-324", "2.4703282292062328e-324", "1.7976931348623158e308", "1.7976931348623159e308",
        "1.00000005960464477539062500000000001", "9007199254740993", "0.1", "1e99999999999999999999",
        "0." + std::string(400, '0') + "1", "1" + std::string(399, '0'), "&H" + std::string(300, 'F'),
    };
    for (const auto& t : texts) {
        const double x = parseNumber(t);
        std::printf("parse \"%.40s\" %016" PRIx64 " %s\n", t.c_str(), bits(x), displayFormat(storeRound(x)).c_str());
    }

    std::mt19937 rng(1);
    Digest d;
    for (int n = 0; n < 1'000'000; ++n) {
        const float v = bitsOf<float>(static_cast<std::uint32_t>(rng()));
        const std::string display = displayFormat(v);
        d.add(display);
        d.add(compactFormat(v));
        d.add(bits(parseNumber(display)));
    }
    std::printf("digest of 1000000 random singles %016" PRIx64 "\n", d.h);
    return output::flushStdout("numtext_smoke") ? 0 : 1;
}
