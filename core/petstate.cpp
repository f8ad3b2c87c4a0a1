#include "petstate.h"

#include <bit>

namespace petcalc {

std::uint32_t bitsOf(float v) { return std::bit_cast<std::uint32_t>(v); }
float fromBits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

bool PetState::operator==(const PetState& o) const {
    if (texts != o.texts || checks != o.checks || live != o.live) return false;
    for (float PetSheet::*m : kVarMember)
        if (bitsOf(sheet.*m) != bitsOf(o.sheet.*m)) return false;
    return true;
}

}  // namespace petcalc
