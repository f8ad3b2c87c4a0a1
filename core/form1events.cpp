#include "form1events.h"

namespace petcalc {

void Form1Events::press(std::string_view button) {
    if (const RepeatRow* r = findRepeat(button)) m_repeat.press(*r);
}

void Form1Events::release(std::string_view button) {
    if (const RepeatRow* r = findRepeat(button)) m_repeat.release(*r);
}

void Form1Events::click(std::string_view button) {
    if (const RepeatRow* r = findRepeat(button)) m_repeat.click(*r);
    else if (button == "Command1") m_engine.ok();
    else if (button == "Command2") m_engine.toTargetLevel();
    else if (button == "Command3") m_engine.reset();
    else if (button == "Command4") m_engine.estimateGrowth();
    else if (button == "Command25") m_platform.openGrowthTable();
}

bool Form1Events::changed(Box b) {
    std::string now = m_form.text(b);
    std::string& seen = m_seen[boxNumber(b)];
    if (now == seen) return false;
    seen = std::move(now);
    if (isPointBox(b)) m_engine.pointBoxChanged();
    return true;
}

void Form1Events::setText(Box b, const std::string& t) {
    if (m_form.text(b) == t) return;
    m_form.setText(b, t);
    changed(b);
}

void Form1Events::settle(int typedBox) {
    const PetState now = state();
    notePanel(now);
    if (!m_pointer.anyDown()) m_history.record(now, typedBox);
}

void Form1Events::notePanel(const PetState& now) {
    if (!panelMoved(m_panelSeen, now)) return;
    m_changes = panelChanges(m_panelSeen, now);
    m_panelSeen = now;
}

PetState Form1Events::state() const {
    PetState s;
    for (int n = 1; n <= kBoxCount; ++n) s.text(boxAt(n)) = m_form.text(boxAt(n));
    for (int n = 1; n <= 8; ++n) s.checks[n - 1] = m_form.isChecked(static_cast<Check>(n));
    s.sheet = m_engine.sheet();
    s.live = m_engine.liveRecompute();
    return s;
}

// Every box is marked seen before any is written, so a window whose own
// write raises its change event runs nothing.
void Form1Events::restore(const PetState& s) {
    m_pointer.lost();  // the finger that held a button is gone
    for (int n = 1; n <= kBoxCount; ++n) m_seen[n] = s.text(boxAt(n));
    for (int n = 1; n <= kBoxCount; ++n)
        if (m_form.text(boxAt(n)) != m_seen[n]) m_form.setText(boxAt(n), m_seen[n]);
    for (int n = 1; n <= 8; ++n) m_form.setChecked(static_cast<Check>(n), s.checks[n - 1]);
    m_engine.restore(s.sheet, s.live);
}

// Another pet shown is no move of the panel: it starts without changes.
void Form1Events::load(const PetState& s) {
    restore(s);
    m_panelSeen = state();
    m_changes.clear();
    m_history.start(m_panelSeen);
}

void Form1Events::open(const PetState& s) {
    m_pointer.lost(), settle();  // a hold under way is a step of its own
    restore(s);
    m_panelSeen = state();
    m_changes.clear();
    settle();
}

bool Form1Events::applyPlan(const PlanRequest& r) {
    const PlanAnswer a = makePlan(state(), r);
    if (!a.plan) return false;
    m_engine.apply(a.plan->totals);
    settle();
    return true;
}

// A hold under way ends first and counts as the step to undo.
void Form1Events::undo() {
    m_pointer.lost(), settle();
    if (m_history.canUndo()) restore(m_history.undo()), notePanel(state());
}

void Form1Events::redo() {
    m_pointer.lost(), settle();
    if (m_history.canRedo()) restore(m_history.redo()), notePanel(state());
}

void Form1Events::reportFault(const Fault& f) {
    m_repeat.stopAll();
    m_form.reportFault(f);
}

}  // namespace petcalc
