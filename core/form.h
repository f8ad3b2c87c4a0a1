#pragma once
// The form as the operations see it: box texts, check values and the
// live-recompute flag. The main window implements it with widgets, the tests
// with a plain table. One contract matters: when setText changes the text
// of a point box (Text11 .. Text15), the form runs Engine::pointBoxChanged
// synchronously, before setText returns, as a text-changed event would.
// A write that leaves the text as it was raises no event.

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
    // The live-recompute flag: on from "确定" until "重置".
    virtual bool liveRecompute() const = 0;
    virtual void setLiveRecompute(bool on) = 0;
    // Called at most once per user action, after the action has stopped.
    virtual void reportFault(const Fault& f) = 0;
};

}  // namespace petcalc
