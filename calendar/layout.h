// The main window's elements: where each one sits (Form_Resize), how it looks,
// what the mouse does over it, which display switch shows it, and the
// window's outer geometry. Everything in twips.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "calendar/constants.h"
#include "calendar/ports.h"
#include "common/settings_keys.h"
#include "ui/element.h"

namespace torvane::calendar {

using ui::Element;
using ui::ElementKind;
using ui::ElementSet;
using ui::Look;
using ui::Point;
using ui::Rect;

// Every element of frmMain, in painting order (back to front). The mouse
// meets the front-most visible element under it.
enum class Ctl : uint16_t {
    Image1, Image6, P1, P2, P3, P4, P5,
    bt, c1, I1, I11,
    Image5, Pi, Label12, Label8, Image7, Label9, Label13, Label10,
    Label2, La, Label1, Label4, Label16, Label15,
    text2, Combo3,
    Image2_0, Image2_1, Image2_2, Image2_3, Image2_4,
    Label5, Label6, Label7,
    picMain,
    L0, L1, L2, L3, L4, L5, L6, L7, DayOff, Text1, Label3, adbox,
    List1, List2,
    Count
};
inline constexpr size_t kElementCount = static_cast<size_t>(Ctl::Count);

constexpr Ctl Image2(int index) { return static_cast<Ctl>(static_cast<int>(Ctl::Image2_0) + index); }
constexpr Ctl L(int index) { return static_cast<Ctl>(static_cast<int>(Ctl::L0) + index); }
constexpr size_t Index(Ctl id) { return static_cast<size_t>(id); }

// A display switch of set.ini and the elements it shows when on.
struct DisplaySwitch {
    std::string_view key;
    std::array<Ctl, 4> shows;
    size_t count;
};

inline constexpr std::array<DisplaySwitch, 6> kDisplaySwitches = {{
    {kWeatherShownKey, {Ctl::Label12, Ctl::Label8, Ctl::Label10, Ctl::Image5}, 4},
    {kWeatherTextShownKey, {Ctl::Label9, Ctl::Label13}, 2},
    {kClockShownKey, {Ctl::Label2, Ctl::La}, 2},
    {kDateShownKey, {Ctl::Label1}, 1},
    {kLunarDateShownKey, {Ctl::Label4}, 1},
    {kFestivalsShownKey, {Ctl::Label15, Ctl::Label16}, 2},
}};

// The elements as designed: names, kinds, looks, designed texts and places
// for a window of the designed size.
ElementSet DesignedElements();

// Form_Resize's placement for a client area of this size. The collapse
// button belongs to the day panel: it is there only while the panel is open.
void LayOut(ElementSet& elements, int clientWidth, int clientHeight, bool panelOpen);

// The hover pictures after the mouse moved over `over` (nothing = the
// window's background).
void ApplyHover(ElementSet& elements, std::optional<Ctl> over);
// The mouse left the window: no button stays lit.
void ClearHover(ElementSet& elements);

// --- Window geometry ---------------------------------------------------------

// Bottom right of the screen, narrow, designed height, and never off the
// screen's top or left edge (a small screen at a high DPI).
WindowRect StartPlacement(int screenWidth, int screenHeight);
// Wide, with the right edge kept at its gap from the screen's right edge.
WindowRect WidenedRect(WindowRect rect, int screenWidth);
WindowRect NarrowedRect(WindowRect rect);
// Never smaller than the size recorded at start-up.
WindowRect AtLeast(WindowRect rect, int minWidth, int minHeight);

}  // namespace torvane::calendar
