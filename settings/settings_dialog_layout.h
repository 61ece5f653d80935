// The settings dialog's elements: where each one sits, how it looks, which
// switch writes which key, and the switch pictures. Everything in twips.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/settings_keys.h"
#include "ui/draw_list.h"
#include "ui/element.h"

namespace torvane::settings {

using ui::Element;
using ui::ElementSet;
using ui::Rect;

// Every element of sz, in painting order (back to front).
enum class SzCtl : uint16_t {
    P1, FrameTop, FrameLeft, FrameRight, FrameBottom,
    Label1, I1, Label9, Label8, Focus,
    c1, c2, c3, c4, c5, c6, c7, c8, c9,
    Label2, Label3, Label4, Label5, Label6, Label7,
    Label10, Label11, Label12, Label13, Label14,
    Count
};
inline constexpr size_t kSzElementCount = static_cast<size_t>(SzCtl::Count);
constexpr size_t Index(SzCtl id) { return static_cast<size_t>(id); }

// The dialog's size as designed, in twips at every DPI.
inline constexpr int kSzWidth = ui::Tw(400);
inline constexpr int kSzHeight = ui::Tw(300);
// The dialog sits this far left of the main window's left edge, on top of
// the main window's own width.
inline constexpr int kSzGapLeft = 710;

inline constexpr std::string_view kLinkPrefix = "官方网站：";
inline constexpr std::string_view kMailPrefix = "联系邮箱:";
inline constexpr std::string_view kContactMail = "service@torvane.cn";

// One switch: its picture, the key it writes, the label beside it and what
// that label says. A display switch's label is a preview of the main
// window's text; the others name the switch's state.
struct SwitchDesign {
    SzCtl picture;
    std::string_view key;
    SzCtl caption;
    std::string_view onCaption;   // empty for a display switch
    std::string_view offCaption;
    bool showsOnMain;             // the main window shows or hides elements at once
};

inline constexpr std::array<SwitchDesign, 9> kSwitches = {{
    {SzCtl::c1, kWeatherShownKey, SzCtl::Label2, {}, {}, true},
    {SzCtl::c2, kWeatherTextShownKey, SzCtl::Label3, {}, {}, true},
    {SzCtl::c3, kClockShownKey, SzCtl::Label4, {}, {}, true},
    {SzCtl::c4, kDateShownKey, SzCtl::Label5, {}, {}, true},
    {SzCtl::c5, kLunarDateShownKey, SzCtl::Label6, {}, {}, true},
    {SzCtl::c6, kFestivalsShownKey, SzCtl::Label7, {}, {}, true},
    {SzCtl::c7, kAutostartKey, SzCtl::Label10, "已设置开机启动日历", "开机启动日历", false},
    {SzCtl::c8, kWeatherBalloonKey, SzCtl::Label11, "运行气泡提示天气", "开启气泡提示天气", false},
    {SzCtl::c9, kAutoUpgradeKey, SzCtl::Label12, "自动升级", "手动升级", false},
}};

// The switch whose picture or caption label this is.
std::optional<size_t> SwitchOf(SzCtl id);

// Where Tab goes, in order: the switches by columns, then the link.
inline constexpr std::array<SzCtl, 10> kFocusOrder = {
    SzCtl::c1, SzCtl::c2, SzCtl::c3, SzCtl::c4, SzCtl::c5,
    SzCtl::c6, SzCtl::c7, SzCtl::c8, SzCtl::c9, SzCtl::Label13};

// The elements as designed: names, kinds, looks, designed texts and places.
ElementSet SzDesignedElements();
// The designed text of an element.
std::string_view DesignedText(SzCtl id);

// The keyboard focus mark: a bar at the left of the focused element.
Rect FocusMarkFor(const Rect& focused);

// The switch pictures in a switch's own device pixels: `b2` shows on, `b1` off.
ui::DrawList SwitchPicture(bool on, const ui::Dpi& dpi);

// Where the dialog opens: its top on the main window's top and its left the
// main window's width plus kSzGapLeft left of the main window's left edge.
// Where that is not on the work area, it opens the same distance right of
// the main window; it is moved onto the work area when neither fits.
Rect SzPlacement(const Rect& mainWindow, const Rect& workArea);

}  // namespace torvane::settings
