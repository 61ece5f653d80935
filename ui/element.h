// The elements a window is made of (labels, drawn buttons, pictures, a
// drawing surface, real controls), their look, the hit test and the record
// of what changed since the view last looked. Places are in twips; the hit
// test takes the device pixels the window reports.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/geometry.h"
#include "ui/units.h"

namespace torvane::ui {

inline constexpr std::string_view kFontFace = "微软雅黑";

enum class ElementKind : uint8_t {
    Skin,         // background area, optionally with a tinted top
    FrameLine,    // a thin frame strip in the element's colour
    Label,        // text
    Button,       // a drawn glyph with a normal and a hover look
    Picture,      // a picture a feature fills in
    Surface,      // replays a draw list of its own (a month grid)
    TextBox,      // multi-line read-only text control
    List,         // list box control
    Placeholder,  // a feature's own window (a combo box, a web pane): the mirror places and shows it
};

enum class Glyph : uint8_t {
    None, Close, Collapse, Settings, Refresh,
    PreviousYear, PreviousMonth, NextMonth, NextYear,
    Pill,  // a filled pill with the element's text
};

enum class Look : uint8_t { Normal, Hover };

struct Style {
    Rgb color;             // text or glyph
    Rgb hoverColor;        // glyph in the hover look
    Rgb background;
    bool filled = false;   // paint `background` under the element
    int fontCentiPt = 900;
    bool bold = false;
    Glyph glyph = Glyph::None;
    int tintHeight = 0;    // skins: height in twips of a tint fading down from `hoverColor`
};

// What a mouse press on the element does besides its own handler.
enum Trait : uint8_t {
    kNoTrait = 0,
    kDragsWindow = 1,  // a press starts the window move
    kClickable = 2,    // has a click handler
    kActsOnPress = 4,  // a press of any button is its click
};

struct Element {
    uint16_t id = 0;  // its place in the window's element list
    std::string_view name;
    ElementKind kind = ElementKind::Label;
    Rect rect;  // twips, in the window's client area
    bool visible = true;
    std::string text;
    Look look = Look::Normal;
    Style style;
    uint8_t traits = kNoTrait;
    std::string_view tip;  // tooltip; buttons read it out as their name
    std::string picture;   // pictures: the image file shown, empty for none
};

// One element as a window's design table holds it; `Id` is the window's
// enum of its elements, in painting order.
template <class Id>
struct ElementDesign {
    Id id;
    std::string_view name;
    ElementKind kind;
    Rect rect;  // twips, as designed
    Style style;
    uint8_t traits;
    std::string_view designedText;
    std::string_view tip = {};
};

// True when every row of the table sits at its id's place.
template <class Id, size_t N>
constexpr bool DesignInOrder(const std::array<ElementDesign<Id>, N>& design) {
    for (size_t i = 0; i < N; ++i) {
        if (static_cast<size_t>(design[i].id) != i) return false;
    }
    return true;
}

// The elements as designed, all visible, in the table's order.
template <class Id, size_t N>
std::vector<Element> DesignedElements(const std::array<ElementDesign<Id>, N>& design) {
    std::vector<Element> elements(N);
    for (size_t i = 0; i < N; ++i) {
        const ElementDesign<Id>& d = design[i];
        Element& e = elements[i];
        e.name = d.name;
        e.kind = d.kind;
        e.rect = d.rect;
        e.style = d.style;
        e.traits = d.traits;
        e.text = std::string(d.designedText);
        e.tip = d.tip;
    }
    return elements;
}

// Elements in painting order (back to front), indexed by id, and what
// changed since the last TakeChanges: the view re-syncs and repaints only that.
class ElementSet {
public:
    struct Changes {
        bool all = false;           // everything (size, DPI, first showing)
        std::vector<uint16_t> ids;  // text, place, visibility, look or content changed
        bool empty() const { return !all && ids.empty(); }
    };

    ElementSet() = default;
    explicit ElementSet(std::vector<Element> elements);

    size_t size() const { return items_.size(); }
    const Element& operator[](size_t id) const { return items_[id]; }
    auto begin() const { return items_.cbegin(); }
    auto end() const { return items_.cend(); }

    void SetText(size_t id, std::string text);
    void SetVisible(size_t id, bool visible);
    void SetRect(size_t id, const Rect& rect);
    void SetLook(size_t id, Look look);
    void SetPicture(size_t id, std::string path);
    // The element's content changed in a way only it knows (a new drawing).
    void MarkChanged(size_t id);
    void MarkAllChanged() { all_ = true; }
    Changes TakeChanges();

    // The front-most visible element under a device pixel of the client.
    std::optional<uint16_t> At(Point pixel, const Dpi& dpi) const;

private:
    void Mark(size_t id);

    std::vector<Element> items_;
    std::vector<bool> changed_;
    std::vector<uint16_t> order_;
    bool all_ = true;
};

}  // namespace torvane::ui
