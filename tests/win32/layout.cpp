// Form1 at the display's DPI as a user and a screen reader meet it: the
// widest values fit their box, every control answers with its name, focus
// starts in the first box and Tab walks the table's order.

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "form1.h"
#include "look.h"
#include "output.h"

using namespace petcalc;
using namespace petcalc::win32;

namespace {

int g_bad = 0;

// The text fits the box's formatting rectangle whole, in the box's font.
void expectFits(HWND box, const char* text) {
    const std::wstring t = wide(text);
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SIZE size;
    GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    RECT room;
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    if (size.cx <= room.right - room.left) return;
    std::printf("\"%s\" is %ld px wide, the box has room for %ld\n", text, size.cx, room.right - room.left);
    ++g_bad;
}

// The name a screen reader gets from the control.
std::string accessibleName(HWND w) {
    IAccessible* a = nullptr;
    if (FAILED(AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&a))))
        return "(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string out;
    if (SUCCEEDED(a->get_accName(self, &name)) && name) out = narrow(name);
    SysFreeString(name);
    a->Release();
    return out;
}

}  // namespace

int checkLayout(Form1& form) {
    std::printf("layout at %u dpi\n", dpiOf(form.hwnd()));
    std::vector<const ControlRow*> tabOrder;
    for (const ControlRow& s : mainWindowControls()) {
        if (s.kind == Kind::Label) continue;
        tabOrder.push_back(&s);
        if (const std::string got = accessibleName(form.control(s.name)); got != s.accessibleName) {
            std::printf("%s: accessible name \"%s\", want \"%s\"\n", std::string(s.name).c_str(), got.c_str(),
                        std::string(s.accessibleName).c_str());
            ++g_bad;
        }
    }
    std::sort(tabOrder.begin(), tabOrder.end(), [](auto* a, auto* b) { return a->tab < b->tab; });
    HWND at = form.control(tabOrder.front()->name);
    if (GetFocus() != at) {
        std::printf("the focus is not in %s\n", std::string(tabOrder.front()->name).c_str());
        ++g_bad;
    }
    for (std::size_t i = 1; i <= tabOrder.size(); ++i) {
        at = GetNextDlgTabItem(form.hwnd(), at, FALSE);
        if (at != form.control(tabOrder[i % tabOrder.size()]->name)) {
            std::printf("Tab after %s goes astray\n", std::string(tabOrder[i - 1]->name).c_str());
            ++g_bad;
            break;
        }
    }
    // The widest values of the worked examples fit the result boxes whole.
    for (const char* t : {" 4593.039", " 559.3334", " 4836.993", " 1596.916", " 285.9933"})
        expectFits(form.control("Text6"), t);
    std::printf("%d difference(s)\n", g_bad);
    if (!output::flushStdout("petcalc-replay-win32")) return 1;
    return g_bad ? 1 : 0;
}
