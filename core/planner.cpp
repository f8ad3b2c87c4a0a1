#include "planner.h"

#include <cmath>
#include <limits>
#include <vector>

#include "fault.h"
#include "numtext.h"
#include "okpanel.h"
#include "panel.h"

namespace petcalc {

std::string_view statCaption(Stat s) {
    static constexpr std::array<std::string_view, kStats> kCaptions = {"气血", "攻击", "防御", "速度", "灵力"};
    return kCaptions[static_cast<int>(s)];
}

namespace {

using Placement = std::array<int, 5>;  // points added to 体质 .. 敏捷

struct Problem {
    PetSheet base;  // the inputs as "确定" reads them
    Checks checks{};
    std::array<float, 5> start{};
    int points = 0;
    Stat target = Stat::sd;
    std::array<std::optional<float>, kStats> min;
    // Every count start + k for k up to `points` reads back from its box
    // as that very number (see exactCounts).
    bool exact = false;

    // The count "确定" reads after "应用" has written start + k.
    float count(int a, int k) const {
        const float total = storeRound(double(start[a]) + k);
        return exact ? total : storeRound(parseNumber(displayFormat(total)));
    }
    PetSheet sheetAt(const Placement& k) const {
        PetSheet s = base;
        for (int a = 0; a < 5; ++a) s.*attrInfo(static_cast<Attr>(a)).member = count(a, k[a]);
        return s;
    }
    // A result beyond the single range stays in the comparison as an
    // infinity, above every finite one: the order of the results holds.
    float value(Stat t, const PetSheet& s) const {
        const auto c = [this](int n) { return checks[n - 1] ? 1 : 0; };
        switch (t) {
        case Stat::hp: return storeRound(hpFormula(s, c(1), c(2)));
        case Stat::SH: return storeRound(attackFormula(s, c(3), c(4), false));
        case Stat::fy: return storeRound(defenseFormula(s, c(5), c(6), false));
        case Stat::sd: return storeRound(speedFormula(s, c(7), c(8)));
        case Stat::lli: return storeRound(spiritFormula(s));
        }
        return 0;
    }
    float value(Stat t, const Placement& k) const { return value(t, sheetAt(k)); }
    bool meets(Stat t, float v) const { return !min[static_cast<int>(t)] || v >= *min[static_cast<int>(t)]; }
};

// The answer of a search: the placement, or none; and for the message
// then, the most each value reaches when every point goes its way.
struct Found {
    std::optional<Placement> k;
    std::array<float, kStats> alone{};
};

// A count of the form j / 2^s (s fractional bits) below 10^(7 - s) in
// magnitude has at most 7 significant digits: display format shows it
// exactly and the read gives it back, and so for every count on the way
// to start + points. Whole counts below 10 000 000 are the usual case.
bool exactCounts(const std::array<float, 5>& start, int points) {
    for (float b : start) {
        int s = 0;
        while (s < 7 && std::floor(std::ldexp(double(b), s)) != std::ldexp(double(b), s)) ++s;
        if (s == 7 || std::fabs(double(b)) + points >= std::pow(10.0, 7 - s)) return false;
    }
    return true;
}

// The least v in [lo, hi] where `p` holds, p false then true; hi + 1 if none.
template <class P> int lowest(int lo, int hi, P p) {
    ++hi;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (p(mid)) hi = mid;
        else lo = mid + 1;
    }
    return lo;
}

// The greatest v in [lo, hi] where `p` holds, p true then false; lo - 1 if none.
template <class P> int highest(int lo, int hi, P p) {
    return lowest(lo, hi, [&](int v) { return !p(v); }) - 1;
}

// The search when the counts read back exactly. Every result is
// non-decreasing in each count (growth and agility aptitude not below 0:
// IEEE addition, and multiplication by a factor not below 0, are
// monotone). With exact counts two more facts hold, since the rounding
// errors of the sums (below 1e-8 for counts below 1e7) are far smaller
// than the steps:
// - speed depends on the agility points alone once the total is fixed: the
//   four other counts enter only through their sum, exact in double, and
//   one point moved to agility adds 0.7 - 0.1 to the sum it multiplies;
// - a point moved to magic from any other count raises spirit's sum (0.7
//   against 0.4, 0.1 or nothing), so spirit is largest with every point
//   not held elsewhere on magic.
// HP, attack, defense and speed are then each a non-decreasing function of
// one count, and their minimums are least counts; what is left of the
// points goes where spirit is largest. That makes every question a binary
// search: about a hundred evaluations for any number of points.
Found searchExact(const Problem& p) {
    const int n = p.points;
    const auto sum = [](const Placement& k) { return k[0] + k[1] + k[2] + k[3] + k[4]; };
    // Least counts, the rest on magic: the most spirit for them.
    const auto spread = [n, &sum](Placement k) {
        k[1] += n - sum(k);
        return k;
    };
    // The value aimed at or held up by one count: HP 体质, attack 力量,
    // defense 耐力, speed 敏捷 (the total fixed).
    static constexpr std::array<int, 4> kCount = {0, 2, 3, 4};
    const auto one = [&](Stat t, int v) {
        Placement k{};
        if (t == Stat::sd) k = {n - v, 0, 0, 0, v};
        else k[kCount[static_cast<int>(t)]] = v;
        return p.value(t, k);
    };
    Found f;
    for (Stat t : {Stat::hp, Stat::SH, Stat::fy, Stat::sd}) f.alone[static_cast<int>(t)] = one(t, n);
    f.alone[static_cast<int>(Stat::lli)] = p.value(Stat::lli, Placement{0, n, 0, 0, 0});

    Placement least{};
    for (Stat t : {Stat::hp, Stat::SH, Stat::fy, Stat::sd}) {
        if (!p.min[static_cast<int>(t)]) continue;
        int& l = least[kCount[static_cast<int>(t)]];
        l = lowest(0, n, [&](int v) { return p.meets(t, one(t, v)); });
        if (l > n) return f;
    }
    std::optional<float> spirit = p.min[static_cast<int>(Stat::lli)];
    const auto feasible = [&](const Placement& k) {
        return sum(k) <= n && (!spirit || p.value(Stat::lli, spread(k)) >= *spirit);
    };
    // Raising one least count takes its points from magic: feasibility
    // only falls as it rises.
    const auto most = [&](int c) {
        return highest(least[c], n, [&](int v) {
            Placement k = least;
            k[c] = v;
            return feasible(k);
        });
    };
    if (!feasible(least)) return f;
    if (p.target == Stat::lli) {
        spirit = p.value(Stat::lli, spread(least));  // the best: now a minimum for the tie-break
    } else {
        // The most the aimed-at count can take, and the least count that
        // gives the same value: every placement with that much ties.
        const int c = kCount[static_cast<int>(p.target)];
        const float best = one(p.target, most(c));
        least[c] = lowest(least[c], n, [&](int v) { return one(p.target, v) >= best; });
    }
    // Ties: the most 体质, then the most 魔力, which leaves every other
    // count at its least.
    least[0] = most(0);
    f.k = spread(least);
    return f;
}

// Every placement, from the largest 体质 (then 魔力, ...) down, so that the
// first of equal best values found is the one the tie-break wants.
Found searchAll(const Problem& p) {
    const int n = p.points;
    std::vector<std::array<float, 5>> x(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k <= n; ++k)
        for (int a = 0; a < 5; ++a) x[k][a] = p.count(a, k);
    Found f;
    f.alone.fill(-std::numeric_limits<float>::infinity());
    float best = 0;
    Placement k{};
    for (k[0] = n; k[0] >= 0; --k[0])
        for (k[1] = n - k[0]; k[1] >= 0; --k[1])
            for (k[2] = n - k[0] - k[1]; k[2] >= 0; --k[2])
                for (k[3] = n - k[0] - k[1] - k[2]; k[3] >= 0; --k[3]) {
                    k[4] = n - k[0] - k[1] - k[2] - k[3];
                    PetSheet s = p.base;
                    for (int a = 0; a < 5; ++a) s.*attrInfo(static_cast<Attr>(a)).member = x[k[a]][a];
                    std::array<float, kStats> v;
                    bool ok = true;
                    for (int t = 0; t < kStats; ++t) {
                        v[t] = p.value(static_cast<Stat>(t), s);
                        if (v[t] > f.alone[t]) f.alone[t] = v[t];
                        ok = ok && p.meets(static_cast<Stat>(t), v[t]);
                    }
                    const float aim = v[static_cast<int>(p.target)];
                    if (ok && (!f.k || aim > best)) f.k = k, best = aim;
                }
    return f;
}

std::string shown(float v) {
    std::string t = displayFormat(v);
    return t[0] == ' ' ? t.substr(1) : t;
}

// The problem the boxes and the request pose, or why there is none.
struct Setup {
    std::optional<Problem> problem;
    std::string message;
    PetSheet now;
};

Setup setUp(const PetState& form, const PlanRequest& r) {
    const OkRun now = okPanel(form.sheet, form.texts, form.checks);
    if (now.fault) return {std::nullopt, faultMessage(*now.fault), now.sheet};
    const PetSheet& s = now.sheet;
    const auto no = [&s](std::string why) { return Setup{std::nullopt, std::move(why), s}; };
    if (s.cz < 0) return no("成长小于 0 时，加点反而会降低面板数值，“最多”无从谈起，无法计算加点方案。");
    if (s.MZ < 0) return no("敏捷资质小于 0 时，加点反而会降低速度，“最多”无从谈起，无法计算加点方案。");
    Problem p;
    p.base = s;
    p.checks = form.checks;
    p.target = r.target;
    for (int t = 0; t < kStats; ++t) {
        const std::string& text = r.minimum[t];
        if (static_cast<Stat>(t) == r.target || text.find_first_not_of(" \t\n") == std::string::npos) continue;
        const float m = storeRound(parseNumber(text));
        if (!std::isfinite(m))
            return no("「" + std::string(statCaption(static_cast<Stat>(t))) +
                      "」的最低值超出了可计算的范围（绝对值须小于 3.4E+38）。");
        p.min[t] = m;
    }
    double points = 0;
    if (r.mode == PlanMode::Unspent) {
        for (int a = 0; a < 5; ++a) p.start[a] = s.*attrInfo(static_cast<Attr>(a)).member;
        points = std::floor(double(s.qn));
        if (points < 1) return no("没有可分配的潜能：潜能为 " + shown(s.qn) + "，不足 1 点。");
    } else {
        if (s.lv < 0 || std::floor(s.lv) != s.lv)
            return no("“全部重新分配”要求等级是 0 或以上的整数，现在的等级是 " + shown(s.lv) + "。");
        p.start.fill(storeRound(double(s.lv) + 20));
        points = double(s.lv) * 5;
        if (points < 1) return no("等级为 0：每项加点都是 20，没有要分配的点数。");
    }
    if (points > kMaxPlanPoints)
        return no("要分配的点数（" + shown(storeRound(points)) + "）超过 1000000 点，无法计算加点方案。");
    p.points = static_cast<int>(points);
    p.exact = exactCounts(p.start, p.points);
    return {p, "", s};
}

PlanAnswer finish(const PetState& form, const Setup& setup, const Found& f) {
    const Problem& p = *setup.problem;
    if (!f.k) {
        std::string why = "无法同时满足这些最低值。每项单独分配全部 " + std::to_string(p.points) + " 点时最多可达：";
        const char* sep = "";
        for (int t = 0; t < kStats; ++t) {
            if (!p.min[t]) continue;
            why += sep + std::string(statCaption(static_cast<Stat>(t))) + " " + shown(f.alone[t]) + "（最低 " +
                   shown(*p.min[t]) + "）";
            sep = "，";
        }
        return {std::nullopt, why + "。"};
    }
    Plan plan;
    PetState applied = form;
    for (int a = 0; a < 5; ++a) {
        plan.added[a] = static_cast<float>((*f.k)[a]);
        plan.totals[a] = storeRound(double(p.start[a]) + (*f.k)[a]);
        applied.text(attrInfo(static_cast<Attr>(a)).box) = displayFormat(plan.totals[a]);
    }
    const OkRun after = okPanel(form.sheet, applied.texts, form.checks);
    if (after.fault) return {std::nullopt, faultMessage(*after.fault)};
    plan.now = setup.now;
    plan.after = after.sheet;
    return {plan, ""};
}

}  // namespace

PlanAnswer makePlan(const PetState& form, const PlanRequest& r) {
    const Setup setup = setUp(form, r);
    if (!setup.problem) return {std::nullopt, setup.message};
    const Problem& p = *setup.problem;
    if (p.exact) return finish(form, setup, searchExact(p));
    if (p.points > kMaxTriedPoints) {
        int a = 0;
        while (exactCounts({p.start[a], 0, 0, 0, 0}, p.points)) ++a;
        return {std::nullopt, "「" + std::string(attrInfo(static_cast<Attr>(a)).caption) + "」的点数 " +
                                  shown(p.start[a]) + " 不是整数，或加上要分配的点数后达到 10000000：这时只能为不超过 " +
                                  std::to_string(kMaxTriedPoints) + " 点逐一试过每种分配，现在有 " +
                                  std::to_string(p.points) + " 点要分配。请把各项加点改为整数后再试。"};
    }
    return finish(form, setup, searchAll(p));
}

PlanAnswer planByTrying(const PetState& form, const PlanRequest& r) {
    const Setup setup = setUp(form, r);
    if (!setup.problem) return {std::nullopt, setup.message};
    return finish(form, setup, searchAll(*setup.problem));
}

}  // namespace petcalc
