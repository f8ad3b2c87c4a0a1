#pragma once
// The form as the operations see it: box texts, check values, faults, and
// a place to show the live-recompute flag. The main window implements it
// with widgets, Form1Events stands between it and the operations. One
// contract matters to the operations: when setText changes the text of a
// point box (Text11 .. Text15), Engine::pointBoxChanged has run before
// setText returns, as a text-changed event would; a write that leaves the
// text as it was raises no event. Form1Events keeps that contract, so a
// window's own setText only writes.

#include <string>
#include <string_view>

#include "fault.h"
#include "petsheet.h"

namespace petcalc {

class Form {
public:
    virtual ~Form() = default;
    virtual std::string text(Box b) const = 0;
    virtual void setText(Box b, const std::string& text) = 0;
    virtual bool isChecked(Check c) const = 0;
    // Sets a check box as a restored pet has it; raises no event.
    virtual void setChecked(Check c, bool on) = 0;
    // Called at most once per user action, after the action has stopped.
    virtual void reportFault(const Fault& f) = 0;
    // The live-recompute flag (the operations own it) changed: a window
    // may show it, on Label21's enabled state for assistive technology.
    virtual void showLiveRecompute(bool /*on*/) {}
};

}  // namespace petcalc
