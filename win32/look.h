#pragma once
// What both windows of the Windows program share: text crosses into the
// system as UTF-16, sizes follow the DPI of the window's monitor, and every
// control draws with the program's own font.

#include <windows.h>

#include <string>
#include <string_view>

namespace petcalc::win32 {

std::wstring wide(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
std::string windowText(HWND w);

// The DPI of the monitor the window is on; the system DPI for no window,
// or where Windows predates per-monitor scaling.
UINT dpiOf(HWND w);
// The outer size of a window whose client area is width x height twips.
SIZE frameSize(int width, int height, DWORD style, UINT dpi);
// Moves a child to its place in twips.
void place(HWND child, int left, int top, int width, int height, UINT dpi);

// The fonts of the controls: the program's own CJK face at pixelsAt96
// pixels, scaled to the DPI. The face is loaded from the program's resource
// the first time; fonts are kept for the program's life.
HFONT uiFont(UINT dpi, int pixelsAt96);
inline constexpr int kFontPixels = 12;
// "成长表" stands one character a line in a button 41 px high.
inline constexpr int kTallButtonFontPixels = 11;

// A top-level window class of the program: its icon, the arrow, the dialog
// colour behind the controls.
ATOM registerWindowClass(const wchar_t* name, WNDPROC proc);

inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace petcalc::win32
