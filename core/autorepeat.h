#pragma once
// Hold-to-repeat, one pattern for the twenty point step buttons and the two
// level buttons: the press starts the button's own timer at 100 ms and
// shows the held value again, the release stops it, the click and every
// tick run the same step. A front end maps its mouse, keyboard and timer
// events onto these calls and runs real timers behind RepeatTimers.

#include <array>

#include "engine.h"
#include "windowtable.h"

namespace petcalc {

inline constexpr int kRepeatIntervalMs = 100;

// The timers of the hold-to-repeat buttons, Timer1 .. Timer22.
class RepeatTimers {
public:
    virtual ~RepeatTimers() = default;
    // Timer n ticks every kRepeatIntervalMs from now on, the first tick one
    // interval after this call.
    virtual void startTimer(int n) = 0;
    virtual void stopTimer(int n) = 0;
};

class AutoRepeat {
public:
    AutoRepeat(Engine& engine, RepeatTimers& timers) : m_engine(engine), m_timers(timers) {}

    void press(const RepeatRow& r);    // any mouse button, any modifiers
    void release(const RepeatRow& r);  // any mouse button
    void click(const RepeatRow& r);    // a primary click, or the keyboard
    // A tick of timer n. A tick while no mouse button is down belongs to a
    // hold whose release never arrived: it ends that repeat instead.
    void tick(int timer, bool anyButtonDown);
    void stop(int timer);
    // Every repeat ends: a fault is reported, the last mouse button went up
    // somewhere, or a release can no longer arrive.
    void stopAll();
    bool isRunning(int timer) const { return m_running[timer]; }

private:
    void step(const RepeatRow& r);

    Engine& m_engine;
    RepeatTimers& m_timers;
    std::array<bool, kTimerCount + 1> m_running{};
};

}  // namespace petcalc
