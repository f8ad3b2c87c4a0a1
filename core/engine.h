#pragma once
// The operations of the main window, one per control event, written against
// the Form interface so that every order of reads, writes and nested
// recomputes is in this one place. Each public member is one user action:
// it runs to its end or to its first fault, and reports at most one fault
// through Form::reportFault.

#include <array>
#include <initializer_list>
#include <optional>

#include "fault.h"
#include "form.h"
#include "petsheet.h"

namespace petcalc {

class Engine {
public:
    explicit Engine(Form& form) : m_form(form) {}

    const PetSheet& sheet() const { return m_sheet; }
    // On from "确定" until "重置": while it is on, editing a point box
    // recomputes the potential.
    bool liveRecompute() const { return m_live; }

    void ok();                       // "确定"
    void toTargetLevel();            // "到目标等级"
    void levelStep(int d);           // "↑" (+1) / "↓" (-1): click and tick
    void levelPress();               // press of "↑" or "↓": show lv again
    void pointStep(Attr a, int d);   // "+1", "-5", ...: click and tick
    void pointPress(Attr a);         // press of a point step button
    void estimateGrowth();           // "计算成长"
    void reset();                    // "重置"
    // "应用" of a plan: the five counts into Text11 .. Text15 in that order,
    // as the level changes write them, then "确定"; one action.
    void apply(const std::array<float, 5>& totals);
    // Text-changed event of Text11 .. Text15: the live recompute. Inside
    // another action's write it is part of that action; on its own (the user
    // typed) it is an action of its own.
    void pointBoxChanged();
    // A kept pet given back: its sheet and flag as they were saved.
    void restore(const PetSheet& sheet, bool live);

private:
    class Action;
    bool read(Box b, float PetSheet::*v);
    bool store(float PetSheet::*v, Var name, double result);
    bool show(Box b, float v);
    bool readBoxes(std::initializer_list<Box> boxes);
    bool potential();
    bool panel(bool equipmentLast);
    void showPanel();
    bool moveToLevel();
    void fail(FaultKind kind, std::optional<Box> box, std::optional<Var> var);
    void setLiveRecompute(bool on);

    Form& m_form;
    PetSheet m_sheet;
    bool m_live = false;
    int m_depth = 0;           // nesting of actions: > 1 inside a box write
    Op m_op = Op::Ok;          // the outermost action running
    std::optional<Attr> m_attr;
    std::optional<Fault> m_fault;  // the first fault of the running action
};

}  // namespace petcalc
