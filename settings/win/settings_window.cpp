#include "settings/win/settings_window.h"

#include "ui/win/dpi.h"

namespace torvane::settings::win {

namespace {

constexpr UINT_PTR kClockPreviewTimer = 1;

}  // namespace

SettingsWindow::SettingsWindow(HINSTANCE instance, HCURSOR movePointer)
    : instance_(instance), movePointer_(movePointer) {}

SettingsWindow::~SettingsWindow() { model_ = nullptr; }

bool SettingsWindow::Create() {
    Register(instance_, ui::win::WindowClass{kSettingsWindowClass, nullptr, nullptr, nullptr, 0});
    // No owner: the dialog stays when the main window hides. A tool window,
    // like the main window: nothing of the calendar sits on the task bar.
    if (!Window::Create(instance_, kSettingsWindowClass, WS_EX_TOOLWINDOW, WS_POPUP | WS_SYSMENU, L"软件设置",
                        RECT{0, 0, 0, 0}))
        return false;
    fonts_.SetDpi(ui::win::WindowDpi(hwnd()));
    return true;
}

void SettingsWindow::Attach(Sz& model) {
    auto mirror = std::make_unique<ui::win::ElementMirror>(instance_, hwnd(), kFirstElementId);
    mirror->Create(model.elements(), fonts_);
    mirror_ = std::move(mirror);
    model_ = &model;
}

LRESULT SettingsWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!model_) return Default(msg, wp, lp);
    const LRESULT result = Handle(msg, wp, lp);
    Sync();
    return result;
}

LRESULT SettingsWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            ui::win::PaintWindow(hwnd(), model_->elements(), dpi(), fonts_, buffer_,
                                 [this](uint16_t id) { return model_->Picture(id); });
            return 0;
        case WM_ERASEBKGND: return 1;
        case WM_DPICHANGED: OnDpiChanged(wp, lp); return 0;
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_MOUSEMOVE: case WM_MOUSELEAVE:
            OnMouse(msg, lp);
            return 0;
        case WM_KEYDOWN:
            // Bit 30: the key was already down, a repeat of the keyboard's.
            model_->onKeyDown(static_cast<int>(wp), GetKeyState(VK_SHIFT) < 0, (lp & (1 << 30)) != 0);
            return 0;
        case WM_TIMER: model_->onTimer(); return 0;
        case WM_SETCURSOR: return OnSetCursor(lp) ? TRUE : Default(msg, wp, lp);
        case WM_CLOSE: model_->onClose(); return 0;
        default: return Default(msg, wp, lp);
    }
}

void SettingsWindow::OnMouse(UINT msg, LPARAM lp) {
    const MouseEvent e = ReadMouse(msg, lp);
    switch (e.kind) {
        case MouseEvent::Move: model_->onMouseMove(e.x, e.y); break;
        case MouseEvent::Leave: model_->onMouseLeave(); break;
        case MouseEvent::Up: model_->onMouseUp(e.x, e.y); break;
        case MouseEvent::Down:
            SetFocus(hwnd());
            model_->onMouseDown(e.x, e.y);
            break;
    }
}

void SettingsWindow::OnDpiChanged(WPARAM wp, LPARAM lp) {
    const auto* suggested = reinterpret_cast<const RECT*>(lp);
    fonts_.SetDpi(ui::Dpi(HIWORD(wp)));
    mirror_->SetFonts(model_->elements(), fonts_);
    model_->onDpiChanged(HIWORD(wp), ui::Rect{suggested->left, suggested->top, suggested->right - suggested->left,
                                              suggested->bottom - suggested->top});
}

bool SettingsWindow::OnSetCursor(LPARAM lp) {
    if (LOWORD(lp) != HTCLIENT || !model_->IsDragging() || !movePointer_) return false;
    SetCursor(movePointer_);
    return true;
}

void SettingsWindow::Sync() {
    if (!model_ || !mirror_) return;
    const ui::ElementSet::Changes changes = model_->TakeChanges();
    if (changes.empty()) return;
    // Fonts follow the model's DPI, which start-up and each load take from
    // the main window.
    if (changes.all && fonts_.dpi() != dpi()) {
        fonts_.SetDpi(dpi());
        mirror_->SetFonts(model_->elements(), fonts_);
    }
    mirror_->Sync(model_->elements(), changes, dpi());
}

// --- SzHost ----------------------------------------------------------------------

void SettingsWindow::ApplyWindowRect(const ui::Rect& twips) {
    const ui::Rect px = dpi().Px(twips);
    SetWindowPos(hwnd(), nullptr, px.left, px.top, px.width, px.height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void SettingsWindow::Show() {
    ShowWindow(hwnd(), SW_SHOW);
    // Forward also when it is the active window already, behind another.
    BringWindowToTop(hwnd());
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
}

void SettingsWindow::Hide() { ShowWindow(hwnd(), SW_HIDE); }

ui::Rect SettingsWindow::RunMoveLoop() {
    RECT after;
    // Twips do not survive a trip through whole pixels: a window that did not
    // move keeps the model's own numbers.
    if (!MoveWithMouse(after)) return model_->windowRect();
    return dpi().Twips(ui::Rect{after.left, after.top, after.right - after.left, after.bottom - after.top});
}

void SettingsWindow::SetCustomPointer(bool on) {
    if (on && movePointer_) {
        SetCursor(movePointer_);
    } else if (!on) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
}

void SettingsWindow::StartTimer(int intervalMs) {
    SetTimer(hwnd(), kClockPreviewTimer, static_cast<UINT>(intervalMs), nullptr);
}

void SettingsWindow::StopTimer() { KillTimer(hwnd(), kClockPreviewTimer); }

}  // namespace torvane::settings::win
