// The base of every window: class registration, the one trampoline from the
// window procedure to the object, creation and destruction.
#pragma once

#include <windows.h>

#include <functional>

namespace torvane::ui::win {

struct WindowClass {
    const wchar_t* name = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;  // null: the arrow
    UINT style = 0;
};

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

protected:
    Window() = default;

    // Registers the class for this program once; later calls do nothing.
    static void Register(HINSTANCE instance, const WindowClass& windowClass);
    bool Create(HINSTANCE instance, const wchar_t* className, DWORD exStyle, DWORD style,
                const wchar_t* title, const RECT& place, HWND parent = nullptr);

    // Every message of the window after its WM_NCCREATE.
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
    // The system's move loop for a window without a caption, started while a
    // mouse button is down; returns once it is released, with the window's
    // place in `after`. False when the window did not move.
    bool MoveWithMouse(RECT& after);

    // A client-area mouse message as the event a model takes, in device
    // pixels. A move also asks for the WM_MOUSELEAVE that tells when the
    // pointer has left, so every window gets its Leave the same way.
    struct MouseEvent {
        enum Kind { Move, Leave, Down, Up } kind;
        int x, y;
    };
    MouseEvent ReadMouse(UINT msg, LPARAM lp);

private:
    static LRESULT CALLBACK Trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;
    bool trackingLeave_ = false;
};

// The thread's message loop until WM_QUIT; returns its exit code. `afterEach`
// runs after every message: one to another window of the thread (a finished
// background job, a dialog) may have changed the model a view shows.
int RunMessageLoop(const std::function<void()>& afterEach);

}  // namespace torvane::ui::win
