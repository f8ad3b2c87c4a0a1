// petcalc.exe: shows Form1 and runs the event loop until no window of the
// program is left (Form2 may outlive Form1).

#include <windows.h>

#include <commctrl.h>

#include "form1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    petcalc::win32::Form1 form1;
    if (!form1.create(show)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) form1.dispatch(msg);
    return 0;
}
