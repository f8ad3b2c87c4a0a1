// The format target's checks (format_fuzzer.cpp) on every finite single, or
// on every STEP-th bit pattern of a range, on all cores: display and compact
// format against the C library's rounding to 7 digits, and the number parse
// of each text against strtod. The first fault aborts, naming the value and
// its text.
//
//   every_single [FIRST LAST [STEP]]   bit patterns, hex, inclusive (all)
//
// ctest runs every 1009th pattern, which reaches every binade; the whole
// range takes about ten minutes on two cores and is run by hand.
#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::uint64_t first = 0, last = 0xFFFFFFFFu, step = 1;
    if (argc >= 3) {
        first = std::strtoull(argv[1], nullptr, 16);
        last = std::strtoull(argv[2], nullptr, 16);
    }
    if (argc >= 4) step = std::max<std::uint64_t>(1, std::strtoull(argv[3], nullptr, 10));
    if (first > last || last > 0xFFFFFFFFu) {
        std::fprintf(stderr, "usage: every_single [FIRST LAST [STEP]]  (hex bit patterns, FIRST <= LAST)\n");
        return 64;
    }
    const std::uint64_t count = (last - first) / step + 1;
    // Blocks handed out one at a time keep every core busy to the end.
    constexpr std::uint64_t kBlock = 4096;
    std::atomic<std::uint64_t> next{0};
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
        pool.emplace_back([&] {
            std::vector<std::uint32_t> bits;
            for (std::uint64_t at; (at = next.fetch_add(kBlock)) < count;) {
                bits.clear();
                for (std::uint64_t k = at; k < std::min(count, at + kBlock); ++k)
                    bits.push_back(static_cast<std::uint32_t>(first + k * step));
                LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bits.data()), bits.size() * 4);
            }
        });
    for (auto& t : pool) t.join();
    std::printf("%" PRIu64 " bit patterns from %08" PRIx64 " to %08" PRIx64 ", every %" PRIu64 ": all as they should be\n",
                count, first, last, step);
    return 0;
}
