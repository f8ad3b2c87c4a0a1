// The planner against every placement tried by hand, on random pets with
// up to 40 points to place: random modes, targets and minimums, met and
// not; and "应用" of each plan found shows the plan's digits.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "changes.h"
#include "fake_form.h"
#include "fault.h"
#include "numtext.h"
#include "okpanel.h"
#include "panel.h"
#include "planner.h"

namespace petcalc {
namespace {

using Placement = std::array<int, 5>;

// Each value of a placement from the formulas, stored; a value beyond the
// single range is an infinity and still compares.
std::array<float, kStats> values(const PetSheet& s, const Checks& c) {
    const auto k = [&c](int n) { return c[n - 1] ? 1 : 0; };
    return {storeRound(hpFormula(s, k(1), k(2))), storeRound(attackFormula(s, k(3), k(4), false)),
            storeRound(defenseFormula(s, k(5), k(6), false)), storeRound(speedFormula(s, k(7), k(8))),
            storeRound(spiritFormula(s))};
}

struct Case {
    PetState form;
    PlanRequest request;
};

class Pets {
public:
    explicit Pets(unsigned seed) : m_rng(seed) {}

    Case next() {
        Case c;
        PetState& f = c.form;
        c.request.mode = chance(0.5) ? PlanMode::All : PlanMode::Unspent;
        c.request.target = static_cast<Stat>(pick(0, 4));
        const bool all = c.request.mode == PlanMode::All;
        const int lv = all ? pick(0, 8) : pick(0, 180);
        f.text(Box::Text18) = chance(0.05) ? displayFormat(lv - 0.5f) : chance(0.03) ? "-1" : std::to_string(lv);
        f.text(Box::Text19) = chance(0.05) ? "-0.5" : chance(0.05) ? "0" : chance(0.03) ? "1E31" : decimal(pick(900, 1300), 3);
        for (Box b : {Box::Text1, Box::Text2, Box::Text3, Box::Text4, Box::Text5})
            f.text(b) = std::to_string(pick(0, 6000));
        if (chance(0.05)) f.text(Box::Text5) = chance(0.5) ? "-100" : "0";
        for (Box b : {Box::Text20, Box::Text21, Box::Text22, Box::Text23})
            f.text(b) = chance(0.3) ? "" : std::to_string(pick(-20, 300));
        counts(f, all ? pick(0, 60) : lv * 10 + 100 - pick(-2, 40));
        for (bool& on : f.checks) on = chance(0.5);
        for (int t = 0; t < kStats; ++t)
            if (chance(0.4)) c.request.minimum[t] = minimum(f, static_cast<Stat>(t));
        return c;
    }

private:
    bool chance(double p) { return std::uniform_real_distribution<>(0, 1)(m_rng) < p; }
    int pick(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(m_rng); }
    static std::string decimal(int v, int places) {
        std::string s = std::to_string(v);
        s.insert(s.size() - places, ".");
        return s;
    }

    // Five counts summing to `sum`, sometimes with fractions or far apart
    // (which the boxes cannot show exactly once points are added).
    void counts(PetState& f, int sum) {
        std::array<double, 5> c{};
        for (int a = 0; a < 4; ++a) c[a] = pick(0, std::max(0, sum)) / 4;
        c[4] = sum - c[0] - c[1] - c[2] - c[3];
        const int a = pick(0, 3);
        const double shift = chance(0.1) ? 0.5 : chance(0.1) ? 0.1 : chance(0.05) ? 1e7 : 0;
        c[a] += shift, c[a + 1] -= shift;
        for (int i = 0; i < 5; ++i)
            f.text(attrInfo(static_cast<Attr>(i)).box) =
                c[i] == std::floor(c[i]) ? std::to_string(static_cast<long>(c[i])) : displayFormat(storeRound(c[i]));
    }

    // Near what a random placement reaches: often just met or just missed.
    std::string minimum(const PetState& f, Stat t) {
        if (chance(0.05)) return chance(0.5) ? "1E39" : "abc";
        PetSheet s = okPanel({}, f.texts, f.checks).sheet;
        for (int a = 0; a < 5; ++a) s.*attrInfo(static_cast<Attr>(a)).member += static_cast<float>(pick(0, 10));
        const float v = values(s, f.checks)[static_cast<int>(t)];
        return displayFormat(chance(0.7) ? v : storeRound(double(v) * (0.95 + 0.1 * chance(0.5))));
    }

    std::mt19937 m_rng;
};

// What the planner must answer, found by trying every placement.
struct Expected {
    bool plan = false;
    std::array<float, 5> totals{};
    std::string fault;  // the message when the best placement faults in "确定"
};

std::optional<Expected> tryEvery(const Case& c) {
    const OkRun now = okPanel({}, c.form.texts, c.form.checks);
    if (now.fault || now.sheet.cz < 0 || now.sheet.MZ < 0) return std::nullopt;
    const PetSheet& s = now.sheet;
    const bool all = c.request.mode == PlanMode::All;
    if (all && (s.lv < 0 || s.lv != std::floor(s.lv))) return std::nullopt;
    const double n = all ? 5.0 * s.lv : std::floor(double(s.qn));
    if (n < 1) return std::nullopt;
    std::array<std::optional<float>, kStats> min;
    for (int t = 0; t < kStats; ++t) {
        const std::string& m = c.request.minimum[t];
        if (t == static_cast<int>(c.request.target) || m.empty()) continue;
        min[t] = storeRound(parseNumber(m));
        if (!std::isfinite(*min[t])) return std::nullopt;
    }
    std::array<float, 5> start{};
    for (int a = 0; a < 5; ++a) start[a] = all ? storeRound(s.lv + 20.0) : s.*attrInfo(static_cast<Attr>(a)).member;
    const auto total = [&](int a, int k) { return storeRound(double(start[a]) + k); };
    const int N = static_cast<int>(n);
    if (N > 40) return std::nullopt;  // never: the pets are made with at most 40
    std::array<std::array<float, 5>, 41> read{};  // what "确定" reads back after "应用" wrote each total
    for (int k = 0; k <= N; ++k)
        for (int a = 0; a < 5; ++a) read[k][a] = storeRound(parseNumber(displayFormat(total(a, k))));
    Expected e;
    float best = 0;
    for (int k0 = 0; k0 <= N; ++k0)
        for (int k1 = 0; k0 + k1 <= N; ++k1)
            for (int k2 = 0; k0 + k1 + k2 <= N; ++k2)
                for (int k3 = 0; k0 + k1 + k2 + k3 <= N; ++k3) {
                    const Placement k = {k0, k1, k2, k3, N - k0 - k1 - k2 - k3};
                    PetSheet at = s;
                    for (int a = 0; a < 5; ++a)
                        at.*attrInfo(static_cast<Attr>(a)).member = read[k[a]][a];
                    const auto v = values(at, c.form.checks);
                    bool met = true;
                    for (int t = 0; t < kStats; ++t) met = met && (!min[t] || v[t] >= *min[t]);
                    const float aim = v[static_cast<int>(c.request.target)];
                    // Ascending, so a later equal value is the larger count first in the tie-break.
                    if (met && (!e.plan || aim >= best)) {
                        e.plan = true, best = aim;
                        for (int a = 0; a < 5; ++a) e.totals[a] = total(a, k[a]);
                    }
                }
    if (e.plan) {
        PetState applied = c.form;
        for (int a = 0; a < 5; ++a) applied.text(attrInfo(static_cast<Attr>(a)).box) = displayFormat(e.totals[a]);
        const OkRun after = okPanel({}, applied.texts, c.form.checks);
        if (after.fault) e.fault = faultMessage(*after.fault);
    }
    return e;
}

TEST(Planner, EqualsEveryPlacementTriedAndApplyingShowsItsDigits) {
    Pets pets(24);
    int plans = 0, unmet = 0, refused = 0;
    for (int i = 0; i < 1500; ++i) {
        const Case c = pets.next();
        SCOPED_TRACE(i);
        const PlanAnswer got = makePlan(c.form, c.request);
        const std::optional<Expected> want = tryEvery(c);
        if (!want || !want->plan || !want->fault.empty()) {
            ASSERT_FALSE(got.plan);
            EXPECT_FALSE(got.message.empty());
            if (want) {
                if (want->plan) EXPECT_EQ(got.message, want->fault);
                else EXPECT_TRUE(got.message.starts_with("无法同时满足")) << got.message;
            }
            (want ? unmet : refused)++;
            continue;
        }
        ASSERT_TRUE(got.plan) << got.message;
        EXPECT_EQ(got.plan->totals, want->totals);
        ++plans;

        bench::FakeForm form;
        for (int n = 1; n <= kBoxCount; ++n) form.type(boxAt(n), c.form.text(boxAt(n)));
        for (int n = 1; n <= 8; ++n) form.check(static_cast<Check>(n), c.form.checks[n - 1]);
        form.events.checkChanged();
        if (i % 2) form.click("Command1");  // the flag on: each write recomputes
        const PetState before = form.events.state();
        ASSERT_TRUE(form.events.applyPlan(c.request));
        const PetState shown = form.events.state();
        EXPECT_TRUE(form.faults.empty());
        for (int a = 0; a < 5; ++a)
            EXPECT_EQ(shown.text(attrInfo(static_cast<Attr>(a)).box), displayFormat(got.plan->totals[a]));
        for (const PanelBox& p : kPanelBoxes) EXPECT_EQ(shown.text(p.box), displayFormat(at(got.plan->after, p.var)));
        form.events.undo();
        EXPECT_EQ(form.events.state(), before);
    }
    // The cases reach every answer.
    EXPECT_GT(plans, 300);
    EXPECT_GT(unmet, 100);
    EXPECT_GT(refused, 50);
}

}  // namespace
}  // namespace petcalc
