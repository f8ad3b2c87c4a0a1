#pragma once
// Form2, the growth table: a window of its own with no owner, made anew each
// time it is opened after being closed, holding one multi-line box.

#include <windows.h>

#include <functional>

namespace petcalc::win32 {

class Form2 {
public:
    // Called when the window has gone.
    explicit Form2(std::function<void()> closed) : m_closed(std::move(closed)) {}
    Form2(const Form2&) = delete;
    Form2& operator=(const Form2&) = delete;

    // Makes and shows the window when it is not open; brings the open one
    // forward, text as the user left it, when it is.
    void open();
    bool isOpen() const { return m_hwnd != nullptr; }
    HWND hwnd() const { return m_hwnd; }
    HWND text1() const { return m_text1; }

private:
    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    void layout(UINT dpi);

    std::function<void()> m_closed;
    HWND m_hwnd = nullptr;
    HWND m_text1 = nullptr;
};

}  // namespace petcalc::win32
