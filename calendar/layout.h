// The main window's elements: where each one sits (Form_Resize), how it looks,
// what the mouse does over it, and the window's outer geometry in twips.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/constants.h"
#include "calendar/ports.h"

namespace torvane::calendar {

// Every element of frmMain, in painting order (back to front). The mouse
// meets the front-most visible element under it.
enum class Ctl : uint8_t {
    Image1, Image6, P1, P2, P3, P4, P5,
    bt, c1, I1, I11,
    Image5, Pi, Label12, Label8, Image7, Label9, Label13, Label10,
    Label2, La, Label1, Label4, Label16, Label15,
    text2, Combo3,
    Image2_0, Image2_1, Image2_2, Image2_3, Image2_4,
    Label5, Label6, Label7,
    picMain,
    L0, L1, L2, L3, L4, L5, L6, L7, Text1, Label3, adbox,
    List1, List2,
    Count
};
inline constexpr size_t kElementCount = static_cast<size_t>(Ctl::Count);

constexpr Ctl Image2(int index) { return static_cast<Ctl>(static_cast<int>(Ctl::Image2_0) + index); }
constexpr Ctl L(int index) { return static_cast<Ctl>(static_cast<int>(Ctl::L0) + index); }
constexpr size_t Index(Ctl id) { return static_cast<size_t>(id); }

enum class ElementKind : uint8_t {
    Skin,         // background picture (Image1, Image6)
    FrameLine,    // 1-pixel frame strip (P1..P5)
    Label,        // text
    Button,       // drawn glyph with a normal and a hover look
    Picture,      // picture filled in by a later feature (weather icon, decoration)
    Grid,         // picMain: replays the month grid's draw list
    TextBox,      // multi-line read-only text (Text1)
    List,         // list box (List1, List2)
    Placeholder,  // reserved place of a later feature (city pickers, web pane)
};

enum class ButtonLook : uint8_t { Normal, Hover };

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool Contains(int x, int y) const {
        return x >= left && y >= top && x - left < width && y - top < height;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct ElementStyle {
    Rgb color = kTextPrimary;       // text or glyph
    Rgb hoverColor = kTextPrimary;  // glyph in the hover look
    Rgb background = kSkinBackground;
    bool filled = false;            // paint `background` under the element
    int fontCentiPt = kLabelFontCentiPt;
    bool bold = false;
};

// What a mouse press on the element does besides its own handler.
enum MouseTrait : uint8_t {
    kNoTrait = 0,
    kDragsWindow = 1,  // MouseDown starts the window move (yidong)
    kClickable = 2,    // has a Click handler
};

struct Element {
    Ctl id = Ctl::Image1;
    std::string_view name;
    ElementKind kind = ElementKind::Label;
    Rect rect;
    bool visible = true;
    std::string text;
    ButtonLook look = ButtonLook::Normal;
    ElementStyle style;
    uint8_t traits = kNoTrait;
};

using Elements = std::array<Element, kElementCount>;

// The elements as designed: names, kinds, styles, designed texts, positions
// for a window of the designed size.
Elements DesignedElements();

// Form_Resize's placement for a client area of this size (pixels).
void LayOut(Elements& elements, int clientWidth, int clientHeight);

// The front-most visible element under a client point; nothing over the
// window's own background.
std::optional<Ctl> ElementAt(const Elements& elements, int x, int y);

// The hover pictures after the mouse moved over `over` (nothing = the
// window's background).
void ApplyHover(Elements& elements, std::optional<Ctl> over);
// The mouse left the window: no button stays lit.
void ClearHover(Elements& elements);

// --- Window geometry (twips) ---------------------------------------------------

// Bottom right of the screen, narrow, designed height.
WindowRect StartPlacement(int screenWidthTwips, int screenHeightTwips);
// Wide, with the right edge kept at its gap from the screen's right edge.
WindowRect WidenedRect(WindowRect rect, int screenWidthTwips);
WindowRect NarrowedRect(WindowRect rect);
// Never smaller than the size recorded at start-up.
WindowRect AtLeast(WindowRect rect, int minWidth, int minHeight);

}  // namespace torvane::calendar
