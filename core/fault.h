#pragma once
// Arithmetic faults. Every operand a formula sees is a finite single, so no
// intermediate double can overflow; a result that is not a finite single
// can only come from an overflow at the store, a division by zero (double
// infinity) or an invalid operation (NaN). An operation stops at the first
// such result and leaves the faulting variable as it was.

#include <optional>
#include <string>
#include <string_view>

#include "petsheet.h"

namespace petcalc {

enum class FaultKind { Overflow, DivisionByZero, InvalidOperation };

// The user actions that can fault, for the message.
enum class Op {
    Ok,              // "确定"
    LiveRecompute,   // a point box edited by hand
    ToTargetLevel,   // "到目标等级"
    LevelUp,         // "↑" click or tick
    LevelDown,       // "↓" click or tick
    PointStep,       // a point step button click or tick
    PointPress,      // a point step button press (rewrites its box)
    EstimateGrowth,  // "计算成长"
    Reset,           // "重置": computes nothing, cannot fault
};

struct Fault {
    FaultKind kind;
    Op op;
    std::optional<Box> box;  // set when a box's text read out of range
    std::optional<Var> var;  // set when a formula's result failed
    std::optional<Attr> attr;  // the attribute of a point step or press

    bool operator==(const Fault&) const = default;
};

// The kind of fault a non-finite single stands for, given its double source.
FaultKind classify(double result);

// "overflow", "division by zero", "invalid operation".
std::string_view faultKindName(FaultKind k);

// The message shown to the user, in Simplified Chinese: what went wrong, in
// which operation, and which box to fix.
std::string faultMessage(const Fault& f);

}  // namespace petcalc
