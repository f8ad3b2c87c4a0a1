// Every finite single through the number text rules and through their
// reference (tests/numtext_reference.h, on the C++ library's floating
// from_chars/to_chars): display format, and number parse of the displayed
// text, must agree to the character and to the bit. Not a ctest (the core
// tests run the same comparison on ten million random singles): a full run
// takes about ten minutes on two cores.
//
// Usage: numtext_compare_all [first_bits last_bits]   (hex, inclusive)
#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "numtext.h"
#include "numtext_reference.h"
#include "output.h"

namespace {

using namespace petcalc;

struct Tally {
    std::uint64_t finite = 0;
    std::uint64_t displayDiffers = 0;
    std::uint64_t parseDiffers = 0;
};

std::mutex g_printMutex;
std::atomic<int> g_reports{0};

void report(std::uint32_t bits, const std::string& text, const std::string& ref, double back, double refBack) {
    if (g_reports.fetch_add(1) >= 20) return;
    std::lock_guard lock(g_printMutex);
    std::printf("DIFF %08" PRIx32 ": \"%s\" reads as %a; reference \"%s\" reads as %a\n", bits, text.c_str(), back,
                ref.c_str(), refBack);
}

void checkRange(std::uint64_t first, std::uint64_t last, Tally& t) {
    for (std::uint64_t b = first; b <= last; ++b) {
        const auto bits = static_cast<std::uint32_t>(b);
        const float v = std::bit_cast<float>(bits);
        if (!std::isfinite(v)) continue;
        ++t.finite;
        const std::string text = displayFormat(v), ref = reference::displayFormat(v);
        const double back = parseNumber(text), refBack = reference::parseNumber(text);
        const bool displayOk = text == ref;
        const bool parseOk = std::bit_cast<std::uint64_t>(back) == std::bit_cast<std::uint64_t>(refBack);
        t.displayDiffers += !displayOk;
        t.parseDiffers += !parseOk;
        if (!displayOk || !parseOk) report(bits, text, ref, back, refBack);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t first = 0, last = 0xFFFFFFFFu;
    if (argc == 3) {
        first = std::strtoull(argv[1], nullptr, 16);
        last = std::strtoull(argv[2], nullptr, 16);
    }
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    // Blocks handed out one at a time keep every core busy to the end.
    constexpr std::uint64_t kBlock = 1u << 20;
    std::atomic<std::uint64_t> next{first};
    std::vector<Tally> tallies(threads);
    std::vector<std::thread> pool;
    const auto start = std::chrono::steady_clock::now();
    for (unsigned i = 0; i < threads; ++i)
        pool.emplace_back([&, i] {
            for (;;) {
                const std::uint64_t lo = next.fetch_add(kBlock);
                if (lo > last) break;
                checkRange(lo, std::min(last, lo + kBlock - 1), tallies[i]);
            }
        });
    for (auto& th : pool) th.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    Tally total;
    for (const auto& t : tallies) {
        total.finite += t.finite;
        total.displayDiffers += t.displayDiffers;
        total.parseDiffers += t.parseDiffers;
    }
    std::printf("bit patterns %08" PRIx64 "..%08" PRIx64 " on %u threads: %.1f s, %.0f ns a value and thread\n", first,
                last, threads, seconds, seconds * 1e9 * threads / static_cast<double>(std::max<std::uint64_t>(1, total.finite)));
    std::printf("finite singles: %" PRIu64 "\n", total.finite);
    std::printf("display format differs: %" PRIu64 "\n", total.displayDiffers);
    std::printf("number parse of the display differs: %" PRIu64 "\n", total.parseDiffers);
    if (!petcalc::output::flushStdout("numtext_compare_all")) return 1;
    return total.displayDiffers == 0 && total.parseDiffers == 0 ? 0 : 1;
}
