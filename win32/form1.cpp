#include "form1.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "look.h"

namespace petcalc::win32 {

namespace {

constexpr wchar_t kClass[] = L"petcalc.Form1";
// Control IDs start above IDOK and IDCANCEL, which the dialog keys send.
constexpr int kFirstId = 100;

HFONT fontFor(const ControlRow& c, UINT dpi) { return uiFont(dpi, isTall(c) ? kTallButtonFontPixels : kFontPixels); }

// The control's font, and for a box no margins: with them a value as wide
// as " 559.3334" loses its last digit (WM_SETFONT resets them, so they
// follow it).
void setFont(HWND w, const ControlRow& c, UINT dpi) {
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(c, dpi)), FALSE);
    if (c.kind == Kind::TextBox) SendMessageW(w, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

}  // namespace

Form1::Form1() : m_form2([this] { windowClosed(); }) {}

bool Form1::create(int show) {
    static const ATOM registered = registerWindowClass(kClass, proc);
    (void)registered;
    const UINT system = dpiOf(nullptr);
    const SIZE s = frameSize(kForm1.width, kForm1.height, kWindowStyle, system);
    CreateWindowExW(WS_EX_CONTROLPARENT, kClass, wide(kForm1.caption).c_str(), kWindowStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, s.cx, s.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_hwnd) return false;
    // The window may have been put on a monitor of another DPI than the
    // system's: then it is sized for its own.
    const UINT dpi = dpiOf(m_hwnd);
    if (dpi != system) {
        const SIZE own = frameSize(kForm1.width, kForm1.height, kWindowStyle, dpi);
        SetWindowPos(m_hwnd, nullptr, 0, 0, own.cx, own.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    createControls(dpi);
    ShowWindow(m_hwnd, show);
    m_lastFocus = m_boxes[1];
    SetFocus(m_boxes[1]);
    return true;
}

void Form1::createControls(UINT dpi) {
    // Made in tab order: the dialog keys walk the controls in the order
    // they were made. The labels come last, so that none stands just before
    // a box, where a screen reader would take it for the box's name.
    const auto rows = mainWindowControls();
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    const auto key = [&](std::size_t i) { return std::pair(rows[i].kind == Kind::Label, rows[i].tab); };
    std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) { return key(a) < key(b); });
    m_controls.assign(rows.size(), nullptr);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (std::size_t i : order) {
        const ControlRow& c = rows[i];
        const wchar_t* cls = L"BUTTON";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, ex = 0;
        switch (c.kind) {
        case Kind::Button: style |= BS_PUSHBUTTON | (isTall(c) ? BS_MULTILINE : 0); break;
        case Kind::CheckBox: style |= BS_AUTOCHECKBOX; break;  // no caption: the label beside it names it
        case Kind::TextBox:
            cls = L"EDIT";
            style |= ES_AUTOHSCROLL;
            // A 1 px frame, as in the other front ends: the sunken 2 px
            // edge and the edit's own inset leave 51 of the 57 px a value
            // box has at 96 dpi, and " 4593.039" needs 55.
            ex = WS_EX_STATICEDGE;
            break;
        case Kind::Label:
            cls = L"STATIC";
            style = WS_CHILD | WS_CLIPSIBLINGS | SS_NOPREFIX | (c.name == "Label21" ? WS_DISABLED : WS_VISIBLE);
            break;
        }
        const PixelRect r = pixelRect(c.left, c.top, c.width, c.height, static_cast<int>(dpi));
        HWND w = CreateWindowExW(ex, cls, wide(shownCaption(c)).c_str(), style, r.x, r.y, r.width, r.height, m_hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + i)), instance, nullptr);
        setFont(w, c, dpi);
        m_controls[i] = w;
        if (c.kind != Kind::Label) {
            SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            (c.kind == Kind::TextBox ? m_editClassProc : m_buttonClassProc) = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
        }
        if (c.kind == Kind::TextBox) {
            m_boxes[controlNumber(c.name)] = w;
            SendMessageW(w, EM_SETLIMITTEXT, 0, 0);  // no limit of its own on what may be typed
        }
        if (c.kind == Kind::CheckBox) m_checks[controlNumber(c.name)] = w;
        if (c.name == "Label21") m_label21 = w;
    }
}

void Form1::layout(UINT dpi) {
    const auto rows = mainWindowControls();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlRow& c = rows[i];
        place(m_controls[i], c.left, c.top, c.width, c.height, dpi);
        setFont(m_controls[i], c, dpi);
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

HWND Form1::control(std::string_view name) const {
    const auto rows = mainWindowControls();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name) return m_controls[i];
    return nullptr;
}

const ControlRow* Form1::rowOf(HWND w) const {
    const auto at = std::find(m_controls.begin(), m_controls.end(), w);
    return at == m_controls.end() ? nullptr : &mainWindowControls()[at - m_controls.begin()];
}

void Form1::dispatch(MSG& msg) {
    if (m_hwnd && IsDialogMessageW(m_hwnd, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

std::string Form1::text(Box b) const { return windowText(m_boxes[boxNumber(b)]); }

void Form1::setText(Box b, const std::string& text) { SetWindowTextW(m_boxes[boxNumber(b)], wide(text).c_str()); }

bool Form1::isChecked(Check c) const {
    return SendMessageW(m_checks[static_cast<int>(c)], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form1::setChecked(Check c, bool on) {
    SendMessageW(m_checks[static_cast<int>(c)], BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form1::startTimer(int n) {
    m_running[n] = SetTimer(m_hwnd, static_cast<UINT_PTR>(n), kRepeatIntervalMs, nullptr) != 0;
}

void Form1::stopTimer(int n) {
    if (m_hwnd) KillTimer(m_hwnd, static_cast<UINT_PTR>(n));
    m_running[n] = false;
}

void Form1::command(int id, int code, HWND from) {
    const ControlRow* c = rowOf(from);
    if (!c || id < kFirstId) return;
    // Space, or an assistive technology's click (BM_CLICK).
    if (c->kind == Kind::Button && code == BN_CLICKED) {
        m_events.keyClick(c->name);
        followPointer();
    }
    if (c->kind == Kind::TextBox && code == EN_CHANGE) m_events.textChanged(boxAt(controlNumber(c->name)));
}

void Form1::windowClosed() {
    if (!m_hwnd && !m_form2.isOpen()) PostQuitMessage(0);
}

LRESULT CALLBACK Form1::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->m_hwnd = w;
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    return self ? self->handle(msg, wp, lp) : DefWindowProcW(w, msg, wp, lp);
}

LRESULT Form1::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 0;
    case WM_TIMER:
        if (wp >= 1 && wp <= kTimerCount) m_events.tick(static_cast<int>(wp));
        return 0;
    case WM_CANCELMODE:  // a modal window or the system takes the mouse (a fault's message only for a while)
        if (!m_faultShowing) pointerLost();
        break;
    case WM_ACTIVATEAPP:  // another program comes to the front
        if (!wp && !m_faultShowing) pointerLost();
        break;
    case WM_ACTIVATE:  // the focus comes back where it was, as in a dialog
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = GetFocus();
            if (f && IsChild(m_hwnd, f)) m_lastFocus = f;
        } else if (m_lastFocus) {
            SetFocus(m_lastFocus);
        }
        return 0;
    case WM_DPICHANGED: {
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(m_hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layout(HIWORD(wp));
        return 0;
    }
    case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(lp) = frameSize(kForm1.width, kForm1.height, kWindowStyle, static_cast<UINT>(wp));
        return TRUE;
    case WM_DESTROY:
        // The buttons can get no release any more.
        m_events.pointerLost();
        break;
    case WM_NCDESTROY: {
        HWND gone = std::exchange(m_hwnd, nullptr);
        SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
        windowClosed();
        return DefWindowProcW(gone, msg, wp, lp);
    }
    }
    return DefWindowProcW(m_hwnd, msg, wp, lp);
}

}  // namespace petcalc::win32
