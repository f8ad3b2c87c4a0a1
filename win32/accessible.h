#pragma once
// Accessible names for the controls, from the window data.

#include <windows.h>

#include <string_view>

namespace petcalc::win32 {

// The answer to WM_GETOBJECT for a control's client object: the system's
// own accessible object for it (role, state, value, actions), with the
// table's name. A box or a check box has no caption to be named by, and "-1"
// does not say which points it steps. 0 when there is none to give: then the
// control's own procedure answers.
LRESULT namedAccessible(HWND control, WPARAM wp, LPARAM lp, std::string_view name);

}  // namespace petcalc::win32
