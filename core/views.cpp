#include "views.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "notices.h"
#include "numtext.h"
#include "okpanel.h"

namespace petcalc {

NoticeKind refusalKind(ShelfOp op) {
    switch (op) {
    case ShelfOp::Rename: return NoticeKind::BadName;
    case ShelfOp::OpenLink: return NoticeKind::BadLink;
    case ShelfOp::Import: return NoticeKind::BadFile;
    default: return NoticeKind::Pets;
    }
}

namespace {
std::string id(std::string_view stem, Box b) { return std::string(stem) + std::to_string(boxNumber(b)); }
constexpr Box kPointBoxes[] = {Box::Text11, Box::Text12, Box::Text13, Box::Text14, Box::Text15};
}  // namespace

std::string summaryValueId(Box b) { return id("sum", b); }
std::string summaryChangeId(Box b) { return id("chg", b); }
std::string planAddedId(Box b) { return id("plan-added", b); }
std::string planTotalId(Box b) { return id("plan-total", b); }
std::string planAfterId(Box b) { return id("plan-after", b); }
std::string planChangeId(Box b) { return id("plan-change", b); }

SummaryView summaryView(const PetState& now, const std::vector<PanelChange>& changes) {
    SummaryView v;
    for (std::size_t i = 0; i < kPanelBoxes.size(); ++i) {
        v.value[i] = now.text(kPanelBoxes[i].box);
        for (const PanelChange& c : changes)
            if (c.box == kPanelBoxes[i].box) v.change[i] = c.text;
    }
    return v;
}

PlanView planView(const PlanAnswer& a) {
    PlanView v;
    if (!a.plan) {
        v.reason = a.message;
        return v;
    }
    v.shown = true;
    for (int i = 0; i < 5; ++i)
        v.added[i] = changeText(0, a.plan->added[i]).value_or(" 0"), v.totals[i] = displayFormat(a.plan->totals[i]);
    for (std::size_t i = 0; i < kPanelBoxes.size(); ++i) {
        const float now = at(a.plan->now, kPanelBoxes[i].var), after = at(a.plan->after, kPanelBoxes[i].var);
        v.after[i] = displayFormat(after);
        v.change[i] = changeText(now, after).value_or("");
    }
    return v;
}

std::vector<Cell> cells(const SummaryView& v) {
    std::vector<Cell> out;
    for (std::size_t i = 0; i < kPanelBoxes.size(); ++i) {
        out.emplace_back(summaryValueId(kPanelBoxes[i].box), v.value[i]);
        out.emplace_back(summaryChangeId(kPanelBoxes[i].box), v.change[i]);
    }
    return out;
}

std::vector<Cell> cells(const PlanView& v) {
    std::vector<Cell> out;
    for (int i = 0; i < 5; ++i) {
        out.emplace_back(planAddedId(kPointBoxes[i]), v.added[i]);
        out.emplace_back(planTotalId(kPointBoxes[i]), v.totals[i]);
    }
    for (std::size_t i = 0; i < kPanelBoxes.size(); ++i) {
        out.emplace_back(planAfterId(kPanelBoxes[i].box), v.after[i]);
        out.emplace_back(planChangeId(kPanelBoxes[i].box), v.change[i]);
    }
    out.emplace_back(kPlanReasonId, v.reason);
    return out;
}

std::string_view petColumnCaption(PetColumn c) {
    return c == PetColumn::Name ? kNameCaption : boxCaption(kPetColumnBoxes[static_cast<int>(c) - 1]);
}

PetRow petRow(const PetState& s) {
    PetRow r;
    const bool empty = std::all_of(kOkReads.begin(), kOkReads.end(),
                                   [&](Box b) { return s.text(b).find_first_not_of(" \t") == std::string::npos; });
    if (empty) return r;
    const OkRun run = okPanel(s.sheet, s.texts, s.checks);
    if (run.fault) return r;
    constexpr Var kVars[] = {Var::lv, Var::hp, Var::SH, Var::fy, Var::sd, Var::lli};
    for (std::size_t i = 0; i < r.cells.size(); ++i)
        r.values[i] = at(run.sheet, kVars[i]), r.cells[i] = displayFormat(r.values[i]);
    return r;
}

std::vector<std::size_t> sortedOrder(const std::vector<std::string>& names, const std::vector<PetRow>& rows,
                                     const std::optional<PetSort>& sort) {
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (!sort) return order;
    const int column = static_cast<int>(sort->column) - 1;
    // Empty cells (and a value that is no number) go last either way;
    // equal ones keep the list's order.
    const auto last = [&](std::size_t i) { return rows[i].cells[0].empty() || std::isnan(rows[i].values[column]); };
    const auto before = [&](std::size_t a, std::size_t b) {
        if (column < 0) return sort->descending ? names[b] < names[a] : names[a] < names[b];
        if (last(a) || last(b)) return !last(a) && last(b);
        const float x = rows[a].values[column], y = rows[b].values[column];
        return sort->descending ? y < x : x < y;
    };
    std::stable_sort(order.begin(), order.end(), before);
    return order;
}

std::string petSortText(const std::optional<PetSort>& s) {
    if (!s) return {};
    std::string text(s->descending ? 1 : 0, '-');
    return text.append(kPetColumnNames[static_cast<int>(s->column)]);
}

std::optional<PetSort> readPetSort(std::string_view text) {
    const bool descending = text.starts_with('-');
    if (descending) text.remove_prefix(1);
    for (int c = 0; c < kPetColumns; ++c)
        if (text == kPetColumnNames[c]) return PetSort{static_cast<PetColumn>(c), descending};
    return std::nullopt;
}

PetListView petListView(const Pets& p, const History& h, const std::vector<PetRow>& rows) {
    PetListView v;
    for (const KeptPet& k : p.pets) v.names.push_back(k.name);
    v.rows = rows;
    v.order = sortedOrder(v.names, v.rows, p.sort);
    v.shown = p.current;
    v.compared = p.compared;
    v.sort = p.sort;
    v.canUndo = h.canUndo(), v.canRedo = h.canRedo();
    return v;
}

}  // namespace petcalc
