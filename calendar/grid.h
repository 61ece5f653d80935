// The month grid: its geometry, its drawing and the rules that move the
// selected day (mouse, keys, arrow buttons). Pure functions over plain values.
#pragma once

#include <optional>

#include "calendar/constants.h"
#include "engine/days_off.h"
#include "engine/clsDate.h"
#include "ui/draw_list.h"

namespace torvane::calendar {

using ui::DrawKind;
using ui::DrawList;
using ui::DrawOp;

// The displayed year and month and the selected day (SelYear, SelMonth, SelDay).
struct SelDate {
    int year = 0, month = 0, day = 0;
    friend bool operator==(const SelDate&, const SelDate&) = default;
};

// Gregorian length of a month; 0 for a month outside 1..12.
int GetMonthDayCount(int year, int month);

// Weekday of the first of the month, Sunday = 0 .. Saturday = 6.
int MonthOffset(int year, int month);

// Rounds to the nearest whole number, halves to the even neighbour.
int RoundHalfEven(double value);

// picMain's drawing surface in its own device pixels; the small insets,
// designed at 96 DPI, grow with the DPI.
struct GridGeometry {
    int scaleWidth = 0;
    int scaleHeight = 0;
    int headerHeight = 0;
    float cellWidth = 0;
    float cellHeight = 0;
    ui::Dpi dpi;

    static GridGeometry For(int scaleWidth, int scaleHeight, int headerHeight, ui::Dpi dpi = {});

    // Top of the day cells: the row just below the header's separator line.
    int FirstCellTop() const { return headerHeight + dpi.Scale(6); }
    // Top left corner of cell u (u = offset + day - 1).
    int CellLeft(int u) const;
    int CellTop(int u) const;
    // The cell under a point, counted like u, or nothing for the header band
    // and for points outside the grid. Cells are split at the grid lines, so
    // a click lands in the cell the user sees under the pointer.
    std::optional<int> CellAt(int x, int y) const;
};

struct GridInput {
    SelDate sel;
    CivilDate today;
    GridGeometry geometry;
    // The statutory days off; without them, or for a year they do not cover,
    // the fixed days off of sHolidayRecess and the weekend colours.
    const DaysOff* daysOff = nullptr;
};

// ReDrawCalendar's drawing of the grid: per day its number, its 休/班 mark
// and its note (CellNoteOf). Repositions `cal` for every day.
DrawList DrawMonthGrid(const GridInput& input, clsDate& cal);

// The day clicked at (x, y) of picMain, when it is a day of the displayed month.
std::optional<int> DayAt(const GridGeometry& geometry, int year, int month, int x, int y);

// Keeps a year reached by stepping inside the years the calendar covers.
int ClampStepYear(int year);

// picMain KeyDown; keys without a rule leave the date as it is.
SelDate ApplyKey(SelDate sel, int keyCode);

// Image2 click: 0 previous year, 1 previous month, 2 next month, 3 next year,
// 4 today; any other index changes nothing.
SelDate ApplyArrow(SelDate sel, int index, const CivilDate& today);

// A day kept while the year or month changes is cut to the new month's length.
SelDate KeepDayInMonth(SelDate sel);

}  // namespace torvane::calendar
