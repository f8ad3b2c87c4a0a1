#pragma once
// The mouse as every windowing system has it, and the keyboard's click, for
// Form1's buttons. A front end reports only its native events: a mouse
// button went down or up, delivered to a control, with the pointer over it
// or not; a key activated a control; the pointer was lost (the capture was
// taken away, the window or page was deactivated or closed). Every decision
// is taken here:
// - the first press captures the pointer for the control it went to, and
//   every press and release goes to that control until the last button is
//   up;
// - a click is a primary release over the control whose primary press was
//   over it too;
// - a key's click spends a primary press under way: its release clicks no
//   more;
// - a press of a button the model holds down already means its release was
//   lost: the hold ends first;
// - when the last button goes up every repeat stops, then the release is
//   delivered, then the click.

#include <string>
#include <string_view>

namespace petcalc {

enum class MouseButton { Left, Right, Middle, Back, Forward };

// Who hears the model's decisions.
class PointerTarget {
public:
    virtual ~PointerTarget() = default;
    virtual void press(std::string_view control) = 0;
    virtual void release(std::string_view control) = 0;
    virtual void click(std::string_view control) = 0;
    virtual void stopRepeats() = 0;
};

class Pointer {
public:
    explicit Pointer(PointerTarget& target) : m_target(target) {}

    // `to` is the control the window system delivered the event to; `over`
    // says whether the pointer was over it.
    void down(std::string_view to, MouseButton b, bool over);
    void up(std::string_view to, MouseButton b, bool over);
    void key(std::string_view control);
    // No release can come any more: the hold ends, every repeat stops.
    void lost();
    // The control can no longer receive its release (hidden, disabled).
    void controlGone(std::string_view control) {
        if (!m_capture.empty() && control == m_capture) lost();
    }

    bool anyDown() const { return m_down != 0; }
    bool isDown(MouseButton b) const { return (m_down & bit(b)) != 0; }
    // The control that has the pointer, or empty.
    std::string_view captured() const { return m_capture; }
    // The control whose primary press may still click, or empty.
    std::string_view armed() const { return m_armed; }

private:
    static unsigned bit(MouseButton b) { return 1u << static_cast<unsigned>(b); }

    PointerTarget& m_target;
    unsigned m_down = 0;
    std::string m_capture, m_armed;
};

}  // namespace petcalc
