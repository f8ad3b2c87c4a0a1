#include "pointer.h"

namespace petcalc {

void Pointer::down(std::string_view to, MouseButton b, bool over) {
    if (isDown(b)) lost();
    if (!m_down) m_capture = to;
    m_down |= bit(b);
    if (b == MouseButton::Left && over && to == m_capture) m_armed = m_capture;
    m_target.press(m_capture);
}

void Pointer::up(std::string_view to, MouseButton b, bool over) {
    if (!isDown(b)) return;  // its press went elsewhere, or the hold was lost
    m_down &= ~bit(b);
    const std::string target = m_capture;
    if (!m_down) {
        m_capture.clear();
        m_target.stopRepeats();
    }
    m_target.release(target);
    if (b != MouseButton::Left) return;
    const bool click = !m_armed.empty() && m_armed == target && over && to == target;
    m_armed.clear();
    if (click) m_target.click(target);
}

void Pointer::key(std::string_view control) {
    if (control == m_armed) m_armed.clear();
    m_target.click(control);
}

void Pointer::lost() {
    m_down = 0;
    m_capture.clear();
    m_armed.clear();
    m_target.stopRepeats();
}

}  // namespace petcalc
