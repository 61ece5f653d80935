#include "ui/win/dpi.h"

namespace torvane::ui::win {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Not in Windows 7's user32: looked up once.
GetDpiForWindowFn DpiForWindow() {
    static const GetDpiForWindowFn fn = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetDpiForWindowFn>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                      : nullptr;
    }();
    return fn;
}

}  // namespace

Dpi SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return Dpi(dpi);
}

Dpi WindowDpi(HWND hwnd) {
    if (GetDpiForWindowFn fn = DpiForWindow(); fn && hwnd) {
        if (const UINT dpi = fn(hwnd)) return Dpi(static_cast<int>(dpi));
    }
    return SystemDpi();
}

}  // namespace torvane::ui::win
