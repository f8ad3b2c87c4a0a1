#pragma once
// The plans both planner benchmarks make, natively (core_bench) and in the
// page's WebAssembly (web/plan_module.cpp): one table, so that the two
// sets of figures are of the same pets and the same requests.

#include <array>
#include <initializer_list>
#include <string>
#include <utility>

#include "numtext.h"
#include "okpanel.h"
#include "planner.h"

namespace petcalc::bench {

// A pet of the level given: growth 1.25, aptitudes 1500, 1400, 5000, 3000,
// 1400, no points allocated.
inline PetState planningPet(int level) {
    PetState s;
    for (auto [b, t] : std::initializer_list<std::pair<Box, const char*>>{
             {Box::Text19, "1.25"}, {Box::Text1, "1500"}, {Box::Text2, "1400"}, {Box::Text3, "5000"},
             {Box::Text4, "3000"}, {Box::Text5, "1400"}, {Box::Text20, "100"}, {Box::Text22, "20"}})
        s.text(b) = t;
    s.text(Box::Text18) = std::to_string(level);
    s.checks = {true, false, true, false, false, false, true, false};
    return s;
}

// Aiming at speed with a minimum on each of the other four: what HP,
// attack, defense and spirit reach with the points spread evenly, less
// 0.1 %, so that every minimum holds points away from agility and all are
// within reach together.
inline PlanRequest planningRequest(PlanMode mode, const PetState& pet) {
    const int level = static_cast<int>(parseNumber(pet.text(Box::Text18)));
    const int points = mode == PlanMode::All ? 5 * level : 10 * level + 100;
    PetState even = pet;
    for (Box b : {Box::Text11, Box::Text12, Box::Text13, Box::Text14, Box::Text15})
        even.text(b) = std::to_string((mode == PlanMode::All ? level + 20 : 0) + points / 5);
    const PetSheet s = okPanel({}, even.texts, even.checks).sheet;
    PlanRequest r{mode, Stat::sd, {}};
    for (auto [t, v] : {std::pair{Stat::hp, s.hp}, {Stat::SH, s.SH}, {Stat::fy, s.fy}, {Stat::lli, s.lli}})
        r.minimum[static_cast<int>(t)] = displayFormat(storeRound(v * 0.999));
    return r;
}

struct PlanCase {
    PlanMode mode;
    int level;
    bool tried;  // every placement tried (planByTrying) instead of the planner's search
};
// Level 180 both ways; the largest budget both ways (1 000 000 points:
// level 99990 with nothing allocated, level 200000 placed anew); every
// placement tried at level 8 placed anew (40 points).
inline constexpr std::array<PlanCase, 5> kPlanCases{{
    {PlanMode::Unspent, 180, false},
    {PlanMode::All, 180, false},
    {PlanMode::Unspent, 99990, false},
    {PlanMode::All, 200000, false},
    {PlanMode::All, 8, true},
}};

// "unspent at 180: 379+380+379+380+382 added", "every placement tried all
// at 8: ..." (no comma: bench/run.sh reads it from a CSV line).
inline std::string planLabel(const PlanCase& c, const Plan& p) {
    std::string label = std::string(c.tried ? "every placement tried " : "") +
                        (c.mode == PlanMode::All ? "all at " : "unspent at ") + std::to_string(c.level) + ": ";
    for (int a = 0; a < 5; ++a) label += std::to_string(static_cast<long>(p.added[a])) + (a < 4 ? "+" : " added");
    return label;
}

}  // namespace petcalc::bench
