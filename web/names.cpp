#include "names.h"

#include <array>
#include <iterator>
#include <span>
#include <string_view>

#include "changes.h"
#include "jsontext.h"
#include "notices.h"
#include "planner.h"
#include "shelf.h"
#include "views.h"

namespace petcalc {
namespace {

using jsontext::quoted;

// export const NAME = Object.freeze({"a": 0, "b": 1, ...}): names to numbers.
std::string numbered(std::string_view name, std::span<const std::string_view> names) {
    std::string out = "export const " + std::string(name) + " = Object.freeze({";
    for (std::size_t i = 0; i < names.size(); ++i) out += (i ? ", " : "") + quoted(names[i]) + ": " + std::to_string(i);
    return out + "});\n";
}

// export const NAME = Object.freeze({"a": "a", ...}): names the module sends.
std::string named(std::string_view name, std::span<const std::string_view> names) {
    std::string out = "export const " + std::string(name) + " = Object.freeze({";
    for (std::size_t i = 0; i < names.size(); ++i) out += (i ? ", " : "") + quoted(names[i]) + ": " + quoted(names[i]);
    return out + "});\n";
}

// "  name: [id of each box],"
template <class Boxes, class Each>
std::string ids(std::string_view name, const Boxes& boxes, Each id) {
    std::string out = "  " + std::string(name) + ": [";
    for (std::size_t i = 0; i < std::size(boxes); ++i) out += (i ? ", " : "") + quoted(id(boxes[i]));
    return out + "],\n";
}
std::string boxName(Box b) { return "Text" + std::to_string(boxNumber(b)); }

}  // namespace

std::string namesModule() {
    std::string out = "// Written with the page from the core's tables (web/names.cpp): the names\n"
                      "// of its enums and of the cells the page is written with.\n";
    out += numbered("ShelfOp", kShelfOpNames) + numbered("Notice", kNoticeNames) + numbered("PlanMode", kPlanModeNames) +
           numbered("Stat", kStatNames) + numbered("PetColumn", kPetColumnNames) + named("View", kViewNames) +
           named("NoticeKind", kNoticeKinds);
    // The potential and the panel, in the form's order, and the point
    // boxes: each box's name and the cells of the summary and the plan that
    // show it.
    std::array<Box, kPanelBoxes.size()> panel;
    for (std::size_t i = 0; i < panel.size(); ++i) panel[i] = kPanelBoxes[i].box;
    constexpr Box points[] = {Box::Text11, Box::Text12, Box::Text13, Box::Text14, Box::Text15};
    out += "export const panel = Object.freeze({\n" + ids("boxes", panel, boxName) + ids("value", panel, summaryValueId) +
           ids("change", panel, summaryChangeId) + ids("planAfter", panel, planAfterId) +
           ids("planChange", panel, planChangeId) + "});\n";
    out += "export const points = Object.freeze({\n" + ids("boxes", points, boxName) + ids("planAdded", points, planAddedId) +
           ids("planTotal", points, planTotalId) + "});\n";
    return out + "export const planReason = " + quoted(kPlanReasonId) + ";\n";
}

}  // namespace petcalc
