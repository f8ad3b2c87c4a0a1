// The pet code on any bytes, both ways. As a code: the decoder never
// crashes, and a code it takes is canonical (encoding the pet gives the
// same bytes). As a pet (texts and bit patterns cut from the bytes): its
// code decodes to the same pet, bit for bit, whenever it fits the cap.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "petcode.h"

namespace {

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "pet code: %s\n", why);
    std::abort();
}

petcalc::PetState petFrom(const std::uint8_t* data, std::size_t size) {
    petcalc::PetState s;
    std::size_t at = 0;
    const auto byte = [&] { return at < size ? data[at++] : 0; };
    const std::uint8_t flags = byte();
    for (int n = 0; n < 8; ++n) s.checks[n] = flags >> n & 1;
    s.live = byte() & 1;
    for (float petcalc::PetSheet::*m : petcalc::kVarMember) {
        std::uint32_t bits = 0;
        for (int k = 0; k < 4; ++k) bits = bits << 8 | byte();
        // A pattern of few bits set is often a copy of its box, as in a real pet.
        s.sheet.*m = (bits & 0xff) == 0 ? s.sheet.lv : petcalc::fromBits(bits);
    }
    for (std::string& t : s.texts) {
        const std::size_t n = byte() % 16;
        for (std::size_t k = 0; k < n && at < size; ++k) t += static_cast<char>(byte());
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view code(reinterpret_cast<const char*>(data), size);
    const petcalc::DecodedPet d = petcalc::decodePet(code);
    if (d.pet && petcalc::encodePet(*d.pet) != code) fail("a code taken is not the pet's own code");
    if (!d.pet && d.refusal.empty()) fail("a refusal without a message");

    const petcalc::PetState pet = petFrom(data, size);
    const std::string again = petcalc::encodePet(pet);
    const petcalc::DecodedPet back = petcalc::decodePet(again);
    // Box texts that are not UTF-8 are refused; a pet of such text has no code.
    if (!back.pet) return 0;
    if (!(*back.pet == pet)) fail("a pet's code gives another pet back");
    return 0;
}
