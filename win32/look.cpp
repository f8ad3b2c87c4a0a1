#include "look.h"

#include "windowtable.h"

#include <map>
#include <utility>

namespace petcalc::win32 {

namespace {

// The family name inside the font resource (fonts/CMakeLists.txt).
constexpr wchar_t kFontFamily[] = L"petcalc CJK";
// The font file, an RCDATA resource (petcalc.rc.in).
constexpr wchar_t kFontResource[] = L"PETCALC_CJK";

// Functions of Windows 10 (1607 and later), looked up at run time so that
// the program still starts, unscaled, on older systems.
template <typename Fn>
Fn user32(const char* name) {
    const FARPROC p = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(p));
}

void loadFontResource() {
    HRSRC found = FindResourceW(nullptr, kFontResource, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL data = found ? LoadResource(nullptr, found) : nullptr;
    if (!data) return;  // then the system's font mapper picks a face
    DWORD faces = 0;
    // Private to this process: nothing is installed, nothing left behind.
    AddFontMemResourceEx(LockResource(data), SizeofResource(nullptr, found), nullptr, &faces);
}

}  // namespace

std::wstring wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string windowText(HWND w) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

UINT dpiOf(HWND w) {
    static const auto forWindow = user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow && w) return forWindow(w);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

SIZE frameSize(int width, int height, DWORD style, UINT dpi) {
    static const auto adjust = user32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT r{0, 0, pixels(width, static_cast<int>(dpi)), pixels(height, static_cast<int>(dpi))};
    if (adjust) adjust(&r, style, FALSE, 0, dpi);
    else AdjustWindowRectEx(&r, style, FALSE, 0);
    return {r.right - r.left, r.bottom - r.top};
}

void place(HWND child, int left, int top, int width, int height, UINT dpi) {
    const PixelRect r = pixelRect(left, top, width, height, static_cast<int>(dpi));
    SetWindowPos(child, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

ATOM registerWindowClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hIcon = LoadIconW(c.hInstance, MAKEINTRESOURCEW(1));
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = name;
    return RegisterClassExW(&c);
}

HFONT uiFont(UINT dpi, int pixelsAt96) {
    static const bool loaded = (loadFontResource(), true);
    (void)loaded;
    static std::map<std::pair<UINT, int>, HFONT> fonts;
    HFONT& f = fonts[{dpi, pixelsAt96}];
    if (!f) {
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(pixelsAt96, static_cast<int>(dpi), 96);  // character height, not cell
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;  // the user's smoothing (ClearType or not)
        wcscpy_s(lf.lfFaceName, kFontFamily);
        f = CreateFontIndirectW(&lf);
    }
    return f;
}

}  // namespace petcalc::win32
