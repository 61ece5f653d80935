#include "settings/win/settings_window.h"

namespace torvane::settings::win {

namespace {

constexpr UINT_PTR kClockPreviewTimer = 1;

}  // namespace

SettingsWindow::SettingsWindow(HINSTANCE instance, HCURSOR movePointer) : ElementWindow(instance) {
    UseMovePointer(movePointer);
}

SettingsWindow::~SettingsWindow() { model_ = nullptr; }

bool SettingsWindow::Create() {
    // No owner: the dialog stays when the main window hides. A tool window,
    // like the main window: nothing of the calendar sits on the task bar.
    ui::win::ElementWindowDesign design;
    design.windowClass = ui::win::WindowClass{kSettingsWindowClass, nullptr, nullptr, nullptr, 0};
    design.exStyle = WS_EX_TOOLWINDOW;
    design.style = WS_POPUP | WS_SYSMENU;
    design.title = L"软件设置";
    return ElementWindow::Create(design);
}

void SettingsWindow::Attach(Sz& model) {
    model_ = &model;
    AttachElements(model.elements(), true);
}

LRESULT SettingsWindow::OnOther(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_KEYDOWN) return Default(msg, wp, lp);
    // Bit 30: the key was already down, a repeat of the keyboard's.
    model_->onKeyDown(static_cast<int>(wp), GetKeyState(VK_SHIFT) < 0, (lp & (1 << 30)) != 0);
    return 0;
}

void SettingsWindow::OnMouse(const Mouse& e) { ForwardMouse(*model_, e); }

// --- SzHost ----------------------------------------------------------------------

ui::Rect SettingsWindow::RunMoveLoop() {
    // A window that did not move keeps the model's own numbers.
    return MoveLoop().value_or(model_->windowRect());
}

void SettingsWindow::StartTimer(int intervalMs) { ElementWindow::StartTimer(kClockPreviewTimer, intervalMs); }

void SettingsWindow::StopTimer() { ElementWindow::StopTimer(kClockPreviewTimer); }

}  // namespace torvane::settings::win
