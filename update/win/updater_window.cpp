#include "update/win/updater_window.h"

#include "common/win/wide_text.h"
#include "update/win/resource_ids.h"

namespace torvane::update::win {

namespace {

// The window's place: its designed size at this DPI, in the middle of the
// work area.
RECT CentredPlace(const ui::Dpi& dpi) {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = dpi.Px(kWindowWidth), height = dpi.Px(kWindowHeight);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    return {left, top, left + width, top + height};
}

}  // namespace

UpdaterWindow::UpdaterWindow(HINSTANCE instance) : ElementWindow(instance), skins_(instance) {}

UpdaterWindow::~UpdaterWindow() { model_ = nullptr; }

bool UpdaterWindow::Create() {
    // Borderless: the model draws the frame lines and the close button.
    const std::wstring caption = Utf8ToWide(kWindowCaption);
    ui::win::ElementWindowDesign design;
    design.windowClass = ui::win::WindowClass{kUpdaterWindowClass, nullptr, nullptr, nullptr, 0};
    design.exStyle = WS_EX_APPWINDOW;
    design.style = WS_POPUP | WS_MINIMIZEBOX;
    design.title = caption.c_str();
    design.iconId = kIconApp;
    design.endsProgram = true;
    if (!ElementWindow::Create(design)) return false;
    const RECT place = CentredPlace(windowDpi());
    SetWindowPos(hwnd(), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void UpdaterWindow::Attach(FrmUpdate& model) {
    model_ = &model;
    AttachElements(model.elements(), true);
    model_->onDpiChanged(windowDpi().value());
}

int UpdaterWindow::Run(std::string_view arguments) {
    if (!model_ || !model_->FormLoad(arguments)) return 0;
    Sync();
    // A finished transfer or its report arrives at the background work's
    // window and changes the model.
    return ui::win::RunMessageLoop([this] { Sync(); });
}

LRESULT UpdaterWindow::OnOther(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_SIZE) return Default(msg, wp, lp);
    RECT r;
    GetClientRect(hwnd(), &r);
    const ui::Dpi dpi = windowDpi();
    model_->onFormResize(dpi.Twips(static_cast<int>(r.right)), dpi.Twips(static_cast<int>(r.bottom)),
                         wp == SIZE_MINIMIZED);
    return 0;
}

const ui::DrawList* UpdaterWindow::Surface(uint16_t id) {
    return id == Index(Ctl::s) ? &model_->barDrawing() : nullptr;
}

void UpdaterWindow::OnDpi(int dpi, const ui::Rect& suggested) {
    model_->onDpiChanged(dpi);
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.width, suggested.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void UpdaterWindow::OnMouse(const Mouse& e) { ForwardMouse(*model_, e); }

// --- UpdaterHost ---------------------------------------------------------------

void UpdaterWindow::Close() {
    if (hwnd()) DestroyWindow(hwnd());
}

void UpdaterWindow::StartTimer(UpdaterTimer id, int intervalMs) {
    ElementWindow::StartTimer(static_cast<UINT_PTR>(id), intervalMs);
}

void UpdaterWindow::StopTimer(UpdaterTimer id) { ElementWindow::StopTimer(static_cast<UINT_PTR>(id)); }

}  // namespace torvane::update::win
