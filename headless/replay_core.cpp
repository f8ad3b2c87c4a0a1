// petcalc-replay-core: the reference front end. It plays the replay
// protocol over the core, the window data and the repeat logic with no
// toolkit at all: boxes are strings, timers are flags, and the mouse is the
// small model every windowing system shares (the first press captures the
// pointer for the control under it until the last button is up). Every
// other front end's output is held against this one's.

#include <string>

#include "fault.h"
#include "form1events.h"
#include "protocol.h"
#include "windowtable.h"

namespace petcalc::replay {
namespace {

class Headless : public Form, public Platform {
public:
    State run(const Step& s) {
        m_fault.reset();
        if (!m_form1 && !(s.op == StepOp::Close && s.window == "Form2")) throw StepError("Form1 is closed");
        switch (s.op) {
        case StepOp::Type: type(s.box, s.text); break;
        case StepOp::Check: check(s.check, s.checked); break;
        case StepOp::Click:
            if (m_down.any()) throw StepError("a mouse button is down");
            press(s.control, MouseButton::Left);
            release(s.control, MouseButton::Left, false);
            break;
        case StepOp::Press: press(s.control, s.button); break;
        case StepOp::Release: release(s.control, s.button, s.outside); break;
        case StepOp::Key:  // a click without a press; a mouse click under way on that button is spent
            if (m_armed == s.control) m_armed.clear();
            m_events.click(s.control);
            break;
        case StepOp::Tick:
            if (!m_running[s.timer]) throw StepError(timerName(s.timer) + " is not running");
            m_events.tick(s.timer, m_down.any());
            break;
        case StepOp::Close: close(s.window); break;
        }
        return state();
    }

    // Form
    std::string text(Box b) const override { return m_texts[boxNumber(b)]; }
    void setText(Box b, const std::string& t) override {
        if (m_texts[boxNumber(b)] == t) return;  // no change, no event
        m_texts[boxNumber(b)] = t;
        m_events.textChanged(b);
    }
    bool isChecked(Check c) const override { return m_checks[static_cast<int>(c)]; }
    bool liveRecompute() const override { return m_flag; }
    void setLiveRecompute(bool on) override { m_flag = on; }
    void reportFault(const Fault& f) override { m_fault = f; }

    // Platform
    void startTimer(int n) override { m_running[n] = true; }
    void stopTimer(int n) override { m_running[n] = false; }
    void openGrowthTable() override { m_form2 = true; }

private:
    struct Buttons {
        std::array<bool, 3> down{};
        bool any() const { return down[0] || down[1] || down[2]; }
    };

    // A user replaces the whole text: select all, then type. Each key
    // stroke of printable ASCII is a change of its own; any other run of
    // characters arrives at once, as an input method commits it.
    void type(Box b, const std::string& t) {
        if (t.empty()) return setText(b, "");
        std::size_t i = 0;
        std::string typed;
        while (i < t.size()) {
            const auto ascii = [&](std::size_t k) { return t[k] >= 0x20 && t[k] < 0x7f; };
            if (ascii(i)) {
                typed += t[i++];
                setText(b, typed);
                continue;
            }
            while (i < t.size() && !ascii(i)) typed += t[i++];
            setText(b, typed);
        }
    }

    void check(int n, bool on) {
        if (m_down.any()) throw StepError("a mouse button is down");
        m_checks[n] = on;
    }

    void press(const std::string& control, MouseButton b) {
        const int k = static_cast<int>(b);
        if (m_down.down[k]) throw StepError("that mouse button is down already");
        if (!m_down.any()) m_capture = control;  // the press captures the pointer
        m_down.down[k] = true;
        // A click needs the primary press over the button that then gets it.
        if (b == MouseButton::Left && control == m_capture) m_armed = m_capture;
        m_events.press(m_capture);
    }

    void release(const std::string& control, MouseButton b, bool outside) {
        const int k = static_cast<int>(b);
        if (!m_down.down[k]) throw StepError("that mouse button is not down");
        m_down.down[k] = false;
        const std::string target = m_capture;  // the release comes back to the pressed button
        if (!m_down.any()) {
            m_capture.clear();
            m_events.allButtonsUp();
        }
        m_events.release(target);
        if (b == MouseButton::Left) {
            const bool over = control == target && !outside;
            const bool armed = m_armed == target;
            m_armed.clear();
            if (over && armed) m_events.click(target);
        }
    }

    void close(const std::string& window) {
        if (window == "Form2") {
            if (!m_form2) throw StepError("Form2 is not open");
            m_form2 = false;
            return;
        }
        // A closed window's buttons can no longer get their releases.
        m_form1 = false;
        m_events.stopAllRepeats();
    }

    State state() const {
        State s;
        s.texts = m_texts;
        s.flag = m_flag;
        for (int n = 1; n <= kTimerCount; ++n)
            if (m_running[n]) s.running.push_back(n);
        s.form1 = m_form1;
        s.form2 = m_form2;
        if (m_fault) {
            s.faultKind = std::string(faultKindName(m_fault->kind));
            s.faultMessage = faultMessage(*m_fault);
        }
        return s;
    }

    std::array<std::string, kBoxCount + 1> m_texts;
    std::array<bool, 9> m_checks{};
    bool m_flag = false;
    std::array<bool, kTimerCount + 1> m_running{};
    bool m_form1 = true, m_form2 = false;
    Buttons m_down;
    std::string m_capture, m_armed;
    std::optional<Fault> m_fault;
    Form1Events m_events{*this, *this};
};

}  // namespace
}  // namespace petcalc::replay

int main() {
    using namespace petcalc::replay;
    Headless window;
    return replaySteps("petcalc-replay-core", [&](const Step& step) { return window.run(step); });
}
