#pragma once
// Form1 in plain Win32: the controls made in a loop from the window data, in
// tab order; every mouse button, Space click, timer tick and change of a
// box handed to Form1Events by control name.

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form1events.h"
#include "form2.h"
#include "windowtable.h"

namespace petcalc::win32 {

class Form1 final : public Form, public Platform {
public:
    Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Makes the window and its controls and shows it, focus in Text1.
    bool create(int show);
    // One message of the event loop; Tab and the arrow keys walk the controls.
    void dispatch(MSG& msg);

    HWND hwnd() const { return m_hwnd; }
    // The control of that name, or null.
    HWND control(std::string_view name) const;
    HWND box(int n) const { return m_boxes[n]; }
    HWND check(int n) const { return m_checks[n]; }
    bool isRunning(int timer) const { return m_running[timer]; }
    Form2& growthTable() { return m_form2; }
    const Form2& growthTable() const { return m_form2; }

    // Form
    std::string text(Box b) const override;
    void setText(Box b, const std::string& text) override;
    bool isChecked(Check c) const override;
    void setChecked(Check c, bool on) override;
    void showLiveRecompute(bool on) override { EnableWindow(m_label21, on); }
    void reportFault(const Fault& f) override;
    // The flag as Label21 shows it.
    bool liveRecompute() const { return IsWindowEnabled(m_label21); }
    // The fault whose message is showing or was shown last.
    const std::optional<Fault>& lastFault() const { return m_lastFault; }

    // Platform
    void startTimer(int n) override;
    void stopTimer(int n) override;
    void openGrowthTable() override { m_form2.open(); }

private:
    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK controlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT button(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    void createControls(UINT dpi);
    void layout(UINT dpi);
    void command(int id, int code, HWND from);
    const ControlRow* rowOf(HWND w) const;
    void followPointer();
    void pointerLost();
    void windowClosed();

    HWND m_hwnd = nullptr;
    std::vector<HWND> m_controls;  // by row of mainWindowControls()
    std::array<HWND, kBoxCount + 1> m_boxes{};
    std::array<HWND, 9> m_checks{};
    HWND m_label21 = nullptr;
    WNDPROC m_buttonClassProc = nullptr;  // the class procedures under the subclassing
    WNDPROC m_editClassProc = nullptr;
    HWND m_lastFocus = nullptr;
    std::array<bool, kTimerCount + 1> m_running{};

    HWND m_armed = nullptr;   // drawn down: its primary press may still click
    HWND m_spaced = nullptr;  // the button the Space key is down on
    bool m_faultShowing = false;
    std::optional<Fault> m_lastFault;

    Form2 m_form2;
    Form1Events m_events{*this, *this};
};

}  // namespace petcalc::win32
