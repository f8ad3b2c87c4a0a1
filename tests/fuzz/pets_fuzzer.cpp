// A file to import and a stored record, on any bytes: never a crash; what
// is taken comes back the same through export (or the record writer) and
// a second read; what is refused says why and adds nothing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "petlist.h"

namespace {

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "pets: %s\n", why);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace petcalc;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    Pets p;
    const std::string why = importPets(p, text);
    if (!why.empty() && p.pets.size() != 1) fail("a refused file added pets");
    if (why.empty()) {
        Pets again;  // its own first pet, then every pet of the export
        if (!importPets(again, exportPets(p)).empty() || again.pets.size() != p.pets.size() + 1 ||
            !std::equal(p.pets.begin(), p.pets.end(), again.pets.begin() + 1))
            fail("an export does not import as itself");
    }

    const ReadPet r = readPetRecord(text);
    if (r.pet) {
        const ReadPet back = readPetRecord(petRecord(*r.pet));
        if (!back.pet || !(*back.pet == *r.pet)) fail("a record does not read back as itself");
    } else if (r.refusal.empty()) {
        fail("a refusal without a message");
    }
    return 0;
}
