#pragma once
// Undo and redo of whole actions: the states at the ends of actions, at most
// kHistorySteps undos back. The caller records the state after each action;
// an action that changed nothing adds nothing, and edits typed one after
// another into the same box are one step. Recording after an undo drops
// the states that redo would have given back.

#include <cstddef>
#include <deque>

#include "petstate.h"

namespace petcalc {

inline constexpr std::size_t kHistorySteps = 100;

class History {
public:
    explicit History(const PetState& start = {}) { m_states.push_back(start); }

    // Forgets every step: `s` is where undo stops.
    void start(const PetState& s);
    // The state after an action. `typedBox` is the box number of a typed
    // edit (0 for any other action): typing on in the same box adds to its
    // step instead of making another.
    void record(const PetState& s, int typedBox = 0);
    bool canUndo() const { return m_at > 0; }
    bool canRedo() const { return m_at + 1 < m_states.size(); }
    // The state to go back (or forward) to; the caller restores it.
    const PetState& undo();
    const PetState& redo();
    const PetState& current() const { return m_states[m_at]; }

private:
    std::deque<PetState> m_states;
    std::size_t m_at = 0;      // the state the form shows
    int m_typing = 0;          // the box the last step was typed into, if it was
};

}  // namespace petcalc
