#include "processes/win/transparent_window.h"

namespace torvane::win {
namespace {

constexpr COLORREF kColourKeyWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr BYTE kInvisibleAlpha = 0;

LRESULT CALLBACK TransparentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void MakeWindowTransparent(HWND window)
{
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, kColourKeyWhite, kInvisibleAlpha, LWA_ALPHA);
}

HWND CreateTransparentWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* caption)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = TransparentWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass)) {
        return nullptr;
    }
    // A tool window: no taskbar button even if something shows it.
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, className, caption, WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr);
    if (window) {
        MakeWindowTransparent(window);
    }
    return window;
}

int RunMessageLoop()
{
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace torvane::win
