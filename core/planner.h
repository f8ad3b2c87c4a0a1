#pragma once
// "加点方案": where the points go for the most of one panel value while
// others stay at their minimums. The planner reads the sixteen boxes as
// "确定" does and changes nothing; its answer is exact, the best over every
// whole placement, and its digits are those "确定" shows once "应用" has
// written the counts.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "petsheet.h"
#include "petstate.h"

namespace petcalc {

enum class PlanMode {
    Unspent,  // "分配剩余潜能": each count stays, the whole part of the potential is placed
    All,      // "全部重新分配": each count starts at level + 20, 5 × level points are placed
};
inline constexpr std::string_view kPlanModeNames[] = {"unspent", "all"};

// The values a plan aims at or holds up: 气血, 攻击, 防御, 速度, 灵力.
enum class Stat { hp, SH, fy, sd, lli };
inline constexpr int kStats = 5;
// By name, as the page's script and the replay protocol name them.
inline constexpr std::string_view kStatNames[] = {"hp", "SH", "fy", "sd", "lli"};
std::string_view statCaption(Stat s);

struct PlanRequest {
    PlanMode mode = PlanMode::Unspent;
    Stat target = Stat::sd;
    // As typed, by Stat; a box with nothing but blanks sets none. The
    // target's own is not used.
    std::array<std::string, kStats> minimum;
    bool operator==(const PlanRequest&) const = default;
};

inline constexpr double kMaxPlanPoints = 1000000;
// Counts that the point boxes cannot show exactly once points are added
// (fractions like .1, or 10 000 000 and more) leave no shortcut: every
// placement is tried, which is quick only for this many points.
inline constexpr int kMaxTriedPoints = 40;

struct Plan {
    std::array<float, 5> added{};   // whole numbers, 体质 .. 敏捷
    std::array<float, 5> totals{};  // what "应用" writes into Text11 .. Text15
    PetSheet now;    // what "确定" computes with the boxes as they are
    PetSheet after;  // what it computes once "应用" has written the totals
};

struct PlanAnswer {
    std::optional<Plan> plan;
    std::string message;  // why there is no plan, in Chinese
};

// The best placement: the largest stored target value among those meeting
// every minimum; ties go to the larger 体质, then 魔力, 力量, 耐力, 敏捷.
PlanAnswer makePlan(const PetState& form, const PlanRequest& r);

// Every placement tried in turn: the planner's way for counts the boxes
// cannot show exactly, and the yardstick of the benchmarks.
PlanAnswer planByTrying(const PetState& form, const PlanRequest& r);

}  // namespace petcalc
