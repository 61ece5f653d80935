#include "update/win/updater_window.h"

#include "common/win/wide_text.h"
#include "ui/win/dpi.h"
#include "update/win/resource_ids.h"

namespace torvane::update::win {

namespace {

HICON LoadAppIcon(HINSTANCE instance, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconApp), IMAGE_ICON, GetSystemMetrics(metricX),
                                         GetSystemMetrics(metricY), LR_DEFAULTCOLOR));
}

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

UpdaterWindow::UpdaterWindow(HINSTANCE instance) : instance_(instance), skins_(instance) {}

UpdaterWindow::~UpdaterWindow() { model_ = nullptr; }

bool UpdaterWindow::Create() {
    icon_.reset(LoadAppIcon(instance_, SM_CXICON, SM_CYICON));
    smallIcon_.reset(LoadAppIcon(instance_, SM_CXSMICON, SM_CYSMICON));
    Register(instance_, ui::win::WindowClass{kUpdaterWindowClass, icon_.get(), smallIcon_.get(), nullptr, 0});
    // Borderless: the model draws the frame lines and the close button.
    if (!Window::Create(instance_, kUpdaterWindowClass, WS_EX_APPWINDOW, WS_POPUP | WS_MINIMIZEBOX,
                        Utf8ToWide(kWindowCaption).c_str(), RECT{0, 0, 0, 0}))
        return false;
    dpi_ = ui::win::WindowDpi(hwnd());
    fonts_.SetDpi(dpi_);
    const RECT place = CentredPlace(dpi_);
    SetWindowPos(hwnd(), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void UpdaterWindow::Attach(FrmUpdate& model) {
    auto mirror = std::make_unique<ui::win::ElementMirror>(instance_, hwnd(), kFirstElementId);
    mirror->Create(model.elements(), fonts_);
    mirror_ = std::move(mirror);
    model_ = &model;
    model_->onDpiChanged(dpi_.value());
}

int UpdaterWindow::Run(std::string_view arguments) {
    if (!model_ || !model_->FormLoad(arguments)) return 0;
    Sync();
    // A finished transfer or its report arrives at the background work's
    // window and changes the model.
    return ui::win::RunMessageLoop([this] { Sync(); });
}

LRESULT UpdaterWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!model_) return Default(msg, wp, lp);
    const LRESULT result = Handle(msg, wp, lp);
    Sync();
    return result;
}

LRESULT UpdaterWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: OnSize(wp); return 0;
        case WM_DPICHANGED: OnDpiChanged(wp, lp); return 0;
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_MOUSEMOVE: case WM_MOUSELEAVE:
            OnMouse(msg, lp);
            return 0;
        case WM_TIMER: model_->onTimer(static_cast<UpdaterTimer>(wp)); return 0;
        case WM_CLOSE: model_->Unload(); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return Default(msg, wp, lp);
    }
}

void UpdaterWindow::Paint() {
    ui::win::PaintWindow(
        hwnd(), model_->elements(), dpi_, fonts_, buffer_,
        [this](uint16_t id) -> const ui::DrawList* {
            return id == Index(Ctl::s) ? &model_->barDrawing() : nullptr;
        },
        nullptr, skins_.Source());
}

void UpdaterWindow::OnSize(WPARAM wp) {
    RECT r;
    GetClientRect(hwnd(), &r);
    model_->onFormResize(dpi_.Twips(static_cast<int>(r.right)), dpi_.Twips(static_cast<int>(r.bottom)),
                         wp == SIZE_MINIMIZED);
}

void UpdaterWindow::OnDpiChanged(WPARAM wp, LPARAM lp) {
    const auto* suggested = reinterpret_cast<const RECT*>(lp);
    dpi_ = ui::Dpi(HIWORD(wp));
    fonts_.SetDpi(dpi_);
    mirror_->SetFonts(model_->elements(), fonts_);
    model_->onDpiChanged(dpi_.value());
    SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void UpdaterWindow::OnMouse(UINT msg, LPARAM lp) {
    const MouseEvent e = ReadMouse(msg, lp);
    switch (e.kind) {
        case MouseEvent::Move: model_->onMouseMove(e.x, e.y); break;
        case MouseEvent::Leave: model_->onMouseLeave(); break;
        case MouseEvent::Up: model_->onMouseUp(e.x, e.y); break;
        case MouseEvent::Down: model_->onMouseDown(e.x, e.y); break;
    }
}

void UpdaterWindow::Sync() {
    if (!model_ || !mirror_ || !hwnd()) return;
    const ElementSet::Changes changes = model_->TakeChanges();
    if (!changes.empty()) mirror_->Sync(model_->elements(), changes, dpi_);
}

// --- UpdaterHost ---------------------------------------------------------------

void UpdaterWindow::Show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void UpdaterWindow::Close() {
    if (hwnd()) DestroyWindow(hwnd());
}

void UpdaterWindow::RunMoveLoop() {
    RECT after;
    MoveWithMouse(after);
}

void UpdaterWindow::StartTimer(UpdaterTimer id, int intervalMs) {
    SetTimer(hwnd(), static_cast<UINT_PTR>(id), static_cast<UINT>(intervalMs), nullptr);
}

void UpdaterWindow::StopTimer(UpdaterTimer id) { KillTimer(hwnd(), static_cast<UINT_PTR>(id)); }

}  // namespace torvane::update::win
