#include "ui/win/element_mirror.h"

#include <commctrl.h>

#include <algorithm>

#include "common/win/wide_text.h"
#include "common/win/window_class.h"
#include "ui/win/common_controls.h"

namespace torvane::ui::win {

namespace {

constexpr wchar_t kMirrorClass[] = L"TorvaneElement";

bool IsMirrored(ElementKind kind) {
    return kind == ElementKind::Label || kind == ElementKind::Button || kind == ElementKind::Surface ||
           kind == ElementKind::Picture;
}

bool IsControl(ElementKind kind) {
    return kind == ElementKind::TextBox || kind == ElementKind::List || kind == ElementKind::Placeholder;
}

// Paints nothing and lets the mouse through to the parent.
LRESULT CALLBACK MirrorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
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

void RegisterMirrorClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.lpfnWndProc = MirrorProc;
    wc.hInstance = instance;
    wc.lpszClassName = kMirrorClass;
    torvane::win::RegisterClassOnce(wc);
}

// Buttons and surfaces are read out by their tip, else by their name; the
// rest by their text.
std::wstring AccessibleText(const Element& e) {
    if (e.kind == ElementKind::Button || e.kind == ElementKind::Surface) {
        if (!e.tip.empty()) return Utf8ToWide(e.tip);
        if (e.text.empty()) return Utf8ToWide(e.name);
    }
    std::wstring text = Utf8ToWide(e.text);
    if (e.kind == ElementKind::TextBox) {
        // The edit control breaks lines at CR LF only.
        for (size_t at = 0; (at = text.find(L'\n', at)) != std::wstring::npos; ++at) {
            if (at == 0 || text[at - 1] != L'\r') text.insert(at++, 1, L'\r');
        }
    }
    return text;
}

// Controls clip their siblings: a feature's window laid over one (the web
// pane over the day panel's text) stays on top when the control repaints.
HWND CreateChild(HINSTANCE instance, HWND owner, const Element& e, int controlId) {
    HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId));
    if (IsMirrored(e.kind))
        return CreateWindowExW(0, kMirrorClass, L"", WS_CHILD, 0, 0, 0, 0, owner, id, instance, nullptr);
    if (e.kind == ElementKind::TextBox)
        return CreateWindowExW(0, L"EDIT", L"",
                               WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                               0, 0, 0, 0, owner, id, instance, nullptr);
    if (e.kind == ElementKind::List)
        return CreateWindowExW(0, L"LISTBOX", L"",
                               WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               0, 0, 0, 0, owner, id, instance, nullptr);
    return nullptr;
}

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }

constexpr int kCentiPointsPerInch = 72 * 100;
constexpr int kTipWidthAt96 = 320;  // a long text wraps in its tooltip

// A label's text as it is drawn: panel lines end in CR LF, which are not shown.
std::wstring DrawnText(const Element& e) {
    std::wstring text = Utf8ToWide(e.text);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

}  // namespace

ElementMirror::ElementMirror(HINSTANCE instance, HWND owner, int firstId)
    : instance_(instance), owner_(owner), firstId_(firstId) {}

ElementMirror::~ElementMirror() {
    for (ATOM name : names_) {
        if (name) GlobalDeleteAtom(name);
    }
    if (tooltip_) DestroyWindow(tooltip_);
    if (commonControls_) FreeLibrary(commonControls_);
}

void ElementMirror::Reserve(const ElementSet& elements) {
    if (children_.size() == elements.size()) return;
    children_.assign(elements.size(), nullptr);
    names_.assign(elements.size(), 0);
    cutTips_.assign(elements.size(), false);
}

void ElementMirror::Create(const ElementSet& elements, FontCache& fonts) {
    RegisterMirrorClass(instance_);
    fonts_ = &fonts;
    Reserve(elements);
    for (const Element& e : elements) {
        if (children_[e.id]) continue;  // adopted already
        HWND child = CreateChild(instance_, owner_, e, firstId_ + e.id);
        if (!child) continue;
        Name(e.id, child, e.name);
    }
    SetFonts(elements, fonts);
}

void ElementMirror::Name(size_t id, HWND child, std::string_view name) {
    children_[id] = child;
    names_[id] = GlobalAddAtomW(Utf8ToWide(name).c_str());
    if (names_[id]) SetPropW(child, kElementNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(names_[id])));
}

void ElementMirror::Adopt(const Element& e, HWND child, const Dpi& dpi) {
    if (e.id >= children_.size() || children_[e.id] || !child) return;
    Name(e.id, child, e.name);
    SyncElement(e, dpi);
}

void ElementMirror::CreateTooltips(const ElementSet& elements, const Dpi& dpi) {
    const auto mayTip = [](const Element& e) { return !e.tip.empty() || e.kind == ElementKind::Label; };
    if (tooltip_ || std::none_of(elements.begin(), elements.end(), mayTip)) return;
    commonControls_ = LoadCommonControls();
    if (!commonControls_) return;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr,
                               instance_, nullptr);
    for (const Element& e : elements) {
        if (e.tip.empty() || !tooltip_) continue;
        const std::wstring tip = Utf8ToWide(e.tip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = owner_;
        tool.uId = static_cast<UINT_PTR>(firstId_ + e.id);
        tool.lpszText = const_cast<wchar_t*>(tip.c_str());
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SyncTip(e, dpi.Px(e.rect));
    }
    if (!tooltip_) return;
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, dpi.Scale(kTipWidthAt96));
    for (const Element& e : elements) SyncCutTip(e, dpi.Px(e.rect));
}

void ElementMirror::SetFonts(const ElementSet& elements, FontCache& fonts) {
    fonts_ = &fonts;
    for (const Element& e : elements) {
        if (e.kind == ElementKind::Placeholder) continue;  // an adopted window keeps its own font
        if (HWND child = Child(e.id))
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(e.style.fontCentiPt, false)), FALSE);
    }
}

std::optional<size_t> ElementMirror::IdOf(int controlId) const {
    const int id = controlId - firstId_;
    if (id < 0 || static_cast<size_t>(id) >= children_.size()) return std::nullopt;
    return static_cast<size_t>(id);
}

void ElementMirror::Sync(const ElementSet& elements, const ElementSet::Changes& changes, const Dpi& dpi) {
    if (changes.all) {
        for (const Element& e : elements) SyncElement(e, dpi);
    } else {
        for (uint16_t id : changes.ids) {
            if (id < elements.size()) SyncElement(elements[id], dpi);
        }
    }
    const RepaintTracker::Repaint repaint = repaint_.Update(elements, changes, dpi);
    if (repaint.all) InvalidateRect(owner_, nullptr, FALSE);
    for (const Rect& r : repaint.rects) {
        const RECT pixels = ToRECT(r);
        InvalidateRect(owner_, &pixels, FALSE);
    }
}

void ElementMirror::SyncChildren(const ElementSet& elements, const Dpi& dpi) {
    for (const Element& e : elements) SyncElement(e, dpi);
}

void ElementMirror::SyncElement(const Element& e, const Dpi& dpi) {
    const Rect px = dpi.Px(e.rect);
    SyncTip(e, px);
    SyncCutTip(e, px);
    HWND child = Child(e.id);
    if (!child) return;
    if (e.kind != ElementKind::List && e.kind != ElementKind::Placeholder) {
        const std::wstring text = AccessibleText(e);
        const int length = GetWindowTextLengthW(child);
        std::wstring current(static_cast<size_t>(length) + 1, L'\0');
        current.resize(static_cast<size_t>(GetWindowTextW(child, current.data(), length + 1)));
        if (text != current) SetWindowTextW(child, text.c_str());
    }
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, owner_, reinterpret_cast<POINT*>(&r), 2);
    if (r.left != px.left || r.top != px.top || r.right - r.left != px.width || r.bottom - r.top != px.height)
        SetWindowPos(child, nullptr, px.left, px.top, px.width, px.height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The child's own flag: while the window itself is hidden (before its
    // first showing) every child reads as invisible.
    const bool shown = (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == e.visible) return;
    // A control that pops up must be the first window the mouse meets there,
    // above the mirror windows it covers.
    if (e.visible && IsControl(e.kind))
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(child, e.visible ? SW_SHOWNA : SW_HIDE);
}

void ElementMirror::SyncTip(const Element& e, const Rect& pixels) {
    if (!tooltip_ || e.tip.empty()) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner_;
    tool.uId = static_cast<UINT_PTR>(firstId_ + e.id);
    // A hidden element offers no tip.
    tool.rect = e.visible ? ToRECT(pixels) : RECT{};
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace torvane::ui::win

namespace torvane::ui::win {

bool ElementMirror::IsCut(const Element& e, const std::wstring& text, const Rect& pixels) const {
    HDC dc = GetDC(owner_);
    if (!dc) return false;
    const HGDIOBJ before = SelectObject(dc, fonts_->Get(e.style.fontCentiPt, e.style.bold));
    // As the painter draws it: one line with "…" unless the place holds two.
    const int lineHeight = MulDiv(e.style.fontCentiPt, fonts_->dpi().value(), kCentiPointsPerInch);
    bool cut = false;
    if (pixels.height > 2 * lineHeight) {
        RECT r{0, 0, pixels.width, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        cut = r.bottom > pixels.height;
    } else {
        SIZE size{};
        cut = GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size) && size.cx > pixels.width;
    }
    SelectObject(dc, before);
    ReleaseDC(owner_, dc);
    return cut;
}

void ElementMirror::SyncCutTip(const Element& e, const Rect& pixels) {
    if (!tooltip_ || !fonts_ || e.kind != ElementKind::Label || !e.tip.empty() || e.id >= cutTips_.size()) return;
    std::wstring text = DrawnText(e);
    const bool cut = e.visible && pixels.width > 0 && !text.empty() && IsCut(e, text, pixels);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner_;
    tool.uId = static_cast<UINT_PTR>(firstId_ + e.id);
    if (!cut) {
        if (cutTips_[e.id]) SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        cutTips_[e.id] = false;
        return;
    }
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = ToRECT(pixels);
    tool.lpszText = text.data();
    if (!cutTips_[e.id]) {
        cutTips_[e.id] = SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
        return;
    }
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace torvane::ui::win
