#include "form2.h"

#include "look.h"
#include "windowtable.h"

namespace petcalc::win32 {

namespace {
constexpr wchar_t kClass[] = L"petcalc.Form2";
}

void Form2::open() {
    if (m_hwnd) {
        if (IsIconic(m_hwnd)) ShowWindow(m_hwnd, SW_RESTORE);
        SetForegroundWindow(m_hwnd);
        return;
    }
    static const ATOM registered = registerWindowClass(kClass, proc);
    (void)registered;
    // No owner: the window stays when Form1 closes, and is placed by the system.
    const UINT dpi = dpiOf(nullptr);
    const SIZE s = frameSize(kForm2.width, kForm2.height, kWindowStyle, dpi);
    CreateWindowExW(0, kClass, wide(kForm2.caption).c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, s.cx,
                    s.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_hwnd) return;
    // Multi-line, long lines wrapped at the box's width, no scroll bars.
    m_text1 = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", wide(growthTableText()).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL,
                              0, 0, 0, 0, m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100)),
                              GetModuleHandleW(nullptr), nullptr);
    layout(dpiOf(m_hwnd));
    ShowWindow(m_hwnd, SW_SHOWNORMAL);
    SetFocus(m_text1);
}

void Form2::layout(UINT dpi) {
    const ControlRow& box = kGrowthTableBox;
    place(m_text1, box.left, box.top, box.width, box.height, dpi);
    SendMessageW(m_text1, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(dpi, kFontPixels)), TRUE);
}

LRESULT CALLBACK Form2::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Form2*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->m_hwnd = w;
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form2*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (!self) return DefWindowProcW(w, msg, wp, lp);
    switch (msg) {
    case WM_DPICHANGED: {
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(w, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        self->layout(HIWORD(wp));
        return 0;
    }
    case WM_GETDPISCALEDSIZE: {
        const SIZE s = frameSize(kForm2.width, kForm2.height, kWindowStyle, static_cast<UINT>(wp));
        *reinterpret_cast<SIZE*>(lp) = s;
        return TRUE;
    }
    case WM_ACTIVATE:  // the box keeps the focus across switches of window
        if (LOWORD(wp) != WA_INACTIVE && self->m_text1) SetFocus(self->m_text1);
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrW(w, GWLP_USERDATA, 0);
        self->m_hwnd = self->m_text1 = nullptr;
        self->m_closed();
        break;
    }
    }
    return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace petcalc::win32
