#include "names.h"

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

template <class Each>
std::string ids(std::string_view name, Each id) {
    std::string out = "  " + std::string(name) + ": [";
    for (std::size_t i = 0; i < kPanelBoxes.size(); ++i) out += (i ? ", " : "") + quoted(id(kPanelBoxes[i].box));
    return out + "],\n";
}

}  // namespace

std::string namesModule() {
    std::string out = "// Written with the page from the core's tables (web/names.cpp): the names\n"
                      "// of its enums and of the cells the page is written with.\n";
    out += numbered("ShelfOp", kShelfOpNames) + numbered("Notice", kNoticeNames) + numbered("PlanMode", kPlanModeNames) +
           numbered("Stat", kStatNames) + numbered("PetColumn", kPetColumnNames) + named("View", kViewNames) +
           named("NoticeKind", kNoticeKinds);
    // The potential and the panel, in the form's order: each box's name and
    // the cells of the summary and the plan that show it.
    out += "export const panel = Object.freeze({\n";
    out += ids("boxes", [](Box b) { return "Text" + std::to_string(boxNumber(b)); });
    out += ids("value", summaryValueId) + ids("change", summaryChangeId) + ids("planAfter", planAfterId);
    out += "});\n";
    return out;
}

}  // namespace petcalc
