#include "history.h"

namespace petcalc {

void History::start(const PetState& s) {
    m_states.assign(1, s);
    m_at = 0;
    m_typing = 0;
}

void History::record(const PetState& s, int typedBox) {
    if (s == m_states[m_at]) return;
    m_states.erase(m_states.begin() + static_cast<std::ptrdiff_t>(m_at) + 1, m_states.end());
    // Typing on in a box replaces its step's end, unless that step is where
    // undo stops (it was undone to, or begins the history).
    if (typedBox != 0 && typedBox == m_typing && m_at > 0) {
        m_states[m_at] = s;
        return;
    }
    m_states.push_back(s);
    ++m_at;
    if (m_states.size() > kHistorySteps + 1) {
        m_states.pop_front();
        --m_at;
    }
    m_typing = typedBox;
}

const PetState& History::undo() {
    if (canUndo()) --m_at;
    m_typing = 0;
    return m_states[m_at];
}

const PetState& History::redo() {
    if (canRedo()) ++m_at;
    m_typing = 0;
    return m_states[m_at];
}

}  // namespace petcalc
