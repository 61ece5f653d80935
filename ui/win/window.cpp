#include "ui/win/window.h"

#include <windowsx.h>

#include "common/win/window_class.h"

namespace torvane::ui::win {

Window::~Window() {
    if (hwnd_) {
        // The object is going: no message may reach it any more.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Window::Register(HINSTANCE instance, const WindowClass& c) {
    WNDCLASSEXW wc{};
    wc.style = c.style;
    wc.lpfnWndProc = Trampoline;
    wc.hInstance = instance;
    wc.hIcon = c.icon;
    wc.hIconSm = c.smallIcon;
    wc.hCursor = c.cursor ? c.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = c.name;
    torvane::win::RegisterClassOnce(wc);
}

bool Window::Create(HINSTANCE instance, const wchar_t* className, DWORD exStyle, DWORD style,
                    const wchar_t* title, const RECT& r, HWND parent) {
    CreateWindowExW(exStyle, className, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                    parent, nullptr, instance, this);
    return hwnd_ != nullptr;
}

Window::MouseEvent Window::ReadMouse(UINT msg, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!trackingLeave_) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
                trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
            }
            return {MouseEvent::Move, x, y};
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            return {MouseEvent::Leave, x, y};
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            return {MouseEvent::Up, x, y};
        default:  // a button went down (a double click counts as a second press)
            return {MouseEvent::Down, x, y};
    }
}

bool Window::MoveWithMouse(RECT& after) {
    constexpr WPARAM kMoveByCaption = SC_MOVE | HTCAPTION;
    RECT before;
    GetWindowRect(hwnd_, &before);
    ReleaseCapture();
    SendMessageW(hwnd_, WM_SYSCOMMAND, kMoveByCaption, 0);
    GetWindowRect(hwnd_, &after);
    return EqualRect(&before, &after) == FALSE;
}

LRESULT CALLBACK Window::Trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = self->OnMessage(msg, wp, lp);
        self->hwnd_ = nullptr;
        return result;
    }
    return self->OnMessage(msg, wp, lp);
}

int RunMessageLoop(const std::function<void()>& afterEach) {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (afterEach) afterEach();
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

}  // namespace torvane::ui::win
