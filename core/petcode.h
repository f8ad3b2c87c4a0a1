#pragma once
// A pet as one short text code, for links and storage: the same bytes from
// every toolchain, URL-safe (letters, digits, "-" and "_"), versioned by its
// first character, and canonical: a code decodes only if encoding what it
// gives yields the same code. Every pet sheet variable comes back bit for
// bit and every box text byte for byte.
//
// The decoder takes untrusted text: it refuses anything over kMaxCodeLength,
// another or a newer version, characters outside the alphabet, a code cut
// short or too long, box text that is not UTF-8, and a non-canonical code,
// each with a message in Chinese.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "petstate.h"

namespace petcalc {

inline constexpr std::size_t kMaxCodeLength = 4096;  // a link's
// A kept pet's code (browser storage, an exported file) may carry long box
// texts that a link never would.
inline constexpr std::size_t kMaxKeptCodeLength = 1 << 18;
inline constexpr char kCodeVersion = '1';

std::string encodePet(const PetState& s);

struct DecodedPet {
    std::optional<PetState> pet;  // set when the code was taken
    std::string refusal;          // otherwise why not, in Chinese
};
DecodedPet decodePet(std::string_view code, std::size_t maxLength = kMaxCodeLength);

}  // namespace petcalc
