// petcalc-replay-win32: the replay protocol over the real Win32 windows.
// Each step becomes the messages a user's input produces: mouse buttons
// posted to the control under the pointer (or to the one that holds the
// capture), characters and input-method commits to the box, Space to the
// focused button, WM_CLOSE to a window; all of it goes through the
// program's own message loop. The state is read back from the windows, the
// fault from the message box that shows it. Timers do not tick on their
// own: their WM_TIMER messages are dropped, and a tick step delivers one.
//
// --check-layout instead checks Form1 as a user and a screen reader meet it
// at the display's DPI (layout.cpp), and exits 1 on a
// difference. --show MS keeps the windows up for MS milliseconds after the
// last step, for a screenshot, and writes where they are on stderr.

#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "form1.h"
#include "look.h"
#include "protocol.h"

using namespace petcalc;
using namespace petcalc::replay;
using namespace petcalc::win32;

namespace {

Form1* g_form = nullptr;
std::optional<std::pair<std::string, std::string>> g_fault;  // kind, message

// Reads the fault message as it opens, then answers it with OK.
LRESULT CALLBACK watchMessages(int code, WPARAM wp, LPARAM lp) {
    HWND box = reinterpret_cast<HWND>(wp);
    wchar_t cls[8] = {};
    if (code == HCBT_ACTIVATE && GetClassNameW(box, cls, 8) && std::wstring_view(cls) == L"#32770") {
        if (GetWindow(box, GW_OWNER) != g_form->hwnd() || windowText(box) != kFaultTitle || !g_form->lastFault()) {
            std::fprintf(stderr, "petcalc-replay-win32: a message box not owned by Form1, or not a fault\n");
            std::exit(3);
        }
        g_fault.emplace(faultKindName(g_form->lastFault()->kind), windowText(GetDlgItem(box, 0xFFFF)));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

POINT middleOf(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    POINT p{r.right / 2, r.bottom / 2};
    ClientToScreen(w, &p);
    return p;
}

LPARAM pointIn(HWND w, POINT screen) {
    ScreenToClient(w, &screen);
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}

class Replay {
public:
    Replay() {
        g_form = &m_form;
        m_form.create(SW_SHOWNORMAL);
        pump();
    }
    Form1& form() { return m_form; }

    void show(DWORD ms) {
        for (HWND w : {m_form.hwnd(), m_form.growthTable().hwnd()}) {
            RECT r;
            if (w && GetWindowRect(w, &r))
                std::fprintf(stderr, "%s %ld %ld %ld %ld\n", windowText(w).c_str(), r.left, r.top, r.right, r.bottom);
        }
        for (const DWORD end = GetTickCount() + ms; GetTickCount() < end;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            pump();
        }
    }

    State run(const Step& s) {
        g_fault.reset();
        const int k = static_cast<int>(s.button);
        switch (s.op) {
        case StepOp::Type: type(m_form.box(boxNumber(s.box)), s.text); break;
        case StepOp::Check: {
            HWND c = m_form.check(s.check);
            if (m_form.isChecked(static_cast<Check>(s.check)) != s.checked) {
                post(c, WM_LBUTTONDOWN, MK_LBUTTON, pointIn(c, middleOf(c)));
                post(c, WM_LBUTTONUP, 0, pointIn(c, middleOf(c)));
            }
            break;
        }
        case StepOp::Click:
            mouse(s.control, 0, true, false);
            mouse(s.control, 0, false, false);
            break;
        case StepOp::Press: mouse(s.control, k, true, false); break;
        case StepOp::Release: mouse(s.control, k, false, s.outside); break;
        case StepOp::Key: {
            HWND b = m_form.control(s.control);
            SetFocus(b);
            post(b, WM_KEYDOWN, VK_SPACE, 0x00390001);
            post(b, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001));
            break;
        }
        case StepOp::Tick: {
            MSG m{};
            m.hwnd = m_form.hwnd();
            m.message = WM_TIMER;
            m.wParam = static_cast<WPARAM>(s.timer);
            m_form.dispatch(m);
            pump();
            break;
        }
        case StepOp::Close:
            post(s.window == "Form1" ? m_form.hwnd() : m_form.growthTable().hwnd(), WM_CLOSE, 0, 0);
            break;
        default: break;  // the page's own steps: refused before they come here
        }
        return m_last = state();
    }

    Situation situation() const {
        Situation now{.form1 = m_form.hwnd() != nullptr, .form2 = m_form.growthTable().isOpen()};
        for (int n = 1; n <= kTimerCount; ++n) now.running[n] = m_form.isRunning(n);
        now.down = m_down;
        return now;
    }

private:
    void pump() {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT || (m.message == WM_TIMER && m.hwnd == m_form.hwnd() && m.hwnd)) continue;
            m_form.dispatch(m);
        }
    }

    void post(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        PostMessageW(w, msg, wp, lp);
        pump();
    }

    // The pointer is over the control, or well away from every window. A
    // window that has captured it gets the button's message wherever it is.
    void mouse(const std::string& control, int k, bool down, bool outside) {
        static constexpr UINT kDown[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        static constexpr UINT kUp[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        HWND over = m_form.control(control);
        const POINT at = outside ? POINT{-20000, -20000} : middleOf(over);
        HWND target = GetCapture() ? GetCapture() : outside ? nullptr : over;
        m_down[k] = down;
        const UINT held = (m_down[0] ? MK_LBUTTON : 0) | (m_down[1] ? MK_RBUTTON : 0) | (m_down[2] ? MK_MBUTTON : 0);
        if (target) post(target, down ? kDown[k] : kUp[k], held, pointIn(target, at));
    }

    // Select all, then type: a printable ASCII character is a key stroke,
    // any other run of characters one commit of an input method.
    void type(HWND box, const std::string& text) {
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        if (text.empty()) {
            post(box, WM_KEYDOWN, VK_DELETE, 0x01530001);
            post(box, WM_KEYUP, VK_DELETE, static_cast<LPARAM>(0xC1530001));
            return;
        }
        const std::wstring t = wide(text);
        const auto printable = [&](std::size_t i) { return t[i] >= 0x20 && t[i] < 0x7f; };
        for (std::size_t i = 0; i < t.size();) {
            if (printable(i)) {
                post(box, WM_CHAR, t[i++], 1);
                continue;
            }
            std::size_t j = i;
            while (j < t.size() && !printable(j)) ++j;
            const std::wstring run = t.substr(i, j - i);
            SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(run.c_str()));
            pump();
            i = j;
        }
    }

    State state() const {
        State s;
        if (m_form.hwnd()) {
            for (int n = 1; n <= kBoxCount; ++n) s.texts[n] = windowText(m_form.box(n));
            s.flag = m_form.liveRecompute();
        } else {  // the boxes have gone with the window, as they were
            s.texts = m_last.texts;
            s.flag = m_last.flag;
        }
        for (int n = 1; n <= kTimerCount; ++n)
            if (m_form.isRunning(n)) s.running.push_back(n);
        s.form1 = m_form.hwnd() && IsWindowVisible(m_form.hwnd());
        s.form2 = m_form.growthTable().isOpen();
        if (g_fault) {
            s.faultKind = g_fault->first;
            s.faultMessage = g_fault->second;
        }
        return s;
    }

    Form1 m_form;
    std::array<bool, 3> m_down{};  // by MouseButton
    State m_last;
};

}  // namespace

int checkLayout(Form1& form);

int main(int argc, char* argv[]) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    Replay replay;
    if (argc > 1 && std::string_view(argv[1]) == "--check-layout") return checkLayout(replay.form());
    SetWindowsHookExW(WH_CBT, watchMessages, nullptr, GetCurrentThreadId());
    const int status = replaySteps(
        "petcalc-replay-win32", [&] { return replay.situation(); }, [&](const Step& step) { return replay.run(step); });
    if (status == 0 && argc > 2 && std::string_view(argv[1]) == "--show")
        replay.show(static_cast<DWORD>(std::stoul(argv[2])));
    return status;
}
