#include "calendar/grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>

#include "calendar/cell_note.h"
#include "calendar/names.h"
#include "common/text_codec.h"
#include "engine/gregorian.h"
#include "engine/tables.h"

namespace torvane::calendar {

namespace {

// Pixels at 96 DPI.
constexpr int kHeaderBandExtra = 4;   // band is HeaderHeight + 4 tall
constexpr int kSeparatorOffset = 5;   // separator line at HeaderHeight + 5
constexpr int kRowLineOffset = 4;     // row lines at i * CellHeight + HeaderHeight + 4
constexpr int kCellTextInset = 4;
constexpr int kWeekdayNameInset = 3;
constexpr int kFirstColumnInset = 1;
constexpr int kMarkSize = 14;
constexpr int kMarkInset = 3;
constexpr int kMarkTextInset = 2;
constexpr int kMarkTextTop = 1;
// A cell is three characters wide; a longer holiday name is cut to four
// characters in the small font.
constexpr size_t kNoteChars = 3;
constexpr size_t kSmallNoteChars = 4;
constexpr std::string_view kRestMarkText = "休";
constexpr std::string_view kWorkMarkText = "班";
constexpr std::string_view kDayNumberTail = "   ";
constexpr std::string_view kLunarDayTail = "  ";

// Each op is made in its place in the list: the grid adds some 120 a redraw.
DrawOp& Add(DrawList& ops, DrawKind kind, Rgb color, int x1, int y1, int x2, int y2) {
    DrawOp& op = ops.emplace_back();
    op.kind = kind;
    op.color = color;
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
    op.fontCentiPt = kGridFontCentiPt;
    return op;
}

void AddFill(DrawList& ops, Rgb color, int x1, int y1, int x2, int y2) {
    Add(ops, DrawKind::FillRect, color, x1, y1, x2, y2);
}

void AddLine(DrawList& ops, Rgb color, int x1, int y1, int x2, int y2) {
    Add(ops, DrawKind::Line, color, x1, y1, x2, y2);
}

// `text` followed by `tail`.
void AddText(DrawList& ops, Rgb color, int x, int y, std::string_view text, std::string_view tail, bool bold,
             int centiPt = kGridFontCentiPt) {
    DrawOp& op = Add(ops, DrawKind::Text, color, x, y, x, y);
    op.text.reserve(text.size() + tail.size());
    op.text.append(text).append(tail);
    op.bold = bold;
    op.fontCentiPt = centiPt;
}

// Later rules win: weekday colour (none on a make-up workday), then today,
// then an official day off.
Rgb DayColour(int column, bool isToday, bool isDayOff, bool isWorkday) {
    Rgb colour = isWorkday ? kWorkdayText : column == 0 ? kSundayText : column == 6 ? kSaturdayText : kWorkdayText;
    if (isToday) colour = kTodayText;
    if (isDayOff) colour = kDayOffText;
    return colour;
}

// The first `count` characters of UTF-8 text, and whether that is all of it.
std::pair<std::string_view, bool> FirstCharacters(std::string_view text, size_t count) {
    size_t at = 0;
    for (size_t n = 0; n < count && at < text.size(); ++n)
        at += std::max<size_t>(1, Utf8SequenceLength(text.substr(at)));
    return {text.substr(0, at), at >= text.size()};
}

// The insets of a cell in the surface's pixels, scaled once a drawing.
struct CellInsets {
    int text, markInset, markSize, markText, markTextTop;
    explicit CellInsets(ui::Dpi dpi)
        : text(dpi.Scale(kCellTextInset)), markInset(dpi.Scale(kMarkInset)), markSize(dpi.Scale(kMarkSize)),
          markText(dpi.Scale(kMarkTextInset)), markTextTop(dpi.Scale(kMarkTextTop)) {}
};

void DrawMark(const CellInsets& insets, int cellRight, int cellTop, DayOffMark mark, DrawList& ops) {
    if (mark == DayOffMark::None) return;
    const int right = cellRight - insets.markInset;
    const int left = right - insets.markSize;
    const int top = cellTop + insets.markInset;
    const bool rest = mark == DayOffMark::Rest;
    AddFill(ops, rest ? kRestMarkFill : kWorkMarkFill, left, top, right, top + insets.markSize);
    AddText(ops, kMarkText, left + insets.markText, top + insets.markTextTop, rest ? kRestMarkText : kWorkMarkText,
            {}, false, kGridMarkFontCentiPt);
}

void DrawNote(const CellNote& note, Rgb dayColour, int x, int y, bool bold, DrawList& ops) {
    if (note.text.empty()) return;
    const Rgb colour = note.named ? kAccent : dayColour;
    if (FirstCharacters(note.text, kNoteChars).second) {
        AddText(ops, colour, x, y, note.text, kLunarDayTail, bold);
        return;
    }
    AddText(ops, colour, x, y, FirstCharacters(note.text, kSmallNoteChars).first, kLunarDayTail, bold,
            kGridSmallFontCentiPt);
}

void DrawDayCell(const GridInput& in, const CellInsets& insets, int day, int offset, const DayOffStatus& status,
                 clsDate& cal, DrawList& ops) {
    const GridGeometry& g = in.geometry;
    const int u = offset + day - 1;
    const int x = g.CellLeft(u);
    const int y = g.CellTop(u);
    const bool selected = day == in.sel.day;
    const int right = RoundHalfEven(x + g.cellWidth);
    AddFill(ops, selected ? kSelectedCellBackground : kCellBackground, x, y, right, RoundHalfEven(y + g.cellHeight));

    const bool isToday = in.sel.year == in.today.year && in.sel.month == in.today.month &&
                         day == in.today.day;
    cal.sInitDate(in.sel.year, in.sel.month, day);
    // A year the data covers follows the data alone.
    const bool officialDayOff = status.covered ? status.mark == DayOffMark::Rest : cal.sHolidayRecess();
    const Rgb colour = DayColour(u % kGridColumns, isToday, officialDayOff, status.mark == DayOffMark::Work);

    const int textX = x + insets.text;
    const int textY = y + insets.text;
    const char digits[2] = {static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
    const std::string_view number = day < 10 ? std::string_view(digits + 1, 1) : std::string_view(digits, 2);
    AddText(ops, colour, textX, textY, number, kDayNumberTail, selected);
    DrawMark(insets, right, y, status.mark, ops);
    // The note sits on the text line below the day number.
    DrawNote(CellNoteOf(cal, status), colour, textX, textY + g.headerHeight, selected, ops);
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
    // The engine's weekday (1 = Sunday) is the column, counted from 0.
    return static_cast<int>(engine::WeekDayOf(DaysFromCivil(year, month, 1))) - 1;
}

int RoundHalfEven(double value) {
    // Integer floor and parity: the grid rounds four times a cell.
    const auto truncated = static_cast<int64_t>(value);
    const int64_t lower = truncated - (value < static_cast<double>(truncated) ? 1 : 0);
    const double diff = value - static_cast<double>(lower);
    const bool up = diff > 0.5 || (diff == 0.5 && (lower & 1) != 0);
    return static_cast<int>(lower + (up ? 1 : 0));
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
    // Five per day at most (cell, number, mark and its letter, note), and the frame.
    ops.reserve(5 * 31 + 3 + kGridColumns + kGridRows + kGridColumns);
    Add(ops, DrawKind::Clear, kGridBackground, 0, 0, 0, 0).fontCentiPt = 0;
    const int separator = g.headerHeight + g.dpi.Scale(kSeparatorOffset);
    AddFill(ops, kHeaderBand, 0, 0, g.scaleWidth, g.headerHeight + g.dpi.Scale(kHeaderBandExtra));
    AddLine(ops, kGridLine, 0, separator, g.scaleWidth, separator);

    const int days = GetMonthDayCount(in.sel.year, in.sel.month);
    const int offset = days > 0 ? MonthOffset(in.sel.year, in.sel.month) : 0;
    std::array<DayOffStatus, 31> statuses{};
    const auto shown = std::span(statuses).first(static_cast<size_t>(days));
    if (in.daysOff && days > 0) in.daysOff->StatusesOf(DaysFromCivil(in.sel.year, in.sel.month, 1), shown);
    const CellInsets insets(g.dpi);
    for (int day = 1; day <= days; ++day)
        DrawDayCell(in, insets, day, offset, statuses[static_cast<size_t>(day - 1)], cal, ops);

    for (int i = 1; i <= kGridColumns; ++i) {
        const int x = RoundHalfEven(static_cast<float>(i) * g.cellWidth);
        AddLine(ops, kGridLine, x, 0, x, g.scaleHeight);
    }
    for (int i = 1; i <= kGridRows; ++i) {
        const int y = RoundHalfEven(static_cast<float>(i) * g.cellHeight +
                                    static_cast<float>(g.headerHeight + g.dpi.Scale(kRowLineOffset)));
        AddLine(ops, kGridLine, 0, y, g.scaleWidth, y);
    }
    for (int i = 0; i < kGridColumns; ++i) {
        const int inset = g.dpi.Scale(kWeekdayNameInset);
        const int x = RoundHalfEven(static_cast<float>(i) * g.cellWidth + static_cast<float>(inset));
        AddText(ops, kWeekdayNameText, x, inset, kWeekdayNames[static_cast<size_t>(i)], {}, false);
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
