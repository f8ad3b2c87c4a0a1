#include "petstate.h"

#include <cstring>

namespace petcalc {

// memcpy, not std::bit_cast: the page's toolchain ships an older library.
std::uint32_t bitsOf(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

float fromBits(std::uint32_t bits) {
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

bool PetState::operator==(const PetState& o) const {
    if (texts != o.texts || checks != o.checks || live != o.live) return false;
    for (float PetSheet::*m : kVarMember)
        if (bitsOf(sheet.*m) != bitsOf(o.sheet.*m)) return false;
    return true;
}

}  // namespace petcalc
