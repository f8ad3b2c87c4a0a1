#include "fault.h"

#include <cmath>

namespace petcalc {

FaultKind classify(double result) {
    if (std::isnan(result)) return FaultKind::InvalidOperation;
    // Finite singles in, so a double infinity can only be a division by zero.
    if (std::isinf(result)) return FaultKind::DivisionByZero;
    return FaultKind::Overflow;  // a finite double beyond the single range
}

std::string_view faultKindName(FaultKind k) {
    switch (k) {
    case FaultKind::Overflow: return "overflow";
    case FaultKind::DivisionByZero: return "division by zero";
    case FaultKind::InvalidOperation: return "invalid operation";
    }
    return "";
}

namespace {

std::string opName(const Fault& f) {
    switch (f.op) {
    case Op::Ok: return "「确定」";
    case Op::LiveRecompute: return "修改加点后的自动重算";
    case Op::ToTargetLevel: return "「到目标等级」";
    case Op::LevelUp: return "升一级（↑）";
    case Op::LevelDown: return "降一级（↓）";
    case Op::PointStep:
    case Op::PointPress:
        return "调整" + std::string(f.attr ? attrInfo(*f.attr).caption : "属性") + "点数";
    case Op::EstimateGrowth: return "「计算成长」";
    case Op::Reset: return "「重置」";
    }
    return "";
}

// What the user sees for a variable: the caption of the box that shows it.
std::string_view varCaption(Var v) {
    switch (v) {
    case Var::qn: return "潜能";
    case Var::hp: return "气血";
    case Var::MP: return "魔法";
    case Var::SH: return "攻击";
    case Var::fy: return "防御";
    case Var::sd: return "速度";
    case Var::lli: return "灵力";
    case Var::cz: return "成长";
    case Var::lv: case Var::flv: return "等级";
    case Var::tz: return "体质";
    case Var::ml: return "魔力";
    case Var::LL: return "力量";
    case Var::nl: return "耐力";
    case Var::mj: return "敏捷";
    default: return varName(v);
    }
}

}  // namespace

std::string faultMessage(const Fault& f) {
    const std::string where = opName(f) + "未完成：";
    if (f.box)
        return where + "「" + std::string(boxCaption(*f.box)) +
               "」框中的数值超出了可计算的范围（绝对值须小于 3.4E+38）。请改小该框中的数值后重试。";
    if (f.op == Op::EstimateGrowth && f.kind != FaultKind::Overflow)
        return where + "体质点数不能为 0。成长是由气血反推出来的，需要除以体质点数；"
                       "请在「体质」框中填写宠物的体质点数后再计算成长。";
    const std::string what = f.var ? "「" + std::string(varCaption(*f.var)) + "」" : std::string("结果");
    switch (f.kind) {
    case FaultKind::Overflow:
        return where + "计算" + what +
               "时结果超出了可计算的范围（绝对值须小于 3.4E+38）。请检查等级、成长、资质、加点和装备框中是否有过大的数值。";
    case FaultKind::DivisionByZero:
        return where + "计算" + what + "时出现了除以 0。请检查输入的数值。";
    case FaultKind::InvalidOperation:
        return where + "计算" + what + "时出现了无效的运算（0 除以 0）。请检查输入的数值。";
    }
    return where;
}

}  // namespace petcalc
