#pragma once
// The change beside each box of the potential and the panel: how far its
// value moved, against what it showed before, or against another pet.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "petsheet.h"
#include "petstate.h"

namespace petcalc {

struct PanelBox {
    Box box;
    Var var;
};
// The potential and the six panel boxes, in the order the form shows them.
inline constexpr std::array<PanelBox, 7> kPanelBoxes = {{{Box::Text17, Var::qn},
                                                        {Box::Text6, Var::hp},
                                                        {Box::Text7, Var::MP},
                                                        {Box::Text8, Var::SH},
                                                        {Box::Text9, Var::fy},
                                                        {Box::Text10, Var::sd},
                                                        {Box::Text16, Var::lli}}};

// `to` less `from`, subtracted in double and stored as a single, in
// display format with "+" before a positive value ("+6.000001", "-10");
// nothing when the two are equal.
std::optional<std::string> changeText(float from, float to);

struct PanelChange {
    Box box;
    std::string text;
    bool operator==(const PanelChange&) const = default;
};

// The boxes of the seven whose stored value differs between the two
// states, where both boxes show their stored value: a box emptied by
// "重置", or left as it was by a fault or typed over, shows no change.
std::vector<PanelChange> panelChanges(const PetState& from, const PetState& to);

// Whether any of the seven boxes shows another text or holds another value
// (bit for bit) in `b` than in `a`.
bool panelMoved(const PetState& a, const PetState& b);

}  // namespace petcalc
