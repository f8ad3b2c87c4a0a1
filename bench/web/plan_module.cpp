// The planner's benchmark in WebAssembly: the core as the page's module
// carries it (same library, same compile and link options, web/), with the
// plans of plan_cases.h. plan_bench.mjs times it in Chromium.
//
// Exported:
//   _initialize()         once, before anything else
//   pb_cases() -> count   the plans of the table
//   pb_prepare(i)         makes plan i current: its pet and request
//   pb_plan(n) -> 1|0     makes the current plan n times; 0: no plan
//   pb_label() -> text    what it placed (or why there is no plan),
//                         NUL-terminated

#include <string>

#include "plan_cases.h"

namespace {

using namespace petcalc;

struct Current {
    bench::PlanCase c;
    PetState pet;
    PlanRequest request;
};
Current current{bench::kPlanCases[0], {}, {}};
std::string label;

PlanAnswer plan() {
    return current.c.tried ? planByTrying(current.pet, current.request) : makePlan(current.pet, current.request);
}

}  // namespace

extern "C" {

__attribute__((export_name("pb_cases"))) int pb_cases() { return static_cast<int>(bench::kPlanCases.size()); }

__attribute__((export_name("pb_prepare"))) void pb_prepare(int i) {
    current.c = bench::kPlanCases[static_cast<std::size_t>(i)];
    current.pet = bench::planningPet(current.c.level);
    current.request = bench::planningRequest(current.c.mode, current.pet);
}

__attribute__((export_name("pb_plan"))) int pb_plan(int n) {
    bool made = true;
    for (int k = 0; k < n; ++k) made = plan().plan.has_value();
    return made ? 1 : 0;
}

__attribute__((export_name("pb_label"))) const char* pb_label() {
    const PlanAnswer a = plan();
    label = a.plan ? bench::planLabel(current.c, *a.plan) : a.message;
    return label.c_str();
}

}  // extern "C"
