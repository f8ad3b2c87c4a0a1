#pragma once
// A window without widgets: boxes are strings, timers do nothing, and every
// event goes through Form1Events as a front end's would.

#include <array>
#include <string>
#include <vector>

#include "form1events.h"

namespace petcalc::bench {

class FakeForm : public Form, public Platform {
public:
    std::string text(Box b) const override { return m_texts[boxNumber(b)]; }
    void setText(Box b, const std::string& t) override { m_texts[boxNumber(b)] = t; }
    bool isChecked(Check c) const override { return m_checks[static_cast<int>(c)]; }
    void setChecked(Check c, bool on) override { m_checks[static_cast<int>(c)] = on; }
    void reportFault(const Fault& f) override { faults.push_back(f); }
    void startTimer(int) override {}
    void stopTimer(int) override {}
    void openGrowthTable() override {}

    // The user types into a box, or clicks a button.
    void type(Box b, const std::string& t) {
        m_texts[boxNumber(b)] = t;
        events.textChanged(b);
    }
    void click(std::string_view button) {
        events.buttonDown(button, MouseButton::Left, true);
        events.buttonUp(button, MouseButton::Left, true);
    }
    void check(Check c, bool on = true) { m_checks[static_cast<int>(c)] = on; }

    Form1Events events{*this, *this};
    std::vector<Fault> faults;

private:
    std::array<std::string, kBoxCount + 1> m_texts{};
    std::array<bool, 9> m_checks{};
};

}  // namespace petcalc::bench
