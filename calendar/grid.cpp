#include "calendar/grid.h"

#include <cmath>
#include <string>

#include "calendar/names.h"
#include "engine/gregorian.h"

namespace torvane::calendar {

namespace {

// Pixels at 96 DPI.
constexpr int kHeaderBandExtra = 4;   // band is HeaderHeight + 4 tall
constexpr int kSeparatorOffset = 5;   // separator line at HeaderHeight + 5
constexpr int kRowLineOffset = 4;     // row lines at i * CellHeight + HeaderHeight + 4
constexpr int kCellTextInset = 4;
constexpr int kWeekdayNameInset = 3;
constexpr int kFirstColumnInset = 1;
constexpr std::string_view kDayNumberTail = "   ";
constexpr std::string_view kLunarDayTail = "  ";

DrawOp Fill(Rgb color, int x1, int y1, int x2, int y2) {
    return DrawOp{DrawKind::FillRect, color, x1, y1, x2, y2, {}, false, kGridFontCentiPt};
}

DrawOp Line(Rgb color, int x1, int y1, int x2, int y2) {
    return DrawOp{DrawKind::Line, color, x1, y1, x2, y2, {}, false, kGridFontCentiPt};
}


DrawOp Text(Rgb color, int x, int y, std::string text, bool bold) {
    return DrawOp{DrawKind::Text, color, x, y, x, y, std::move(text), bold, kGridFontCentiPt};
}

// Later rules win: weekday colour, then today, then an official day off.
Rgb DayColour(int column, bool isToday, bool isDayOff) {
    Rgb colour = column == 0 ? kSundayText : column == 6 ? kSaturdayText : kWorkdayText;
    if (isToday) colour = kTodayText;
    if (isDayOff) colour = kDayOffText;
    return colour;
}

void DrawDayCell(const GridInput& in, int day, int offset, clsDate& cal, DrawList& ops) {
    const GridGeometry& g = in.geometry;
    const int u = offset + day - 1;
    const int x = g.CellLeft(u);
    const int y = g.CellTop(u);
    const bool selected = day == in.sel.day;
    ops.push_back(Fill(selected ? kSelectedCellBackground : kCellBackground, x, y,
                       RoundHalfEven(x + g.cellWidth), RoundHalfEven(y + g.cellHeight)));

    const bool isToday = in.sel.year == in.today.year && in.sel.month == in.today.month &&
                         day == in.today.day;
    cal.sInitDate(in.sel.year, in.sel.month, day);
    const Rgb colour = DayColour(u % kGridColumns, isToday, cal.sHolidayRecess());

    const int textX = x + g.dpi.Scale(kCellTextInset);
    const int textY = y + g.dpi.Scale(kCellTextInset);
    ops.push_back(Text(colour, textX, textY, std::to_string(day) + std::string(kDayNumberTail),
                       selected));
    std::string lunar = clsDate::CDayStr(cal.lDay());
    if (!lunar.empty()) {
        // The lunar day sits on the text line below the day number.
        ops.push_back(Text(colour, textX, textY + g.headerHeight,
                           lunar + std::string(kLunarDayTail), selected));
    }
}

int Roll(int& month, int delta) {
    month += delta;
    if (month > 12) {
        month = 1;
        return 1;
    }
    if (month < 1) {
        month = 12;
        return -1;
    }
    return 0;
}

// Moves to the next (+1) or previous (-1) month, keeping the year in range.
void StepMonth(SelDate& sel, int delta) {
    const int yearDelta = Roll(sel.month, delta);
    if (yearDelta != 0) sel.year = ClampStepYear(sel.year + yearDelta);
}

}  // namespace

int GetMonthDayCount(int year, int month) { return engine::GregorianMonthDays(year, month); }

int MonthOffset(int year, int month) {
    // 1 January 1970 was a Thursday.
    const int64_t days = DaysFromCivil(year, month, 1);
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

int RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    double result = lower;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0)) result = lower + 1;
    return static_cast<int>(result);
}

GridGeometry GridGeometry::For(int scaleWidth, int scaleHeight, int headerHeight, ui::Dpi dpi) {
    GridGeometry g;
    g.scaleWidth = scaleWidth;
    g.scaleHeight = scaleHeight;
    g.headerHeight = headerHeight;
    g.dpi = dpi;
    g.cellWidth = static_cast<float>(scaleWidth) / kGridColumns;
    g.cellHeight = static_cast<float>(scaleHeight - headerHeight - dpi.Scale(kRowLineOffset)) / kGridRows;
    return g;
}

int GridGeometry::CellLeft(int u) const {
    return RoundHalfEven(static_cast<float>(u % kGridColumns) * cellWidth +
                         static_cast<float>(dpi.Scale(kFirstColumnInset)));
}

int GridGeometry::CellTop(int u) const {
    return RoundHalfEven(static_cast<float>(u / kGridColumns) * cellHeight +
                         static_cast<float>(FirstCellTop()));
}

std::optional<int> GridGeometry::CellAt(int x, int y) const {
    if (y < FirstCellTop() || x < 0 || cellWidth <= 0 || cellHeight <= 0) return std::nullopt;
    const int column = static_cast<int>(std::floor(x / cellWidth));
    const int row = static_cast<int>(std::floor((y - (headerHeight + dpi.Scale(kRowLineOffset))) / cellHeight));
    if (column >= kGridColumns || row < 0 || row >= kGridRows) return std::nullopt;
    return row * kGridColumns + column;
}

DrawList DrawMonthGrid(const GridInput& in, clsDate& cal) {
    const GridGeometry& g = in.geometry;
    DrawList ops;
    ops.reserve(2 * 42 + 24);
    DrawOp clear;
    clear.kind = DrawKind::Clear;
    clear.color = kGridBackground;
    ops.push_back(clear);
    const int separator = g.headerHeight + g.dpi.Scale(kSeparatorOffset);
    ops.push_back(Fill(kHeaderBand, 0, 0, g.scaleWidth, g.headerHeight + g.dpi.Scale(kHeaderBandExtra)));
    ops.push_back(Line(kGridLine, 0, separator, g.scaleWidth, separator));

    const int days = GetMonthDayCount(in.sel.year, in.sel.month);
    const int offset = days > 0 ? MonthOffset(in.sel.year, in.sel.month) : 0;
    for (int day = 1; day <= days; ++day) DrawDayCell(in, day, offset, cal, ops);

    for (int i = 1; i <= kGridColumns; ++i) {
        const int x = RoundHalfEven(static_cast<float>(i) * g.cellWidth);
        ops.push_back(Line(kGridLine, x, 0, x, g.scaleHeight));
    }
    for (int i = 1; i <= kGridRows; ++i) {
        const int y = RoundHalfEven(static_cast<float>(i) * g.cellHeight +
                                    static_cast<float>(g.headerHeight + g.dpi.Scale(kRowLineOffset)));
        ops.push_back(Line(kGridLine, 0, y, g.scaleWidth, y));
    }
    for (int i = 0; i < kGridColumns; ++i) {
        const int inset = g.dpi.Scale(kWeekdayNameInset);
        const int x = RoundHalfEven(static_cast<float>(i) * g.cellWidth + static_cast<float>(inset));
        ops.push_back(Text(kWeekdayNameText, x, inset,
                           std::string(kWeekdayNames[static_cast<size_t>(i)]), false));
    }
    return ops;
}

std::optional<int> DayAt(const GridGeometry& geometry, int year, int month, int x, int y) {
    const std::optional<int> u = geometry.CellAt(x, y);
    const int days = GetMonthDayCount(year, month);
    if (!u || days == 0) return std::nullopt;
    const int day = *u + 1 - MonthOffset(year, month);
    if (day < 1 || day > days) return std::nullopt;
    return day;
}

int ClampStepYear(int year) {
    return year > kLastYear ? kLastYear : year < kFirstYear ? kFirstYear : year;
}

SelDate ApplyKey(SelDate sel, int keyCode) {
    switch (keyCode) {
        case kKeyRight:
        case kKeyDown:
            sel.day += keyCode == kKeyRight ? 1 : 7;
            if (sel.day > GetMonthDayCount(sel.year, sel.month)) {
                sel.day = 1;
                StepMonth(sel, +1);
            }
            break;
        case kKeyLeft:
        case kKeyUp:
            sel.day -= keyCode == kKeyLeft ? 1 : 7;
            if (sel.day < 1) {
                StepMonth(sel, -1);
                sel.day = GetMonthDayCount(sel.year, sel.month);
            }
            break;
        case kKeyPageUp:
        case kKeyPageDown:
            sel.day = 1;
            StepMonth(sel, keyCode == kKeyPageDown ? +1 : -1);
            break;
        default:
            break;
    }
    return sel;
}

SelDate ApplyArrow(SelDate sel, int index, const CivilDate& today) {
    switch (index) {
        case 0: sel.day = 1; sel.year -= 1; break;
        case 1: sel.day = 1; sel.year += Roll(sel.month, -1); break;
        case 2: sel.day = 1; sel.year += Roll(sel.month, +1); break;
        case 3: sel.day = 1; sel.year += 1; break;
        case 4: return SelDate{today.year, today.month, today.day};
        default: return sel;
    }
    sel.year = ClampStepYear(sel.year);
    return sel;
}

SelDate KeepDayInMonth(SelDate sel) {
    const int days = GetMonthDayCount(sel.year, sel.month);
    if (sel.day > days) sel.day = days;
    if (sel.day < 1) sel.day = 1;
    return sel;
}

}  // namespace torvane::calendar
