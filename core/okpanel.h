#pragma once
// What "确定" computes, as a value: from the input boxes' texts (or the
// inputs as stored) and the eight check boxes to the potential and the six
// panel results, with its read order, its formula order, store rounding and
// the fault rule. The engine's "确定" and the planner both run it, so a
// plan's digits and the window's digits cannot differ.

#include <array>
#include <optional>
#include <string>

#include "fault.h"
#include "petsheet.h"

namespace petcalc {

using Checks = std::array<bool, 8>;  // Check1 .. Check8 at [0] .. [7]
using BoxTexts = std::array<std::string, kBoxCount>;  // Text1 .. Text23 at [0] .. [22], as PetState keeps them

// The boxes "确定" reads, in its order.
inline constexpr std::array<Box, 16> kOkReads = {
    Box::Text20, Box::Text21, Box::Text22, Box::Text23, Box::Text1, Box::Text13, Box::Text19, Box::Text18,
    Box::Text2,  Box::Text3,  Box::Text4,  Box::Text5,  Box::Text11, Box::Text12, Box::Text14, Box::Text15};

struct OkRun {
    PetSheet sheet;                // as the run left it: a faulting variable keeps its value
    bool potentialShown = false;   // Text17 was written: every read and the potential went through
    std::optional<Fault> fault;    // the first fault, of Op::Ok; the panel is shown only without one
};

// Steps 3 to 7 of "确定" on the inputs as `s` holds them: the potential,
// then attack, HP, MP, defense, speed and spirit, each stored before the
// next formula. Sets no anchor level.
OkRun okResults(PetSheet s, const Checks& c);

// The whole of "确定" but its box writes: the sixteen reads into `s`, then
// okResults, then the anchor level.
OkRun okPanel(PetSheet s, const BoxTexts& texts, const Checks& c);

}  // namespace petcalc
