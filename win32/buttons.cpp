// The buttons of Form1 and the mouse. Every button is subclassed and takes
// its mouse and Space key messages itself instead of the button class, which
// would report only the primary button, capture the pointer on its own terms
// (the Space key too, taking it from a held button) and click on a release
// whose press was not over it. Here:
// - the first press of any mouse button captures the pointer for the button,
//   so that every press and release comes back to it until the last mouse
//   button is up; each is handed on as a press or release;
// - a click (BN_CLICKED to Form1) follows a primary release over the button
//   whose primary press was over it too, and Space released on the button;
//   Space spends a primary press under way, whose release then gives none;
// - every repeat ends when the last button goes up, when the capture is
//   taken away, and before a fault message shows.

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "accessible.h"
#include "form1.h"
#include "look.h"

namespace petcalc::win32 {

namespace {

constexpr UINT kAllButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2;

// The MK_ bit of the mouse button that went down or up, or 0.
UINT buttonOf(UINT msg, WPARAM wp) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP: return MK_LBUTTON;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP: return MK_RBUTTON;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP: return MK_MBUTTON;
    case WM_XBUTTONDOWN: case WM_XBUTTONDBLCLK: case WM_XBUTTONUP:
        return GET_XBUTTON_WPARAM(wp) == XBUTTON1 ? MK_XBUTTON1 : MK_XBUTTON2;
    }
    return 0;
}

// The second press of a double click is a press like the first.
bool wentDown(UINT msg) {
    return msg != WM_LBUTTONUP && msg != WM_RBUTTONUP && msg != WM_MBUTTONUP && msg != WM_XBUTTONUP;
}

bool inside(HWND w, LPARAM lp) {
    RECT r;
    GetClientRect(w, &r);
    return PtInRect(&r, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
}

void showPushed(HWND w, bool pushed) {
    if (((SendMessageW(w, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) != pushed) SendMessageW(w, BM_SETSTATE, pushed, 0);
}

void notifyClick(HWND w) {
    SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), BN_CLICKED), reinterpret_cast<LPARAM>(w));
}

}  // namespace

// Every control but the labels is subclassed the classic way, Form1 in its
// user data (the common controls' SetWindowSubclass looks up a window
// property on every message, a round trip to the server under Wine): each
// answers a screen reader with the table's name, and the buttons take the
// mouse themselves.
LRESULT CALLBACK Form1::controlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    const ControlRow* c = self->rowOf(w);
    if (msg == WM_GETOBJECT)
        if (const LRESULT named = namedAccessible(w, wp, lp, c->accessibleName)) return named;
    if (c->kind == Kind::Button) return self->button(w, msg, wp, lp);
    return CallWindowProcW(c->kind == Kind::TextBox ? self->m_editClassProc : self->m_buttonClassProc, w, msg, wp, lp);
}

LRESULT Form1::button(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    const std::string_view name = rowOf(w)->name;
    if (const UINT bit = buttonOf(msg, wp)) {
        if (wentDown(msg)) {
            pressed(w, bit, static_cast<UINT>(wp) & kAllButtons, bit == MK_LBUTTON && inside(w, lp));
            m_events.press(name);
            return 0;
        }
        if (!(m_buttons & bit)) return 0;  // its press went elsewhere
        m_buttons &= ~bit;
        const bool click = bit == MK_LBUTTON && m_armed == w && inside(w, lp);
        if (bit == MK_LBUTTON && m_armed) showPushed(std::exchange(m_armed, nullptr), false);
        if (!m_buttons) {
            m_events.allButtonsUp();
            m_held = nullptr;
            ReleaseCapture();
        }
        m_events.release(name);
        if (click) notifyClick(w);
        return 0;
    }
    switch (msg) {
    case WM_MOUSEMOVE:  // drawn down only while the pointer is over it
        if (m_armed == w) showPushed(w, inside(w, lp));
        break;
    case WM_KEYDOWN:
        if (wp != VK_SPACE) break;
        if (!(lp & (1 << 30))) {  // not the keyboard's own repeat
            m_spaced = w;
            showPushed(w, true);
        }
        return 0;
    case WM_KEYUP:
        if (wp != VK_SPACE) break;
        if (m_spaced == w) {
            m_spaced = nullptr;
            if (m_armed == w) m_armed = nullptr;
            showPushed(w, false);
            notifyClick(w);
        }
        return 0;
    case WM_KILLFOCUS:
        if (m_spaced == w) {
            m_spaced = nullptr;
            if (m_armed != w) showPushed(w, false);
        }
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) == w) break;
        m_events.stopAllRepeats();
        // A fault message takes the capture for a while; the hold outlives it.
        if (!m_faultShowing) releasedAll();
        break;
    }
    return CallWindowProcW(m_buttonClassProc, w, msg, wp, lp);
}

void Form1::pressed(HWND w, UINT bit, UINT down, bool primaryInside) {
    // A press of a button the hold has down already, or with one of its
    // buttons up by now: the hold's release went elsewhere unseen.
    if ((m_buttons & bit) || (m_buttons & ~down)) releasedAll();
    if (!m_buttons) {
        m_held = w;
        if (GetCapture() != w) SetCapture(w);
    }
    m_buttons |= bit;
    if (primaryInside && w == m_held) {
        m_armed = w;
        SetFocus(w);
        showPushed(w, true);
    }
}

void Form1::releasedAll() {
    m_events.stopAllRepeats();
    if (m_armed) showPushed(std::exchange(m_armed, nullptr), false);
    m_buttons = 0;
    HWND held = std::exchange(m_held, nullptr);
    if (held && GetCapture() == held) ReleaseCapture();
}

// Every repeat has stopped already (Form1Events sees to that).
void Form1::reportFault(const Fault& f) {
    if (m_faultShowing || !m_hwnd) return;  // one message at a time
    m_lastFault = f;
    m_faultShowing = true;
    MessageBoxW(m_hwnd, wide(faultMessage(f)).c_str(), wide(kFaultTitle).c_str(), MB_OK | MB_ICONWARNING);
    m_faultShowing = false;
    // The message took the pointer from a held button: give it back, so
    // that the button gets its release.
    if (m_buttons && m_held && IsWindow(m_held) && GetCapture() != m_held) SetCapture(m_held);
}

}  // namespace petcalc::win32
