#include "autorepeat.h"

namespace petcalc {

void AutoRepeat::press(const RepeatRow& r) {
    m_running[r.timer] = true;
    m_timers.startTimer(r.timer);
    // The held value is shown again, replacing whatever was typed there.
    if (r.attr) m_engine.pointPress(*r.attr);
    else m_engine.levelPress();
}

void AutoRepeat::release(const RepeatRow& r) { stop(r.timer); }

void AutoRepeat::click(const RepeatRow& r) { step(r); }

void AutoRepeat::tick(int timer, bool anyButtonDown) {
    if (timer < 1 || timer > kTimerCount) return;
    if (!m_running[timer]) {  // a tick of a timer no press started: make sure it stays quiet
        m_timers.stopTimer(timer);
        return;
    }
    if (!anyButtonDown) {
        stop(timer);
        return;
    }
    for (const RepeatRow& r : repeatButtons())
        if (r.timer == timer) step(r);
}

void AutoRepeat::stop(int timer) {
    if (!m_running[timer]) return;
    m_running[timer] = false;
    m_timers.stopTimer(timer);
}

void AutoRepeat::stopAll() {
    for (int n = 1; n <= kTimerCount; ++n) stop(n);
}

void AutoRepeat::step(const RepeatRow& r) {
    if (r.attr) m_engine.pointStep(*r.attr, r.step);
    else m_engine.levelStep(r.step);
}

}  // namespace petcalc
