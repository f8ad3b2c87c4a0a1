#include "changes.h"

#include <cmath>

#include "numtext.h"

namespace petcalc {

std::optional<std::string> changeText(float from, float to) {
    const float d = storeRound(static_cast<double>(to) - static_cast<double>(from));
    // A NaN can only come from a sheet given back from a link: no change to show.
    if (d == 0 || std::isnan(d)) return std::nullopt;
    std::string text = displayFormat(d);
    if (text[0] == ' ') text[0] = '+';
    return text;
}

namespace {
bool shows(const PetState& s, const PanelBox& p) { return s.text(p.box) == displayFormat(at(s.sheet, p.var)); }
}  // namespace

std::vector<PanelChange> panelChanges(const PetState& from, const PetState& to) {
    std::vector<PanelChange> out;
    for (const PanelBox& p : kPanelBoxes) {
        if (!shows(from, p) || !shows(to, p)) continue;
        if (auto text = changeText(at(from.sheet, p.var), at(to.sheet, p.var))) out.push_back({p.box, std::move(*text)});
    }
    return out;
}

bool panelMoved(const PetState& a, const PetState& b) {
    for (const PanelBox& p : kPanelBoxes)
        if (a.text(p.box) != b.text(p.box) || bitsOf(at(a.sheet, p.var)) != bitsOf(at(b.sheet, p.var))) return true;
    return false;
}

}  // namespace petcalc
