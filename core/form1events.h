#pragma once
// Form1's event wiring: which event of which control runs which operation.
// A front end creates its widgets from the window data (windowtable.h) and
// hands this class its native events by control name: mouse buttons down
// and up, a key's activation of a button, the pointer lost, timer ticks and
// box text changes. The pointer model (pointer.h) decides what they mean;
// the front end implements Form (the boxes and check boxes) and Platform
// (timers, the growth table).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "autorepeat.h"
#include "changes.h"
#include "engine.h"
#include "form.h"
#include "history.h"
#include "planner.h"
#include "petstate.h"
#include "pointer.h"

namespace petcalc {

class Platform : public RepeatTimers {
public:
    // Opens Form2 without an owner and without blocking: made anew when it
    // is not open, brought forward (and left as it is) when it is.
    virtual void openGrowthTable() = 0;
};

class Form1Events : private Form, private PointerTarget {
public:
    Form1Events(Form& form, Platform& platform) : m_form(form), m_platform(platform) {}

    const Engine& engine() const { return m_engine; }
    const Pointer& pointer() const { return m_pointer; }

    // Mouse buttons on Form1's buttons, the keyboard's (or an assistive
    // technology's) activation of one, the pointer lost; see pointer.h.
    // Each ends a step of the undo history once no mouse button is down
    // (a hold is one step, from its press to its release).
    void buttonDown(std::string_view to, MouseButton b, bool over) { m_pointer.down(to, b, over), settle(); }
    void buttonUp(std::string_view to, MouseButton b, bool over) { m_pointer.up(to, b, over), settle(); }
    void keyClick(std::string_view button) { m_pointer.key(button), settle(); }
    void pointerLost() { m_pointer.lost(), settle(); }
    void controlGone(std::string_view button) { m_pointer.controlGone(button), settle(); }
    // Timer n fell due. A tick while no mouse button is down belongs to a
    // hold whose release never arrived: it ends that repeat instead.
    void tick(int timer) { m_repeat.tick(timer, m_pointer.anyDown()), settle(); }
    // The text of a box may have changed, typed or written. Only a text
    // that differs from the one last seen is a change: a key stroke that
    // puts back the character it replaced changes nothing. Typing on in
    // one box is one step.
    void textChanged(Box b) {
        if (changed(b)) settle(boxNumber(b));
    }
    // A check box was clicked (only a front end that undoes needs to say).
    void checkChanged() { settle(); }
    bool isRunning(int timer) const { return m_repeat.isRunning(timer); }

    // The pet as a value, and the form set to one. A restore writes the
    // boxes and check boxes without any change event (no recompute runs)
    // and ends every hold, as when the pointer is lost.
    PetState state() const;
    void load(const PetState& s);  // a page opened on a kept pet: undo starts here
    void open(const PetState& s);  // a pet opened from a link: one step
    void undo();
    void redo();
    // "应用" of the plan that `r` gives for the form as it is: one action,
    // one step to undo. False, and nothing done, when there is no plan.
    bool applyPlan(const PlanRequest& r);
    // The change beside each box of the potential and the panel, from the
    // panel's last move: kept while an action moves none of the seven, none
    // when a pet was opened or loaded.
    const std::vector<PanelChange>& changes() const { return m_changes; }
    const History& history() const { return m_history; }

private:
    // Form, passed through. A write raises the change event once, whether
    // or not the window's own write raised it already; a fault stops every
    // repeat before it is shown, since a message takes the pointer.
    std::string text(Box b) const override { return m_form.text(b); }
    void setText(Box b, const std::string& t) override;
    bool isChecked(Check c) const override { return m_form.isChecked(c); }
    void setChecked(Check c, bool on) override { m_form.setChecked(c, on); }
    void reportFault(const Fault& f) override;
    void showLiveRecompute(bool on) override { m_form.showLiveRecompute(on); }

    // PointerTarget: what a press, release and click of a button run.
    void press(std::string_view button) override;
    void release(std::string_view button) override;
    void click(std::string_view button) override;
    void stopRepeats() override { m_repeat.stopAll(); }

    bool changed(Box b);
    void settle(int typedBox = 0);
    void restore(const PetState& s);
    void notePanel(const PetState& now);

    Form& m_form;
    Platform& m_platform;
    std::array<std::string, kBoxCount + 1> m_seen;  // each box's text at its last change
    Engine m_engine{*this};
    AutoRepeat m_repeat{m_engine, m_platform};
    Pointer m_pointer{*this};
    History m_history;
    PetState m_panelSeen;  // the form at the panel's last move
    std::vector<PanelChange> m_changes;
};

}  // namespace petcalc
