// Child windows that mirror a window's elements: invisible, mouse-transparent
// windows that carry each label's, button's and surface's text, place and
// visibility for screen readers and the tests (named by the "TorvaneName"
// property), the real controls (read-only text box, list boxes) and the
// tooltips of the elements that have one. A label whose text does not fit
// its place (drawn cut, with "…") offers its whole text as a tooltip. The
// parent paints everything else.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/win/unique.h"
#include "ui/element.h"
#include "ui/repaint.h"
#include "ui/win/font_cache.h"

namespace torvane::ui::win {

inline constexpr wchar_t kElementNameProperty[] = L"TorvaneName";

class ElementMirror {
public:
    // Child control ids are `firstId` + the element's id.
    ElementMirror(HINSTANCE instance, HWND owner, int firstId);
    ~ElementMirror();
    ElementMirror(const ElementMirror&) = delete;
    ElementMirror& operator=(const ElementMirror&) = delete;

    // Room for the elements' children: enough to adopt a feature's window or
    // sync before the children are made.
    void Reserve(const ElementSet& elements);
    // The children of every element that has none yet. Making them loads the
    // common controls and costs start-up time: a main window makes them once
    // it is shown.
    void Create(const ElementSet& elements, FontCache& fonts);
    // The tooltips of the elements that have one. Loading the common controls
    // costs start-up time, so the window asks for them once it is shown.
    void CreateTooltips(const ElementSet& elements, const Dpi& dpi);
    // Brings the children in line with what changed and invalidates the
    // owner's pixels the changed elements covered before and cover now.
    void Sync(const ElementSet& elements, const ElementSet::Changes& changes, const Dpi& dpi);
    // Places, names and shows every child as its element says, without
    // touching the owner's pixels: for children made after the owner showed.
    void SyncChildren(const ElementSet& elements, const Dpi& dpi);
    // After a DPI change: the controls take the new fonts.
    void SetFonts(const ElementSet& elements, FontCache& fonts);
    // A feature's own window (a combo box, a web pane) in a placeholder's
    // place: the mirror names, places and shows it as the element says; the
    // feature keeps its text, its font and its life.
    void Adopt(const Element& e, HWND child, const Dpi& dpi);

    HWND Child(size_t id) const { return id < children_.size() ? children_[id] : nullptr; }
    // The element behind a child's control id.
    std::optional<size_t> IdOf(int controlId) const;

private:
    void SyncElement(const Element& e, const Dpi& dpi);
    void SyncTip(const Element& e, const Rect& pixels);
    void SyncCutTip(const Element& e, const Rect& pixels);
    bool IsCut(const Element& e, const std::wstring& text, const Rect& pixels) const;
    void Name(size_t id, HWND child, std::string_view name);

    HINSTANCE instance_;
    HWND owner_;
    int firstId_;
    HWND tooltip_ = nullptr;
    HMODULE commonControls_ = nullptr;
    FontCache* fonts_ = nullptr;  // the owner's, which outlives the mirror
    std::vector<HWND> children_;
    std::vector<bool> cutTips_;  // a label's whole-text tool is registered
    std::vector<ATOM> names_;
    RepaintTracker repaint_;
};

}  // namespace torvane::ui::win
