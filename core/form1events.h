#pragma once
// Form1's event wiring: which event of which control runs which operation.
// A front end creates its widgets from the window data (windowtable.h) and
// hands every button press, release and click, every tick and every text
// change of a box to this class, by control name. It implements Form (the
// boxes, check boxes and the flag) and Platform (timers, the growth table).

#include <string_view>

#include "autorepeat.h"
#include "engine.h"
#include "form.h"

namespace petcalc {

class Platform : public RepeatTimers {
public:
    // Opens Form2 without an owner and without blocking: made anew when it
    // is not open, brought forward (and left as it is) when it is.
    virtual void openGrowthTable() = 0;
};

class Form1Events : private Form {
public:
    Form1Events(Form& form, Platform& platform) : m_form(form), m_platform(platform) {}

    const Engine& engine() const { return m_engine; }

    // A mouse button went down or up on a button (any button, any
    // modifiers). The front end sends the release to the button that got
    // the press, wherever the pointer is by then.
    void press(std::string_view button);
    void release(std::string_view button);
    // A click: the primary button released over the button that got its
    // press, or the keyboard's activation of the focused button.
    void click(std::string_view button);
    void tick(int timer, bool anyButtonDown);
    // The text of a box changed, typed or written by the program.
    void textChanged(Box b);
    // The last mouse button went up, wherever that was delivered.
    void allButtonsUp() { m_repeat.stopAll(); }
    // The button can no longer receive its release (hidden, disabled,
    // the pointer grab was taken away).
    void releaseLost(std::string_view button);
    void stopAllRepeats() { m_repeat.stopAll(); }
    bool isRunning(int timer) const { return m_repeat.isRunning(timer); }

private:
    // Form, passed through; a fault stops every repeat before it is shown,
    // since a message takes the pointer and the release would be lost.
    std::string text(Box b) const override { return m_form.text(b); }
    void setText(Box b, const std::string& t) override { m_form.setText(b, t); }
    bool isChecked(Check c) const override { return m_form.isChecked(c); }
    bool liveRecompute() const override { return m_form.liveRecompute(); }
    void setLiveRecompute(bool on) override { m_form.setLiveRecompute(on); }
    void reportFault(const Fault& f) override;

    Form& m_form;
    Platform& m_platform;
    Engine m_engine{*this};
    AutoRepeat m_repeat{m_engine, m_platform};
};

}  // namespace petcalc
