#pragma once
// What a front end that keeps pets (the web page) shows beside Form1, each
// as a value computed from the state alone: the summary of the panel, the
// plan, the pet list with its table, and the kind of each notice. A front
// end prints a view; it decides nothing in it. The names that cross into
// the page's script (cells, kinds, operations) are the tables here, which
// the page writer also writes the page from, so the two cannot drift.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "changes.h"
#include "history.h"
#include "notices.h"
#include "petlist.h"
#include "planner.h"
#include "shelf.h"

namespace petcalc {

// What a refused change of the list is told as: a name, a link, a file, or
// the list itself.
NoticeKind refusalKind(ShelfOp op);

// The views a page is told of, by name.
enum class ViewName { Summary, Plan, List, Row, History };
inline constexpr std::string_view kViewNames[] = {"summary", "plan", "list", "row", "history"};
inline constexpr std::string_view viewName(ViewName v) { return kViewNames[static_cast<int>(v)]; }

// A cell of the page: its element's id and its text.
using Cell = std::pair<std::string, std::string>;

// The potential and the six panel values as the form shows them, each with
// its change ("" for none), in kPanelBoxes' order.
struct SummaryView {
    std::array<std::string, kPanelBoxes.size()> value, change;
    bool operator==(const SummaryView&) const = default;
};
SummaryView summaryView(const PetState& now, const std::vector<PanelChange>& changes);
std::string summaryValueId(Box b);   // "sum17"
std::string summaryChangeId(Box b);  // "chg17"

// The plan: the points added and the totals (Text11 .. Text15), then the
// seven boxes after it and their changes; or why there is none.
struct PlanView {
    bool shown = false;  // a plan, with its "应用"
    std::array<std::string, 5> added, totals;
    std::array<std::string, kPanelBoxes.size()> after, change;
    std::string reason;  // why there is no plan, in Chinese ("" with one)
    bool operator==(const PlanView&) const = default;
};
PlanView planView(const PlanAnswer& a);
inline constexpr std::string_view kPlanReasonId = "plan-reason";
std::string planAddedId(Box pointBox);   // "plan-added11"
std::string planTotalId(Box pointBox);   // "plan-total11"
std::string planAfterId(Box panelBox);   // "plan-after17"
std::string planChangeId(Box panelBox);  // "plan-change17"

// Every cell of a view, for the page.
std::vector<Cell> cells(const SummaryView& v);
std::vector<Cell> cells(const PlanView& v);

// The pets table: a row a pet, its name, then what "确定" would show for
// its boxes; six empty cells where they give no panel (every box 确定
// reads empty, or a fault). Sorted as Pets::sort says.
inline constexpr std::string_view kPetColumnNames[] = {"name", "lv", "hp", "SH", "fy", "sd", "lli"};
inline constexpr Box kPetColumnBoxes[] = {Box::Text18, Box::Text6, Box::Text8, Box::Text9, Box::Text10, Box::Text16};
std::string_view petColumnCaption(PetColumn c);

struct PetRow {
    std::array<std::string, 6> cells;  // 等级, 气血, 攻击, 防御, 速度, 灵力
    std::array<float, 6> values{};     // as stored, for the sort
    bool operator==(const PetRow&) const = default;
};
PetRow petRow(const PetState& s);

struct PetListView {
    std::vector<std::string> names;  // in the list's order
    std::vector<PetRow> rows;        // likewise
    std::vector<std::size_t> order;  // the rows as the table shows them, sorted
    std::size_t shown = 0;
    std::optional<std::size_t> compared;
    std::optional<PetSort> sort;
    bool canUndo = false, canRedo = false;
};
// The list as kept (the shown pet's state put in first), with a row for
// each pet (petRow of its state: a front end may keep the rows it made).
PetListView petListView(const Pets& p, const History& h, const std::vector<PetRow>& rows);
std::vector<std::size_t> sortedOrder(const std::vector<std::string>& names, const std::vector<PetRow>& rows,
                                     const std::optional<PetSort>& sort);

}  // namespace petcalc
