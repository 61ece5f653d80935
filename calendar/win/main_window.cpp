#include "calendar/win/main_window.h"

#include <algorithm>

#include "calendar/win/resource_ids.h"
#include "common/win/wide_text.h"
#include "ui/win/dpi.h"

namespace torvane::calendar::win {

namespace {

// Posted once the window is first shown: what start-up can do without.
constexpr UINT kShown = WM_APP + 1;

bool Contains(const std::vector<uint16_t>& ids, Ctl id) {
    return std::find(ids.begin(), ids.end(), static_cast<uint16_t>(id)) != ids.end();
}

MouseButton ModelButton(ui::win::ElementWindow::Button button) {
    using Button = ui::win::ElementWindow::Button;
    return button == Button::Right ? MouseButton::Right
                                   : button == Button::Middle ? MouseButton::Middle : MouseButton::Left;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : ElementWindow(instance) {}

MainWindow::~MainWindow() { model_ = nullptr; }

bool MainWindow::Create() {
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // A tool window: the calendar lives in the tray, not on the task bar.
    ui::win::ElementWindowDesign design;
    design.windowClass = ui::win::WindowClass{kMainWindowClass, nullptr, nullptr, nullptr, CS_DBLCLKS};
    design.exStyle = WS_EX_TOOLWINDOW;
    design.title = L"Torvane";
    design.iconId = kIconApp;
    design.movePointerId = kCursorMove;
    design.endsProgram = true;
    design.allButtons = true;
    if (!ElementWindow::Create(design)) return false;
    panelBrush_.reset(CreateSolidBrush(ui::win::ToColorRef(kPanelBackground)));
    return true;
}

void MainWindow::Attach(FrmMain& model) {
    // The children are made once the window is shown (OnShown); until then
    // the mirror only has room for the features' windows.
    model_ = &model;
    AttachElements(model.elements(), false);
}

void MainWindow::Host(Ctl id, HWND child) {
    if (model_) mirror().Adopt(model_->element(id), child, dpi());
}

void MainWindow::MeasureHeader() {
    if (HDC dc = GetDC(hwnd())) {
        model_->SetHeaderHeight(ui::win::MeasureTextHeight(dc, fonts(), kGridFontCentiPt, L"星期"));
        ReleaseDC(hwnd(), dc);
    }
}

void MainWindow::AfterShown(std::function<void()> work) { afterShown_.push_back(std::move(work)); }

// Posted by the first showing, so it runs before the first paint: the
// children, their fonts and places, the tooltips, then the held-back work.
void MainWindow::OnShown() {
    CreateChildren();
    listSizes_ = {};
    for (Ctl list : {Ctl::List1, Ctl::List2}) SyncList(list);
    mirror().CreateTooltips(model_->elements(), dpi());
    std::vector<std::function<void()>> work = std::move(afterShown_);
    afterShown_.clear();
    for (const auto& step : work) step();
}

int MainWindow::Run() {
    if (!model_) return 1;
    model_->FormLoad();
    // Only now does the model know its DPI and its switches: the first sync,
    // which places every child, comes after this.
    StartSyncing();
    MeasureHeader();
    model_->ShowWindow();
    Sync();
    PostMessageW(hwnd(), kShown, 0, 0);
    // A message to another window of this thread (a finished fetch, the
    // settings dialog) may have changed the model too.
    return ui::win::RunMessageLoop([this] { Sync(); });
}

LRESULT MainWindow::OnOther(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        model_->onTaskbarCreated();
        return 0;
    }
    switch (msg) {
        case WM_SIZE: OnSize(wp); return 0;
        case WM_KEYDOWN: model_->onKeyDown(static_cast<int>(wp)); return 0;
        case kTrayCallbackMessage: model_->onTrayNotify(static_cast<uint32_t>(lp)); return 0;
        case WM_COMMAND: OnCommand(wp); return 0;
        case kShown: OnShown(); return 0;
        case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
            return OnControlColor(reinterpret_cast<HDC>(wp));
        default: return Default(msg, wp, lp);
    }
}

const ui::DrawList* MainWindow::Surface(uint16_t id) {
    return id == Index(Ctl::picMain) ? &model_->gridDrawList() : nullptr;
}

void MainWindow::OnSize(WPARAM wp) {
    if (applyingRect_) return;
    const ui::Rect place = PlacePx();
    const ui::Dpi d = dpi();
    model_->onFormResize(d.Twips(place.width), d.Twips(place.height), wp == SIZE_MINIMIZED);
}

void MainWindow::OnDpi(int dpi, const ui::Rect& suggestedPx) {
    model_->onDpiChanged(dpi, suggestedPx);
    MeasureHeader();
}

void MainWindow::OnMouse(const Mouse& e) { ForwardMouse(*model_, e, ModelButton(e.button)); }

void MainWindow::OnCommand(WPARAM wp) {
    const std::optional<size_t> id = mirror().IdOf(LOWORD(wp));
    if (HIWORD(wp) != LBN_SELCHANGE || !id) return;
    const Ctl list = static_cast<Ctl>(*id);
    const int chosen = static_cast<int>(SendMessageW(mirror().Child(*id), LB_GETCURSEL, 0, 0));
    model_->onListClick(list, chosen);
    SetFocus(hwnd());
}

LRESULT MainWindow::OnControlColor(HDC dc) {
    SetTextColor(dc, ui::win::ToColorRef(kTextPrimary));
    SetBkColor(dc, ui::win::ToColorRef(kPanelBackground));
    return reinterpret_cast<LRESULT>(panelBrush_.get());
}

void MainWindow::AfterSync(const ElementSet::Changes& changes) {
    for (Ctl list : {Ctl::List1, Ctl::List2}) {
        if (changes.all || Contains(changes.ids, list)) SyncList(list);
    }
}

void MainWindow::SyncList(Ctl list) {
    HWND box = mirror().Child(Index(list));
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
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), windowDpi().value()};
}

void MainWindow::ApplyWindowRect(const WindowRect& rect) {
    // The model lays itself out after asking; no WM_SIZE round trip.
    applyingRect_ = true;
    ApplyPlace(ui::Rect{rect.left, rect.top, rect.width, rect.height});
    applyingRect_ = false;
}

void MainWindow::SetVisible(bool visible) {
    if (visible) {
        ShowInFront(false);
    } else {
        Hide();
    }
}

bool MainWindow::IsVisible() { return IsWindowVisible(hwnd()) != FALSE; }

WindowRect MainWindow::RunMoveLoop() {
    // A window that did not move keeps the model's own numbers, or a click
    // would read as a drag.
    const std::optional<ui::Rect> after = MoveLoop();
    if (!after) return model_->windowRect();
    return {after->left, after->top, after->width, after->height};
}

void MainWindow::SetCustomPointer() { ShowMovePointer(true); }

void MainWindow::StartTimer(TimerId id, int intervalMs) {
    ElementWindow::StartTimer(static_cast<UINT_PTR>(id), intervalMs);
}

void MainWindow::StopTimer(TimerId id) { ElementWindow::StopTimer(static_cast<UINT_PTR>(id)); }

void MainWindow::Quit() { PostQuitMessage(0); }

}  // namespace torvane::calendar::win
