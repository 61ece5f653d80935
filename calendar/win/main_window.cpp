#include "calendar/win/main_window.h"

#include <algorithm>

#include "calendar/win/resource_ids.h"
#include "common/win/wide_text.h"
#include "ui/win/dpi.h"

namespace torvane::calendar::win {

namespace {

MouseButton ButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: return MouseButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP: return MouseButton::Middle;
        default: return MouseButton::Left;
    }
}

HICON LoadAppIcon(HINSTANCE instance, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconApp), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_DEFAULTCOLOR));
}

// Posted once the window is first shown: what start-up can do without.
constexpr UINT kShown = WM_APP + 1;

bool Contains(const std::vector<uint16_t>& ids, Ctl id) {
    return std::find(ids.begin(), ids.end(), static_cast<uint16_t>(id)) != ids.end();
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {}

MainWindow::~MainWindow() { model_ = nullptr; }

bool MainWindow::Create() {
    icon_.reset(LoadAppIcon(instance_, SM_CXICON, SM_CYICON));
    smallIcon_.reset(LoadAppIcon(instance_, SM_CXSMICON, SM_CYSMICON));
    movePointer_ = LoadCursorW(instance_, MAKEINTRESOURCEW(kCursorMove));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    Register(instance_, ui::win::WindowClass{kMainWindowClass, icon_.get(), smallIcon_.get(), nullptr, CS_DBLCLKS});
    // A tool window: the calendar lives in the tray, not on the task bar.
    if (!Window::Create(instance_, kMainWindowClass, WS_EX_TOOLWINDOW, WS_POPUP, L"Torvane", RECT{0, 0, 0, 0}))
        return false;
    dpi_ = ui::win::WindowDpi(hwnd());
    fonts_.SetDpi(dpi_);
    panelBrush_.reset(CreateSolidBrush(ui::win::ToColorRef(kPanelBackground)));
    return true;
}

void MainWindow::Attach(FrmMain& model) {
    // The children are made once the window is shown (OnShown); until then
    // the mirror only has room for the features' windows.
    mirror_ = std::make_unique<ui::win::ElementMirror>(instance_, hwnd(), kFirstElementId);
    mirror_->Reserve(model.elements());
    model_ = &model;
}

void MainWindow::Host(Ctl id, HWND child) {
    if (mirror_ && model_) mirror_->Adopt(model_->element(id), child, dpi());
}

void MainWindow::MeasureHeader() {
    if (HDC dc = GetDC(hwnd())) {
        model_->SetHeaderHeight(ui::win::MeasureTextHeight(dc, fonts_, kGridFontCentiPt, L"星期"));
        ReleaseDC(hwnd(), dc);
    }
}

void MainWindow::AfterShown(std::function<void()> work) { afterShown_.push_back(std::move(work)); }

// Posted by the first showing, so it runs before the first paint: the
// children, their fonts and places, the tooltips, then the held-back work.
void MainWindow::OnShown() {
    mirror_->Create(model_->elements(), fonts_);
    mirror_->SyncChildren(model_->elements(), dpi());
    listSizes_ = {};
    for (Ctl list : {Ctl::List1, Ctl::List2}) SyncList(list);
    mirror_->CreateTooltips(model_->elements(), dpi());
    std::vector<std::function<void()>> work = std::move(afterShown_);
    afterShown_.clear();
    for (const auto& step : work) step();
}

int MainWindow::Run() {
    if (!model_) return 1;
    model_->FormLoad();
    // Only now does the model know its DPI and its switches: the first sync,
    // which places every child, comes after this.
    loaded_ = true;
    MeasureHeader();
    model_->ShowWindow();
    Sync();
    PostMessageW(hwnd(), kShown, 0, 0);
    // A message to another window of this thread (a finished fetch, the
    // settings dialog) may have changed the model too.
    return ui::win::RunMessageLoop([this] { Sync(); });
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!model_) return Default(msg, wp, lp);
    const LRESULT result = Handle(msg, wp, lp);
    Sync();
    return result;
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        model_->onTaskbarCreated();
        return 0;
    }
    switch (msg) {
        case WM_PAINT:
            ui::win::PaintWindow(hwnd(), model_->elements(), dpi(), fonts_, buffer_,
                                 [this](uint16_t id) -> const ui::DrawList* {
                                     return id == Index(Ctl::picMain) ? &model_->gridDrawList() : nullptr;
                                 },
                                 &pictures_);
            return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: OnSize(wp); return 0;
        case WM_DPICHANGED: OnDpiChanged(wp, lp); return 0;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        case WM_LBUTTONDBLCLK: case WM_MOUSEMOVE: case WM_MOUSELEAVE:
            OnMouse(msg, lp);
            return 0;
        case WM_KEYDOWN: model_->onKeyDown(static_cast<int>(wp)); return 0;
        case WM_TIMER: model_->onTimer(static_cast<TimerId>(wp)); return 0;
        case kTrayCallbackMessage: model_->onTrayNotify(static_cast<uint32_t>(lp)); return 0;
        case WM_COMMAND: OnCommand(wp); return 0;
        case kShown: OnShown(); return 0;
        case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
            return OnControlColor(reinterpret_cast<HDC>(wp));
        case WM_SETCURSOR: return OnSetCursor(lp) ? TRUE : Default(msg, wp, lp);
        case WM_CLOSE: model_->onI1Click(); return 0;  // Alt+F4 hides, like the close button
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return Default(msg, wp, lp);
    }
}

void MainWindow::OnSize(WPARAM wp) {
    if (applyingRect_) return;
    RECT r;
    GetWindowRect(hwnd(), &r);
    const ui::Dpi d = dpi();
    model_->onFormResize(d.Twips(static_cast<int>(r.right - r.left)), d.Twips(static_cast<int>(r.bottom - r.top)),
                         wp == SIZE_MINIMIZED);
}

void MainWindow::OnDpiChanged(WPARAM wp, LPARAM lp) {
    const auto* suggested = reinterpret_cast<const RECT*>(lp);
    dpi_ = ui::Dpi(HIWORD(wp));
    fonts_.SetDpi(dpi_);
    mirror_->SetFonts(model_->elements(), fonts_);
    model_->onDpiChanged(dpi_.value(), ui::Rect{suggested->left, suggested->top, suggested->right - suggested->left,
                                                suggested->bottom - suggested->top});
    MeasureHeader();
}

void MainWindow::OnMouse(UINT msg, LPARAM lp) {
    const MouseEvent e = ReadMouse(msg, lp);
    switch (e.kind) {
        case MouseEvent::Move: model_->onMouseMove(e.x, e.y); break;
        case MouseEvent::Leave: model_->onMouseLeave(); break;
        case MouseEvent::Up: model_->onMouseUp(e.x, e.y, ButtonOf(msg)); break;
        case MouseEvent::Down:
            SetFocus(hwnd());
            model_->onMouseDown(e.x, e.y, ButtonOf(msg));
            break;
    }
}

void MainWindow::OnCommand(WPARAM wp) {
    const std::optional<size_t> id = mirror_->IdOf(LOWORD(wp));
    if (HIWORD(wp) != LBN_SELCHANGE || !id) return;
    const Ctl list = static_cast<Ctl>(*id);
    const int chosen = static_cast<int>(SendMessageW(mirror_->Child(*id), LB_GETCURSEL, 0, 0));
    model_->onListClick(list, chosen);
    SetFocus(hwnd());
}

LRESULT MainWindow::OnControlColor(HDC dc) {
    SetTextColor(dc, ui::win::ToColorRef(kTextPrimary));
    SetBkColor(dc, ui::win::ToColorRef(kPanelBackground));
    return reinterpret_cast<LRESULT>(panelBrush_.get());
}

bool MainWindow::OnSetCursor(LPARAM lp) {
    if (LOWORD(lp) != HTCLIENT || !model_->HasCustomPointer() || !movePointer_) return false;
    SetCursor(movePointer_);
    return true;
}

void MainWindow::Sync() {
    if (!model_ || !mirror_ || !loaded_) return;
    const ElementSet::Changes changes = model_->TakeChanges();
    if (changes.empty()) return;
    mirror_->Sync(model_->elements(), changes, dpi());
    for (Ctl list : {Ctl::List1, Ctl::List2}) {
        if (changes.all || Contains(changes.ids, list)) SyncList(list);
    }
}

void MainWindow::SyncList(Ctl list) {
    HWND box = mirror_->Child(Index(list));
    if (!box) return;
    const auto& items = model_->listItems(list);
    size_t& filled = listSizes_[list == Ctl::List1 ? 0 : 1];
    if (filled != items.size()) {
        SendMessageW(box, LB_RESETCONTENT, 0, 0);
        for (const std::string& item : items)
            SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        filled = items.size();
    }
    const int selection = model_->listSelection(list);
    if (SendMessageW(box, LB_GETCURSEL, 0, 0) != selection) {
        SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
        if (selection >= 0) SendMessageW(box, LB_SETTOPINDEX, static_cast<WPARAM>(selection), 0);
    }
}

// --- WindowHost ----------------------------------------------------------------

ScreenInfo MainWindow::Screen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi_.value()};
}

void MainWindow::ApplyWindowRect(const WindowRect& rect) {
    // The model lays itself out after asking; no WM_SIZE round trip.
    const ui::Rect px = dpi().Px(ui::Rect{rect.left, rect.top, rect.width, rect.height});
    applyingRect_ = true;
    SetWindowPos(hwnd(), nullptr, px.left, px.top, px.width, px.height, SWP_NOZORDER | SWP_NOACTIVATE);
    applyingRect_ = false;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void MainWindow::SetVisible(bool visible) {
    if (visible) {
        ShowWindow(hwnd(), SW_SHOW);
        SetForegroundWindow(hwnd());
    } else {
        ShowWindow(hwnd(), SW_HIDE);
    }
}

bool MainWindow::IsVisible() { return IsWindowVisible(hwnd()) != FALSE; }

WindowRect MainWindow::RunMoveLoop() {
    RECT after;
    // Twips do not survive a trip through whole pixels: a window that did not
    // move keeps the model's own numbers, or a click would read as a drag.
    if (!MoveWithMouse(after)) return model_->windowRect();
    const ui::Rect twips = dpi().Twips(ui::Rect{after.left, after.top, after.right - after.left, after.bottom - after.top});
    return {twips.left, twips.top, twips.width, twips.height};
}

void MainWindow::SetCustomPointer() {
    if (movePointer_) SetCursor(movePointer_);
}

void MainWindow::StartTimer(TimerId id, int intervalMs) {
    SetTimer(hwnd(), static_cast<UINT_PTR>(id), static_cast<UINT>(intervalMs), nullptr);
}

void MainWindow::StopTimer(TimerId id) { KillTimer(hwnd(), static_cast<UINT_PTR>(id)); }

void MainWindow::Quit() { PostQuitMessage(0); }

}  // namespace torvane::calendar::win
