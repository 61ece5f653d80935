#include "ui/win/element_window.h"

#include "ui/win/dpi.h"

namespace torvane::ui::win {

namespace {

HICON LoadIconOf(HINSTANCE instance, int id, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(metricX),
                                         GetSystemMetrics(metricY), LR_DEFAULTCOLOR));
}

ElementWindow::Button ButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: return ElementWindow::Button::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP: return ElementWindow::Button::Middle;
        default: return ElementWindow::Button::Left;
    }
}

bool IsOtherButton(UINT msg) {
    return msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP;
}

Rect RectOf(const RECT& r) { return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

bool ElementWindow::Create(const ElementWindowDesign& design) {
    WindowClass windowClass = design.windowClass;
    if (design.iconId != 0) {
        icon_.reset(LoadIconOf(instance_, design.iconId, SM_CXICON, SM_CYICON));
        smallIcon_.reset(LoadIconOf(instance_, design.iconId, SM_CXSMICON, SM_CYSMICON));
        windowClass.icon = icon_.get();
        windowClass.smallIcon = smallIcon_.get();
    }
    if (design.movePointerId != 0) movePointer_ = LoadCursorW(instance_, MAKEINTRESOURCEW(design.movePointerId));
    endsProgram_ = design.endsProgram;
    allButtons_ = design.allButtons;
    Register(instance_, windowClass);
    if (!Window::Create(instance_, windowClass.name, design.exStyle, design.style, design.title, RECT{0, 0, 0, 0}))
        return false;
    dpi_ = WindowDpi(hwnd());
    fonts_.SetDpi(dpi_);
    return true;
}

void ElementWindow::AttachElements(const ElementSet& elements, bool childrenNow) {
    mirror_ = std::make_unique<ElementMirror>(instance_, hwnd(), kFirstElementId);
    if (childrenNow) {
        mirror_->Create(elements, fonts_);
    } else {
        mirror_->Reserve(elements);
    }
    elements_ = &elements;
    syncing_ = childrenNow;
}

void ElementWindow::CreateChildren() {
    mirror_->Create(*elements_, fonts_);
    mirror_->SyncChildren(*elements_, dpi());
}

void ElementWindow::Sync() {
    if (!elements_ || !mirror_ || !syncing_ || !hwnd()) return;
    const ElementSet::Changes changes = TakeChanges();
    if (changes.empty()) return;
    // Fonts follow the model's DPI, which a window may take from another.
    if (changes.all && fonts_.dpi() != dpi()) {
        fonts_.SetDpi(dpi());
        mirror_->SetFonts(*elements_, fonts_);
    }
    mirror_->Sync(*elements_, changes, dpi());
    AfterSync(changes);
}

LRESULT ElementWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!elements_) return Default(msg, wp, lp);
    const LRESULT result = Route(msg, wp, lp);
    Sync();
    return result;
}

LRESULT ElementWindow::Route(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_DPICHANGED: OnDpiChanged(wp, lp); return 0;
        case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_RBUTTONUP: case WM_MBUTTONUP:
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_MOUSEMOVE: case WM_MOUSELEAVE: {
            if (IsOtherButton(msg) && !allButtons_) return Default(msg, wp, lp);
            const MouseEvent e = ReadMouse(msg, lp);
            if (e.kind == MouseEvent::Down) SetFocus(hwnd());
            OnMouse(Mouse{e.kind, e.x, e.y, ButtonOf(msg)});
            return 0;
        }
        case WM_TIMER: OnTimer(wp); return 0;
        case WM_SETCURSOR: return OnSetCursor(lp) ? TRUE : Default(msg, wp, lp);
        case WM_CLOSE: OnClose(); return 0;
        case WM_DESTROY:
            if (!endsProgram_) return Default(msg, wp, lp);
            PostQuitMessage(0);
            return 0;
        default: return OnOther(msg, wp, lp);
    }
}

void ElementWindow::Paint() {
    PaintWindow(hwnd(), *elements_, dpi(), fonts_, buffer_, [this](uint16_t id) { return Surface(id); }, Pictures(),
                Bitmaps());
}

void ElementWindow::OnDpiChanged(WPARAM wp, LPARAM lp) {
    const int value = HIWORD(wp);
    dpi_ = Dpi(value);
    fonts_.SetDpi(dpi_);
    mirror_->SetFonts(*elements_, fonts_);
    OnDpi(value, RectOf(*reinterpret_cast<const RECT*>(lp)));
}

bool ElementWindow::OnSetCursor(LPARAM lp) {
    if (LOWORD(lp) != HTCLIENT || !WantsMovePointer() || !movePointer_) return false;
    SetCursor(movePointer_);
    return true;
}

void ElementWindow::ApplyPlace(const Rect& twips) {
    const Rect px = dpi().Px(twips);
    SetWindowPos(hwnd(), nullptr, px.left, px.top, px.width, px.height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

std::optional<Rect> ElementWindow::MoveLoop() {
    RECT after;
    if (!MoveWithMouse(after)) return std::nullopt;
    return dpi().Twips(RectOf(after));
}

Rect ElementWindow::PlacePx() const {
    RECT r;
    GetWindowRect(hwnd(), &r);
    return RectOf(r);
}

void ElementWindow::ShowInFront(bool raise) {
    ShowWindow(hwnd(), SW_SHOW);
    // Forward also when it is the active window already, behind another.
    if (raise) BringWindowToTop(hwnd());
    SetForegroundWindow(hwnd());
    if (raise) SetFocus(hwnd());
}

void ElementWindow::StartTimer(UINT_PTR id, int intervalMs) {
    SetTimer(hwnd(), id, static_cast<UINT>(intervalMs), nullptr);
}

void ElementWindow::ShowMovePointer(bool on) {
    if (on && movePointer_) {
        SetCursor(movePointer_);
    } else if (!on) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
}

}  // namespace torvane::ui::win
