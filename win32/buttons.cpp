// The buttons of Form1 and the mouse. Every button is subclassed and takes
// its mouse and Space key messages itself instead of the button class, which
// would report only the primary button, capture the pointer on its own terms
// (the Space key too, taking it from a held button) and click on a release
// whose press was not over it. Each mouse button's press and release goes
// to the pointer model (pointer.h), which decides; this file only holds the
// capture the model asks for and draws a button down while it is armed.

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <iterator>
#include <optional>
#include <utility>

#include "accessible.h"
#include "form1.h"
#include "look.h"

namespace petcalc::win32 {

namespace {

// The MK_ bit of each MouseButton.
constexpr UINT kBit[] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON, MK_XBUTTON1, MK_XBUTTON2};

// The mouse button that went down or up, if any; down says which way.
std::optional<MouseButton> buttonOf(UINT msg, WPARAM wp, bool& down) {
    down = true;
    switch (msg) {
    case WM_LBUTTONUP: down = false; [[fallthrough]];
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: return MouseButton::Left;  // a double click's second press is a press
    case WM_RBUTTONUP: down = false; [[fallthrough]];
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: return MouseButton::Right;
    case WM_MBUTTONUP: down = false; [[fallthrough]];
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return MouseButton::Middle;
    case WM_XBUTTONUP: down = false; [[fallthrough]];
    case WM_XBUTTONDOWN: case WM_XBUTTONDBLCLK:
        return GET_XBUTTON_WPARAM(wp) == XBUTTON1 ? MouseButton::Back : MouseButton::Forward;
    }
    return std::nullopt;
}

bool inside(HWND w, LPARAM lp) {
    RECT r;
    GetClientRect(w, &r);
    return PtInRect(&r, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
}

void showPushed(HWND w, bool pushed) {
    if (w && ((SendMessageW(w, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) != pushed) SendMessageW(w, BM_SETSTATE, pushed, 0);
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
    const Pointer& pointer = m_events.pointer();
    bool down = false;
    if (const auto b = buttonOf(msg, wp, down)) {
        if (down) {
            // Windows says with each press which buttons are down: one the
            // hold has down that is up by now lost its release unseen.
            for (int k = 0; k < static_cast<int>(std::size(kBit)); ++k)
                if (k != static_cast<int>(*b) && pointer.isDown(static_cast<MouseButton>(k)) && !(wp & kBit[k])) {
                    pointerLost();
                    break;
                }
            m_events.buttonDown(name, *b, inside(w, lp));
            if (pointer.armed() == name) SetFocus(w);
        } else {
            m_events.buttonUp(name, *b, inside(w, lp));
        }
        followPointer();
        return 0;
    }
    switch (msg) {
    case WM_MOUSEMOVE:  // drawn down only while the pointer is over it
        if (pointer.armed() == name) showPushed(w, inside(w, lp));
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
            showPushed(w, false);
            // As the button class would: BN_CLICKED to Form1, which hands it on.
            SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), BN_CLICKED), reinterpret_cast<LPARAM>(w));
        }
        return 0;
    case WM_KILLFOCUS:
        if (m_spaced == w) {
            m_spaced = nullptr;
            if (pointer.armed() != name) showPushed(w, false);
        }
        break;
    case WM_CAPTURECHANGED:
        // Taken away. A fault message takes the capture for a while; the
        // hold outlives it (reportFault gives it back).
        if (reinterpret_cast<HWND>(lp) != w && !m_faultShowing) pointerLost();
        break;
    }
    return CallWindowProcW(m_buttonClassProc, w, msg, wp, lp);
}

// The capture and the drawing as the model has them now.
void Form1::followPointer() {
    const Pointer& pointer = m_events.pointer();
    HWND armed = control(pointer.armed());
    if (m_armed != armed) showPushed(std::exchange(m_armed, armed), false);
    showPushed(armed, true);
    HWND held = control(pointer.captured());
    if (held && GetCapture() != held) SetCapture(held);
    if (!held && GetCapture() && rowOf(GetCapture())) ReleaseCapture();
}

void Form1::pointerLost() {
    m_events.pointerLost();
    showPushed(std::exchange(m_armed, nullptr), false);
}

// Every repeat has stopped already (Form1Events sees to that). The message
// box is modal, so a second fault can only come from inside it; it shows
// in the box that is up, as on the other front ends.
void Form1::reportFault(const Fault& f) {
    if (!m_hwnd) return;
    m_lastFault = f;
    if (m_faultShowing) {
        if (HWND box = GetWindow(m_hwnd, GW_ENABLEDPOPUP)) SetDlgItemTextW(box, 0xFFFF, wide(faultMessage(f)).c_str());
        return;
    }
    m_faultShowing = true;
    MessageBoxW(m_hwnd, wide(faultMessage(f)).c_str(), wide(kFaultTitle).c_str(), MB_OK | MB_ICONWARNING);
    m_faultShowing = false;
    // The message took the pointer from a held button: give it back, so
    // that the button gets its release.
    if (HWND held = control(m_events.pointer().captured()); held && GetCapture() != held) SetCapture(held);
}

}  // namespace petcalc::win32
