// Named numbers of the main window: colours, sizes, timers, key codes and the
// tray's message numbers. The Win32 view uses the same names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "ui/palette.h"
#include "ui/units.h"

namespace torvane::calendar {

using ui::Rgb;

// --- Month grid colours (they carry meaning; keep them) --------------------
inline constexpr Rgb kGridBackground{255, 255, 255};
inline constexpr Rgb kHeaderBand{236, 233, 216};
inline constexpr Rgb kGridLine{182, 189, 210};
inline constexpr Rgb kCellBackground{255, 255, 255};
inline constexpr Rgb kWeekdayNameText{0, 0, 0};
inline constexpr Rgb kWorkdayText{0, 0, 0};
inline constexpr Rgb kSundayText{255, 0, 0};
inline constexpr Rgb kSaturdayText{0, 128, 0};
inline constexpr Rgb kTodayText{0, 0, 255};
inline constexpr Rgb kDayOffText{255, 0, 0};
// A light tint behind the selected day, on top of its bold number.
inline constexpr Rgb kSelectedCellBackground{232, 240, 254};
// The corner marks of the statutory days off (休) and make-up workdays (班).
inline constexpr Rgb kRestMarkFill = kDayOffText;
inline constexpr Rgb kWorkMarkFill{71, 85, 105};
inline constexpr Rgb kMarkText{255, 255, 255};

// --- Chrome palette (our own look) -----------------------------------------
inline constexpr Rgb kSkinBackground = ui::palette::kSkin;
inline constexpr Rgb kSkinTintTop = ui::palette::kSkinTint;
inline constexpr Rgb kPanelBackground = ui::palette::kPanel;
inline constexpr Rgb kFrameLine = ui::palette::kFrameLine;
inline constexpr Rgb kAccent = ui::palette::kAccent;
inline constexpr Rgb kAccentHover = ui::palette::kAccentHover;
inline constexpr Rgb kTextPrimary = ui::palette::kTextPrimary;
inline constexpr Rgb kTextSecondary = ui::palette::kTextSecondary;
inline constexpr Rgb kFestivalText = ui::palette::kAlert;
inline constexpr Rgb kButtonGlyph = ui::palette::kGlyph;
inline constexpr Rgb kButtonGlyphHover = ui::palette::kAccent;
inline constexpr Rgb kCloseGlyphHover = ui::palette::kAlert;

// --- Fonts (size in hundredths of a point; the face is the house face) ------
inline constexpr int kGridFontCentiPt = 1050;
// A cell's name of four characters, and the 休/班 marks.
inline constexpr int kGridSmallFontCentiPt = 800;
inline constexpr int kGridMarkFontCentiPt = 750;
inline constexpr int kClockFontCentiPt = 2625;
inline constexpr int kLabelFontCentiPt = 900;
inline constexpr int kTitleFontCentiPt = 1050;
// Text height in pixels of "星期" in the grid font at 96 dpi; the view
// measures and sets the real value for its DPI.
inline constexpr int kDefaultHeaderHeight = 19;

// --- Window geometry (twips) -------------------------------------------------
inline constexpr int kWindowWidthNarrow = 5280;
inline constexpr int kWindowWidthWide = 9024;
inline constexpr int kDesignedWindowHeight = 7785;
inline constexpr int kScreenRightGap = 200;
inline constexpr int kScreenBottomGap = 640;

using ui::Tw;
inline constexpr int kCalendarPartWidth = Tw(352);  // left of the day panel
inline constexpr int kPicMainLeft = 0;
inline constexpr int kPicMainWidth = Tw(350);
inline constexpr int kPicMainBottomGap = Tw(10);

// --- Grid ------------------------------------------------------------------
inline constexpr int kGridColumns = 7;
// Six week rows, so the 31st of a month that starts on a Friday and the 30th
// and 31st of one that starts on a Saturday have a row of their own.
inline constexpr int kGridRows = 6;
inline constexpr int kFirstYear = 1901;
inline constexpr int kLastYear = 2049;
inline constexpr int kListFirstYear = 1900;
inline constexpr int kListLastYear = 2049;

// --- Timers ------------------------------------------------------------------
enum class TimerId : uint8_t { Timer2 = 1, T1, T3, TmrLoad };
inline constexpr int kTimer2IntervalMs = 1000;
inline constexpr int kT1IntervalMs = 4000;
inline constexpr int kT3IntervalMs = 2000;
inline constexpr int kTmrLoadIntervalMs = 300;

// --- Keys (virtual-key codes) ----------------------------------------------
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

// --- Tray ----------------------------------------------------------------------
inline constexpr uint32_t kTrayCallbackMessage = 1025;  // first user message + 1
inline constexpr uint32_t kTrayLeftButtonUp = 514;
inline constexpr uint32_t kTrayRightButtonUp = 517;
inline constexpr uint32_t kTrayBalloonClick = 1029;
// Field sizes of the icon record, NUL included, in ANSI (GBK) bytes.
inline constexpr size_t kTrayTipBytes = 128;
inline constexpr size_t kTrayInfoBytes = 256;
inline constexpr size_t kTrayInfoTitleBytes = 64;
inline constexpr uint32_t kTrayInfoIconInformation = 1;
inline constexpr uint32_t kBalloonTimeoutMs = 10000;
inline constexpr std::string_view kTrayTip = "Torvane";

}  // namespace torvane::calendar
