#include "controls/win/combo_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "common/win/wide_text.h"
#include "controls/win/combo_pictures.h"
#include "ui/win/common_controls.h"
#include "ui/win/dpi.h"

namespace torvane::controls::win {

namespace {

constexpr int kEditId = 1;
constexpr Rgb kHotRow{37, 99, 235};
constexpr Rgb kHotText{255, 255, 255};
constexpr int kRowPadding = 4;  // design pixels above and below a row's text

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }

COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

void Fill(HDC dc, const RECT& r, Rgb c) {
    SetDCBrushColor(dc, Ref(c));
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? kShiftKey : 0) | (GetKeyState(VK_CONTROL) < 0 ? kCtrlKey : 0) |
           (GetKeyState(VK_MENU) < 0 ? kAltKey : 0);
}

int Buttons(WPARAM wp) {
    return (wp & MK_LBUTTON ? kLeftButton : 0) | (wp & MK_RBUTTON ? kRightButton : 0) |
           (wp & MK_MBUTTON ? kMiddleButton : 0);
}

int PressedButton(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN: return kRightButton;
        case WM_MBUTTONDOWN: return kMiddleButton;
        default: return kLeftButton;
    }
}

std::wstring WindowString(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Copies text into a caller's buffer of `capacity` characters, NUL included.
LRESULT CopyOut(const std::wstring& text, WPARAM capacity, LPARAM buffer) {
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (!out || capacity == 0) return 0;
    const size_t n = std::min<size_t>(text.size(), capacity - 1);
    std::copy_n(text.data(), n, out);
    out[n] = L'\0';
    return static_cast<LRESULT>(n);
}

}  // namespace

// --- The open list ---------------------------------------------------------------

class ComboList final : public ui::win::Window {
public:
    ComboList(HINSTANCE instance, ComboWindow& combo) : combo_(combo) {
        Register(instance, ui::win::WindowClass{kComboListClass, nullptr, nullptr, nullptr, CS_DROPSHADOW});
        // A popup that never takes the focus: the keys stay in the text area.
        Create(instance, kComboListClass, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
               WS_POPUP | WS_BORDER | WS_VSCROLL, L"", RECT{0, 0, 0, 0}, GetAncestor(combo.hwnd(), GA_ROOT));
    }

    void Sync() {
        const Combo& m = combo_.model();
        if (!m.DroppedDown()) {
            if (IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_HIDE);
            pressed_ = false;
            return;
        }
        rowHeight_ = MeasureRow();
        const int rows = std::min(m.ListCount(), kDropRows);
        RECT combo;
        GetWindowRect(combo_.hwnd(), &combo);
        const int border = 2 * GetSystemMetrics(SM_CYBORDER);
        // As wide as the control, or as its longest entry when that is wider.
        const int scrollBar = m.ListCount() > rows ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        const int width = std::max<int>(combo.right - combo.left, WidestRow() + scrollBar + border);
        const int height = rows * rowHeight_ + border;
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        GetMonitorInfoW(MonitorFromWindow(combo_.hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
        // Below the control, or above it when the screen ends first.
        const int top = combo.bottom + height > monitor.rcWork.bottom ? combo.top - height : combo.bottom;
        SCROLLINFO scroll{sizeof scroll, SIF_RANGE | SIF_PAGE | SIF_POS, 0, m.ListCount() - 1,
                          static_cast<UINT>(rows), m.TopIndex(), 0};
        SetScrollInfo(hwnd(), SB_VERT, &scroll, TRUE);
        ShowScrollBar(hwnd(), SB_VERT, m.ListCount() > rows);
        SetWindowPos(hwnd(), HWND_TOPMOST, combo.left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        InvalidateRect(hwnd(), nullptr, FALSE);
    }

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        Combo& m = combo_.model();
        switch (msg) {
            case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
            case WM_PAINT: Paint(); return 0;
            case WM_ERASEBKGND: return 1;
            case WM_MOUSEMOVE: m.OnListHover(RowAt(GET_Y_LPARAM(lp))); return 0;
            case WM_LBUTTONDOWN: pressed_ = true; return 0;
            case WM_LBUTTONUP:
                if (pressed_) m.OnListChoose(RowAt(GET_Y_LPARAM(lp)));
                pressed_ = false;
                return 0;
            case WM_MOUSEWHEEL: m.OnWheel(GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA); return 0;
            case WM_VSCROLL: OnScroll(LOWORD(wp)); return 0;
            default: return Default(msg, wp, lp);
        }
    }

    int MeasureRow() {
        HDC dc = GetDC(hwnd());
        const HGDIOBJ old = SelectObject(dc, combo_.font());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(hwnd(), dc);
        return metrics.tmHeight + combo_.dpi().Scale(kRowPadding);
    }

    int WidestRow() {
        HDC dc = GetDC(hwnd());
        const HGDIOBJ old = SelectObject(dc, combo_.font());
        int widest = 0;
        for (const std::string& entry : combo_.model().Entries()) {
            const std::wstring text = Utf8ToWide(entry);
            SIZE size{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            widest = std::max<int>(widest, size.cx);
        }
        SelectObject(dc, old);
        ReleaseDC(hwnd(), dc);
        return widest + 2 * combo_.dpi().Scale(kRowPadding);
    }

    int RowAt(int y) const { return rowHeight_ > 0 && y >= 0 ? combo_.model().TopIndex() + y / rowHeight_ : -1; }

    void OnScroll(int request) {
        Combo& m = combo_.model();
        const int rows = std::min(m.ListCount(), kDropRows);
        SCROLLINFO scroll{sizeof scroll, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(hwnd(), SB_VERT, &scroll);
        int top = m.TopIndex();
        switch (request) {
            case SB_LINEUP: --top; break;
            case SB_LINEDOWN: ++top; break;
            case SB_PAGEUP: top -= rows; break;
            case SB_PAGEDOWN: top += rows; break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: top = scroll.nTrackPos; break;
            default: return;
        }
        m.OnListScroll(top);
    }

    void Paint() {
        const Combo& m = combo_.model();
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        RECT client;
        GetClientRect(hwnd(), &client);
        Fill(dc, client, m.BackColor());
        SelectObject(dc, combo_.font());
        SetBkMode(dc, TRANSPARENT);
        const int indent = combo_.dpi().Scale(kRowPadding);
        for (int i = m.TopIndex(), y = 0; i < m.ListCount() && y < client.bottom; ++i, y += rowHeight_) {
            RECT row{0, y, client.right, y + rowHeight_};
            const bool hot = i == m.HotIndex();
            if (hot) Fill(dc, row, kHotRow);
            SetTextColor(dc, Ref(hot ? kHotText : m.ForeColor()));
            row.left += indent;
            const std::wstring text = Utf8ToWide(m.Entries()[static_cast<size_t>(i)]);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &row,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        EndPaint(hwnd(), &ps);
    }

    ComboWindow& combo_;
    int rowHeight_ = 1;
    bool pressed_ = false;
};

// --- The control ---------------------------------------------------------------------

ComboWindow::ComboWindow(HINSTANCE instance, HWND parent, int controlId, Combo& model)
    : instance_(instance), model_(model) {
    Register(instance, ui::win::WindowClass{kComboClass, nullptr, nullptr, nullptr, 0});
    if (!Create(instance, kComboClass, WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPCHILDREN | WS_TABSTOP, L"",
                RECT{0, 0, 0, 0}, parent))
        return;
    SetWindowLongPtrW(hwnd(), GWLP_ID, controlId);
    fonts_.SetDpi(ui::win::WindowDpi(hwnd()));
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 0, hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
    if (edit_) {
        SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        editProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboWindow::EditProc)));
    }
    for (size_t i = 0; i < pictures_.size(); ++i) {
        pictures_[i].reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(kComboPictureFirst + i),
                                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    model_.SetObserver([this] { Sync(); });
    Sync();
}

ComboWindow::~ComboWindow() {
    model_.SetObserver({});
    list_.reset();
    // The edit outlives this object by a moment: it must not call back.
    if (edit_ && editProc_) {
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
        SetWindowLongPtrW(edit_, GWLP_USERDATA, 0);
    }
    if (tooltip_) DestroyWindow(tooltip_);
    if (commonControls_) FreeLibrary(commonControls_);
}

HFONT ComboWindow::font() {
    const ComboFont& f = model_.Font();
    return fonts_.Get(f.centiPt, f.bold, f.face);
}

RECT ComboWindow::Px(const Rect& twips) const { return ToRECT(fonts_.dpi().Px(twips)); }

MouseArgs ComboWindow::Args(WPARAM wp, LPARAM lp, POINT offset) const {
    const ui::Dpi d = fonts_.dpi();
    return MouseArgs{Buttons(wp), ShiftState(), d.Twips(GET_X_LPARAM(lp) + offset.x),
                     d.Twips(GET_Y_LPARAM(lp) + offset.y)};
}

// --- Messages of the control --------------------------------------------------------------

LRESULT ComboWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: OnSize(); return 0;
        case WM_SETFOCUS:
            if (edit_) SetFocus(edit_);
            return 0;
        case WM_MOUSEMOVE: case WM_MOUSELEAVE: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
            OnMouse(msg, wp, lp);
            return 0;
        // The platform's Enable of the control window is the control's Enabled.
        case WM_ENABLE: model_.SetEnabled(wp != FALSE); return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kEditId && HIWORD(wp) == EN_CHANGE && !syncing_)
                model_.OnTextEdited(WideToUtf8(WindowString(edit_)));
            return 0;
        case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: return ControlColor(reinterpret_cast<HDC>(wp));
        case WM_GETTEXT: return CopyOut(Utf8ToWide(model_.Text()), wp, lp);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(Utf8ToWide(model_.Text()).size());
        case WM_SETFONT: return 0;  // the font is the model's Font
        case WM_KEYDOWN: model_.OnKeyDown(static_cast<int>(wp), ShiftState()); return 0;
        case WM_KEYUP: model_.OnKeyUp(static_cast<int>(wp), ShiftState()); return 0;
        case WM_CHAR: model_.OnKeyPress(static_cast<int>(wp)); return 0;
        default:
            if (msg >= CB_GETEDITSEL && msg <= CB_MSGMAX) return OnListMessage(msg, wp, lp);
            return Default(msg, wp, lp);
    }
}

LRESULT ComboWindow::OnListMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const auto& entries = model_.Entries();
    const bool valid = wp < entries.size();
    switch (msg) {
        case CB_GETCOUNT: return static_cast<LRESULT>(entries.size());
        case CB_GETCURSEL: return model_.ListIndex();
        case CB_GETLBTEXTLEN: return valid ? static_cast<LRESULT>(Utf8ToWide(entries[wp]).size()) : CB_ERR;
        case CB_GETLBTEXT: return valid ? CopyOut(Utf8ToWide(entries[wp]), static_cast<WPARAM>(-1), lp) : CB_ERR;
        case CB_GETDROPPEDSTATE: return model_.DroppedDown() ? TRUE : FALSE;
        case CB_SETCURSEL:
            model_.SetListIndex(static_cast<int>(wp));
            return model_.ListIndex();
        case CB_SHOWDROPDOWN: model_.SetDroppedDown(wp != FALSE); return TRUE;
        default: return Default(msg, wp, lp);
    }
}

void ComboWindow::OnSize() {
    const ui::Dpi d = ui::win::WindowDpi(hwnd());
    if (d != fonts_.dpi()) fonts_.SetDpi(d), editFont_ = nullptr;
    RECT r;
    GetClientRect(hwnd(), &r);
    model_.Resize(d.Twips(r.right), d.Twips(r.bottom));
    Sync();
}

void ComboWindow::OnMouse(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const RECT button = Px(model_.Layout().button);
    const bool overButton = PtInRect(&button, at) != FALSE;
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!trackingLeave_) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
                trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
            }
            if (overButton) {
                model_.OnButtonMouseMove(Args(wp, lp, {}));
            } else {
                model_.ResetPic();
                model_.OnMouseMove(Args(wp, lp, {}));
            }
            break;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            model_.ResetPic();
            break;
        default:  // a press of any button
            if (edit_) SetFocus(edit_);
            if (overButton) model_.OnButtonDown();
            break;
    }
}

void ComboWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    const ComboLayout layout = model_.Layout();
    Fill(dc, Px(layout.back), model_.BackColor());
    SetDCBrushColor(dc, Ref(model_.BorderColor()));
    const RECT border = Px(layout.border);
    FrameRect(dc, &border, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (HBITMAP picture = pictures_[static_cast<size_t>(model_.Picture())].get()) {
        BITMAP info{};
        GetObjectW(picture, sizeof info, &info);
        HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ old = SelectObject(source, picture);
        const RECT r = Px(layout.button);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0, info.bmWidth, info.bmHeight,
                   SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    EndPaint(hwnd(), &ps);
}

LRESULT ComboWindow::ControlColor(HDC dc) {
    if (!backBrush_ || brushColor_ != model_.BackColor()) {
        backBrush_.reset(CreateSolidBrush(Ref(model_.BackColor())));
        brushColor_ = model_.BackColor();
    }
    SetTextColor(dc, Ref(model_.ForeColor()));
    SetBkColor(dc, Ref(model_.BackColor()));
    return reinterpret_cast<LRESULT>(backBrush_.get());
}

// --- Model to windows ----------------------------------------------------------------------

void ComboWindow::Sync() {
    if (!hwnd() || !edit_) return;
    SyncEdit();
    SyncTip();
    // The control's width follows the model's rules; the height is fixed.
    RECT r;
    GetClientRect(hwnd(), &r);
    const RECT own = Px(Rect{0, 0, model_.Width(), model_.Height()});
    if (r.right != own.right || r.bottom != own.bottom)
        SetWindowPos(hwnd(), nullptr, 0, 0, own.right, own.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, FALSE);
    InvalidateRect(edit_, nullptr, FALSE);
    // The pressed picture lasts only while the press is handled: paint it now.
    if (model_.Picture() == ButtonPicture::Pressed) UpdateWindow(hwnd());
    if (model_.DroppedDown() && !list_) list_ = std::make_unique<ComboList>(instance_, *this);
    if (list_) list_->Sync();
}

void ComboWindow::SyncEdit() {
    syncing_ = true;
    const std::wstring text = Utf8ToWide(model_.Text());
    if (WindowString(edit_) != text) SetWindowTextW(edit_, text.c_str());
    SendMessageW(edit_, EM_SETREADONLY, model_.Locked(), 0);
    SendMessageW(edit_, EM_SETLIMITTEXT, static_cast<WPARAM>(model_.MaxLength()), 0);
    EnableWindow(edit_, model_.TextEnabled());
    if (HFONT f = font(); f != editFont_) {
        editFont_ = f;
        SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    }
    const RECT place = Px(model_.Layout().text);
    RECT now;
    GetWindowRect(edit_, &now);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&now), 2);
    if (!EqualRect(&now, &place))
        SetWindowPos(edit_, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    syncing_ = false;
}

void ComboWindow::SyncTip() {
    const std::wstring tip = Utf8ToWide(model_.ToolTipText());
    if (!tooltip_) {
        if (tip.empty()) return;
        if (!commonControls_) commonControls_ = ui::win::LoadCommonControls();
        if (!commonControls_) return;
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                   instance_, nullptr);
        if (!tooltip_) return;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(edit_);
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(edit_);
    tool.lpszText = const_cast<wchar_t*>(tip.c_str());
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ComboWindow::ReportSelection() {
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    model_.OnSelectionChanged(static_cast<int>(start), static_cast<int>(end - start));
}

// --- The text area ----------------------------------------------------------------------------

LRESULT CALLBACK ComboWindow::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ComboWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->OnEditMessage(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT ComboWindow::CallEdit(UINT msg, WPARAM wp, LPARAM lp) { return CallWindowProcW(editProc_, edit_, msg, wp, lp); }

LRESULT ComboWindow::OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The text area's place in the control, for the mouse events' points.
    const auto offset = [this] {
        POINT corner{0, 0};
        MapWindowPoints(edit_, hwnd(), &corner, 1);
        return corner;
    };
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (model_.OnKeyDown(static_cast<int>(wp), ShiftState())) {
                swallowChar_ = true;
                return 0;
            }
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            model_.OnKeyUp(static_cast<int>(wp), ShiftState());
            const LRESULT result = CallEdit(msg, wp, lp);
            ReportSelection();
            return result;
        }
        case WM_CHAR: {
            // Enter and Esc mean nothing to a one-line text; the list took them.
            const bool listKey = wp == VK_RETURN || wp == VK_ESCAPE;
            if (swallowChar_ && listKey) {
                swallowChar_ = false;
                return 0;
            }
            swallowChar_ = false;
            const int key = model_.OnKeyPress(static_cast<int>(wp));
            if (key == 0 || listKey) return 0;
            return CallEdit(msg, static_cast<WPARAM>(key), lp);
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            if (msg == WM_LBUTTONDOWN) textPressed_ = true;
            MouseArgs args = Args(wp, lp, offset());
            args.button = PressedButton(msg);
            model_.OnTextMouseDown(args);
            break;
        }
        case WM_LBUTTONUP: {
            const LRESULT result = CallEdit(msg, wp, lp);
            ReportSelection();
            if (std::exchange(textPressed_, false)) model_.OnTextClick();
            return result;
        }
        case WM_MOUSEMOVE: model_.OnMouseMove(Args(wp, lp, offset())); break;
        case WM_MOUSEWHEEL:
            if (model_.OnWheel(GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA)) return 0;
            break;
        case WM_KILLFOCUS: model_.OnFocusLost(); break;
        default: break;
    }
    return CallEdit(msg, wp, lp);
}

}  // namespace torvane::controls::win
