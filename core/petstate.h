#pragma once
// One pet's whole state as a value: what the window shows (every box's
// text, every check box) and what it holds behind it (the pet sheet, bit for
// bit, and the live-recompute flag). A front end that keeps pets (the web
// page) saves this and gives it back; restoring it leaves the form exactly
// as it was, so every later action gives the same results. A hold, an open
// growth table and a fault message showing are not part of it.

#include <array>
#include <string>

#include "petsheet.h"

namespace petcalc {

struct PetState {
    std::array<std::string, kBoxCount> texts;  // Text1 .. Text23 at [0] .. [22]
    std::array<bool, 8> checks{};              // Check1 .. Check8
    PetSheet sheet;
    bool live = false;

    std::string& text(Box b) { return texts[boxNumber(b) - 1]; }
    const std::string& text(Box b) const { return texts[boxNumber(b) - 1]; }
    // The sheet compared bit for bit (petsheet.h).
    bool operator==(const PetState&) const = default;
};

}  // namespace petcalc
