#include "calendar/win/main_window.h"

#include <windowsx.h>

#include "calendar/win/resource_ids.h"
#include "common/win/wide_text.h"

namespace torvane::calendar::win {

namespace {

constexpr wchar_t kElementClass[] = L"TorvaneElement";
constexpr int kSmallIconSize = 16;

bool IsMirrored(ElementKind kind) {
    return kind == ElementKind::Label || kind == ElementKind::Button || kind == ElementKind::Grid;
}

// Label, button and grid elements get a child window of their own that
// paints nothing and lets the mouse through: it only carries the element's
// text, place and visibility for accessibility tools and the tests.
LRESULT CALLBACK ElementProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

MouseButton ButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: return MouseButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP: return MouseButton::Middle;
        default: return MouseButton::Left;
    }
}

std::wstring ExePath() {
    wchar_t path[MAX_PATH * 4] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return std::wstring(path, n < std::size(path) ? n : 0);
}

// Buttons and the grid carry their name, the rest their text.
std::wstring ChildText(const Element& e) {
    const bool named = e.kind == ElementKind::Button || e.kind == ElementKind::Grid;
    return Utf8ToWide(e.text.empty() && named ? std::string(e.name) : e.text);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Settings& settings, std::string homeUrl)
    : instance_(instance), settings_(settings), homeUrl_(std::move(homeUrl)) {}

MainWindow::~MainWindow() {
    if (panelBrush_) DeleteObject(panelBrush_);
}

bool MainWindow::Create() {
    icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(kIconApp));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconApp), IMAGE_ICON,
                                               kSmallIconSize, kSmallIconSize, LR_DEFAULTCOLOR));
    movePointer_ = LoadCursorW(instance_, MAKEINTRESOURCEW(kCursorMove));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Trampoline;
    wc.hInstance = instance_;
    wc.hIcon = icon_;
    wc.hIconSm = smallIcon_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kMainWindowClass;
    RegisterClassExW(&wc);

    WNDCLASSEXW ec{};
    ec.cbSize = sizeof ec;
    ec.lpfnWndProc = ElementProc;
    ec.hInstance = instance_;
    ec.lpszClassName = kElementClass;
    RegisterClassExW(&ec);

    // A tool window: the calendar lives in the tray, not on the task bar.
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, L"Torvane", WS_POPUP, 0, 0,
                            TwipsToPixels(kWindowWidthNarrow), TwipsToPixels(kDesignedWindowHeight),
                            nullptr, nullptr, instance_, this);
    return hwnd_ != nullptr;
}

void MainWindow::CreateChildren() {
    for (const Element& e : model_->elements()) {
        HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstElementId + Index(e.id)));
        HWND child = nullptr;
        if (IsMirrored(e.kind)) {
            child = CreateWindowExW(0, kElementClass, L"", WS_CHILD, 0, 0, 0, 0, hwnd_, id, instance_, nullptr);
        } else if (e.kind == ElementKind::TextBox) {
            child = CreateWindowExW(0, L"EDIT", L"",
                                    WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                    0, 0, 0, 0, hwnd_, id, instance_, nullptr);
        } else if (e.kind == ElementKind::List) {
            child = CreateWindowExW(0, L"LISTBOX", L"",
                                    WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                    0, 0, 0, 0, hwnd_, id, instance_, nullptr);
        }
        if (!child) continue;
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->Get(e.style.fontCentiPt, false)), FALSE);
        // The element's name, for tools that look controls up by name.
        const ATOM name = GlobalAddAtomW(Utf8ToWide(e.name).c_str());
        if (name) SetPropW(child, L"TorvaneName", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(name)));
        children_[Index(e.id)] = child;
    }
}

int MainWindow::Run() {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    fonts_ = std::make_unique<FontCache>(dpi_);
    panelBrush_ = CreateSolidBrush(ToColorRef(kPanelBackground));
    if (!Create()) return 1;
    shell_.SetOwner(hwnd_);
    tray_.Attach(hwnd_, smallIcon_ ? smallIcon_ : icon_);

    FrmMainPorts ports{clock_, settings_, shell_, autostart_, tray_, processes_, *this, texts_, hooks_};
    model_ = std::make_unique<FrmMain>(ports, FrmMainConfig{homeUrl_, WideToUtf8(ExePath())});
    CreateChildren();
    if (HDC dc = GetDC(hwnd_)) {
        model_->SetHeaderHeight(MeasureHeaderHeight(dc, *fonts_));
        ReleaseDC(hwnd_, dc);
    }
    model_->FormLoad();
    model_->ShowWindow();
    Sync();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK MainWindow::Trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<MainWindow*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->model_) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->Handle(msg, wp, lp);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        model_->onTaskbarCreated();
        return 0;
    }
    LRESULT result = 0;
    switch (msg) {
        case WM_PAINT: OnPaint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE:
            if (!applyingRect_) {
                RECT r;
                GetWindowRect(hwnd_, &r);
                model_->onFormResize(PixelsToTwips(r.right - r.left), PixelsToTwips(r.bottom - r.top),
                                     wp == SIZE_MINIMIZED);
            }
            break;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        case WM_LBUTTONDBLCLK: case WM_MOUSEMOVE: case WM_MOUSELEAVE:
            OnMouse(msg, lp);
            break;
        case WM_KEYDOWN: model_->onKeyDown(static_cast<int>(wp)); break;
        case WM_TIMER: model_->onTimer(static_cast<TimerId>(wp)); break;
        case kTrayCallbackMessage: model_->onTrayNotify(static_cast<uint32_t>(lp)); break;
        case WM_COMMAND: OnCommand(wp); break;
        case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
            return OnControlColor(reinterpret_cast<HDC>(wp));
        case WM_SETCURSOR:
            if (OnSetCursor(lp)) return TRUE;
            return DefWindowProcW(hwnd_, msg, wp, lp);
        case WM_CLOSE: model_->onI1Click(); break;  // Alt+F4 hides, like the close button
        case WM_DESTROY: PostQuitMessage(0); break;
        default: result = DefWindowProcW(hwnd_, msg, wp, lp); break;
    }
    Sync();
    return result;
}

void MainWindow::OnMouse(UINT msg, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!trackingLeave_) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
                trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
            }
            model_->onMouseMove(x, y);
            break;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            model_->onMouseLeave();
            break;
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
            model_->onMouseUp(x, y, ButtonOf(msg));
            break;
        default:  // a button went down (a double click counts as a second press)
            SetFocus(hwnd_);
            model_->onMouseDown(x, y, ButtonOf(msg));
            break;
    }
}

void MainWindow::OnCommand(WPARAM wp) {
    const int id = LOWORD(wp) - kFirstElementId;
    if (HIWORD(wp) != LBN_SELCHANGE || id < 0 || static_cast<size_t>(id) >= kElementCount) return;
    const Ctl list = static_cast<Ctl>(id);
    const int chosen = static_cast<int>(SendMessageW(children_[Index(list)], LB_GETCURSEL, 0, 0));
    model_->onListClick(list, chosen);
    SetFocus(hwnd_);
}

LRESULT MainWindow::OnControlColor(HDC dc) {
    SetTextColor(dc, ToColorRef(kTextPrimary));
    SetBkColor(dc, ToColorRef(kPanelBackground));
    return reinterpret_cast<LRESULT>(panelBrush_);
}

bool MainWindow::OnSetCursor(LPARAM lp) {
    if (LOWORD(lp) != HTCLIENT || !model_->HasCustomPointer() || !movePointer_) return false;
    SetCursor(movePointer_);
    return true;
}

void MainWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PaintWindow(memory, *model_, *fonts_);
    // Real controls paint themselves; keep the back buffer off them.
    for (const Element& e : model_->elements()) {
        if (e.visible && (e.kind == ElementKind::TextBox || e.kind == ElementKind::List))
            ExcludeClipRect(dc, e.rect.left, e.rect.top, e.rect.left + e.rect.width, e.rect.top + e.rect.height);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(hwnd_, &ps);
}

void MainWindow::Sync() {
    if (!model_ || model_->revision() == syncedRevision_) return;
    syncedRevision_ = model_->revision();
    for (const Element& e : model_->elements()) SyncChild(e);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void MainWindow::SyncChild(const Element& e) {
    HWND child = children_[Index(e.id)];
    if (!child) return;
    if (e.kind == ElementKind::List) SyncList(e.id);
    if (e.kind != ElementKind::List) {
        std::wstring text = ChildText(e);
        if (e.kind == ElementKind::TextBox) {
            // The story box shows line breaks as CR LF only.
            for (size_t at = 0; (at = text.find(L'\n', at)) != std::wstring::npos; at += 2) {
                if (at == 0 || text[at - 1] != L'\r') text.insert(at, 1, L'\r');
                else --at;
            }
        }
        wchar_t current[4096] = {};
        GetWindowTextW(child, current, static_cast<int>(std::size(current)));
        if (text != current) SetWindowTextW(child, text.c_str());
    }
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    if (r.left != e.rect.left || r.top != e.rect.top || r.right - r.left != e.rect.width ||
        r.bottom - r.top != e.rect.height)
        SetWindowPos(child, nullptr, e.rect.left, e.rect.top, e.rect.width, e.rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    const bool shown = IsWindowVisible(child) != FALSE;
    if (shown == e.visible) return;
    // A list that pops up must be the first window the mouse meets there,
    // above the element windows it covers.
    if (e.visible && !IsMirrored(e.kind))
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(child, e.visible ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::SyncList(Ctl list) {
    HWND box = children_[Index(list)];
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
    const int perPixel = kTwipsPerInch / dpi_;
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), perPixel, perPixel};
}

void MainWindow::ApplyWindowRect(const WindowRect& rect) {
    // The model lays itself out after asking; no WM_SIZE round trip.
    applyingRect_ = true;
    SetWindowPos(hwnd_, nullptr, TwipsToPixels(rect.left), TwipsToPixels(rect.top),
                 TwipsToPixels(rect.width), TwipsToPixels(rect.height), SWP_NOZORDER | SWP_NOACTIVATE);
    applyingRect_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void MainWindow::SetVisible(bool visible) {
    if (visible) {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
    } else {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

bool MainWindow::IsVisible() { return IsWindowVisible(hwnd_) != FALSE; }

WindowRect MainWindow::RunMoveLoop() {
    constexpr WPARAM kMoveByCaption = SC_MOVE | HTCAPTION;
    RECT before, after;
    GetWindowRect(hwnd_, &before);
    ReleaseCapture();
    SendMessageW(hwnd_, WM_SYSCOMMAND, kMoveByCaption, 0);
    GetWindowRect(hwnd_, &after);
    // Twips do not survive a trip through whole pixels: a window that did not
    // move keeps the model's own numbers, or a click would read as a drag.
    if (EqualRect(&before, &after)) return model_->windowRect();
    return {PixelsToTwips(after.left), PixelsToTwips(after.top), PixelsToTwips(after.right - after.left),
            PixelsToTwips(after.bottom - after.top)};
}

void MainWindow::SetCustomPointer() {
    if (movePointer_) SetCursor(movePointer_);
}

void MainWindow::StartTimer(TimerId id, int intervalMs) {
    SetTimer(hwnd_, static_cast<UINT_PTR>(id), static_cast<UINT>(intervalMs), nullptr);
}

void MainWindow::StopTimer(TimerId id) { KillTimer(hwnd_, static_cast<UINT_PTR>(id)); }

void MainWindow::Quit() { PostQuitMessage(0); }

}  // namespace torvane::calendar::win
