// The month grid: month lengths, the drawing, the hit test and the rules that
// move the selected day.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "calendar/grid.h"
#include "calendar/names.h"

namespace torvane::calendar {
namespace {

// picMain as laid out for the designed window: 350 x 325 pixels.
const GridGeometry kGeometry = GridGeometry::For(350, 325, kDefaultHeaderHeight);

DrawList Draw(SelDate sel, CivilDate today = {2014, 2, 5}) {
    clsDate cal;
    return DrawMonthGrid(GridInput{sel, today, kGeometry}, cal);
}

// The day-number text op of `day`, found by its text.
const DrawOp* DayText(const DrawList& ops, int day) {
    const std::string wanted = std::to_string(day) + "   ";
    for (const DrawOp& op : ops)
        if (op.kind == DrawKind::Text && op.text == wanted) return &op;
    return nullptr;
}

TEST(CalendarGrid, MonthDayCountFollowsTheGregorianRule) {
    struct Case { int year, month, days; };
    const Case cases[] = {{2014, 1, 31}, {2014, 2, 28}, {2012, 2, 29}, {1900, 2, 28},
                          {2000, 2, 29}, {2100, 2, 28}, {2014, 4, 30}, {2014, 12, 31},
                          {2014, 0, 0},  {2014, 13, 0}, {2014, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        EXPECT_EQ(GetMonthDayCount(c.year, c.month), c.days);
    }
}

TEST(CalendarGrid, RoundsHalvesToEven) {
    const std::pair<double, int> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {2.51, 3}, {-0.5, 0}, {-1.5, -2}};
    for (auto [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

// Six rows: every day of every month from 1900 to 2049 is drawn inside
// picMain and is found again by the hit test at its cell's centre and at its
// day number.
TEST(CalendarGrid, EveryDayOfEveryMonthIsVisibleAndClickable) {
    for (int year = 1900; year <= 2049; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const DrawList ops = Draw({year, month, 1});
            const int offset = MonthOffset(year, month);
            for (int day = 1; day <= GetMonthDayCount(year, month); ++day) {
                SCOPED_TRACE(std::to_string(year) + "-" + std::to_string(month) + "-" +
                             std::to_string(day));
                const DrawOp* text = DayText(ops, day);
                ASSERT_NE(text, nullptr);
                EXPECT_LT(text->y1 + 2 * kGeometry.headerHeight, kGeometry.scaleHeight);
                EXPECT_EQ(DayAt(kGeometry, year, month, text->x1, text->y1), day);
                const int u = offset + day - 1;
                const int cx = static_cast<int>((u % 7 + 0.5f) * kGeometry.cellWidth);
                const int cy = static_cast<int>(kGeometry.headerHeight + 4 +
                                                (u / 7 + 0.5f) * kGeometry.cellHeight);
                EXPECT_EQ(DayAt(kGeometry, year, month, cx, cy), day);
            }
        }
    }
}

TEST(CalendarGrid, HitTestIgnoresHeaderEmptyCellsAndOutside) {
    // February 2015 starts on a Sunday and fills four rows exactly.
    EXPECT_EQ(MonthOffset(2015, 2), 0);
    const int header = kGeometry.FirstCellTop() - 1;
    EXPECT_EQ(DayAt(kGeometry, 2015, 2, 10, header), std::nullopt);
    EXPECT_EQ(DayAt(kGeometry, 2015, 2, 10, kGeometry.CellTop(28) + 5), std::nullopt);  // row 4
    EXPECT_EQ(DayAt(kGeometry, 2014, 2, 10, kGeometry.CellTop(0) + 5), std::nullopt);   // before 1st
    for (auto [x, y] : {std::pair{-5, 100}, {5000, 100}, {100, 5000}})
        EXPECT_EQ(DayAt(kGeometry, 2014, 2, x, y), std::nullopt);
    EXPECT_EQ(DayAt(kGeometry, 2014, 13, 100, 100), std::nullopt);
    EXPECT_EQ(DayAt(GridGeometry::For(0, 0, 19), 2014, 2, 0, 30), std::nullopt);
}

TEST(CalendarGrid, DayColoursByWeekdayTodayAndDayOff) {
    // February 2014: 1st Saturday, 2nd Sunday, 3rd Monday, 5th today.
    const DrawList feb = Draw({2014, 2, 3});
    EXPECT_EQ(DayText(feb, 1)->color, kSaturdayText);
    EXPECT_EQ(DayText(feb, 2)->color, kSundayText);
    EXPECT_EQ(DayText(feb, 3)->color, kWorkdayText);
    EXPECT_EQ(DayText(feb, 5)->color, kTodayText);
    // 1 October 2014 is an official day off; it stays red even when it is today.
    const DrawList oct = Draw({2014, 10, 1}, {2014, 10, 1});
    EXPECT_EQ(DayText(oct, 1)->color, kDayOffText);
    EXPECT_EQ(DayText(oct, 2)->color, kDayOffText);  // the National Day week
    EXPECT_EQ(DayText(oct, 9)->color, kWorkdayText);
}

TEST(CalendarGrid, DrawingLayersAndSelection) {
    const DrawList ops = Draw({2014, 2, 5});
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[0].kind, DrawKind::Clear);
    EXPECT_EQ(ops[0].color, kGridBackground);
    EXPECT_EQ(ops[1].color, kHeaderBand);
    EXPECT_EQ(ops[1].y2, kGeometry.headerHeight + 4);
    EXPECT_EQ(ops[2].color, kGridLine);

    int verticals = 0, horizontals = 0, highlighted = 0;
    std::vector<std::string> names;
    for (const DrawOp& op : ops) {
        if (op.kind == DrawKind::Line && op.x1 == op.x2) ++verticals;
        if (op.kind == DrawKind::Line && op.y1 == op.y2 && op.y1 > kGeometry.headerHeight + 5)
            ++horizontals;
        if (op.kind == DrawKind::FillRect && op.color == kSelectedCellBackground) ++highlighted;
        if (op.kind == DrawKind::Text && op.y1 == 3) names.push_back(op.text);
        if (op.kind == DrawKind::Text && op.y1 != 3) {
            EXPECT_EQ(op.bold, op.text.rfind("5 ", 0) == 0 || op.text == "初六  ") << op.text;
        }
    }
    EXPECT_EQ(verticals, 7);
    EXPECT_EQ(horizontals, 6);
    EXPECT_EQ(highlighted, 1);
    EXPECT_EQ(names, std::vector<std::string>(kWeekdayNames.begin(), kWeekdayNames.end()));
    // The lunar day sits one text line below the day number.
    const DrawOp* day5 = DayText(ops, 5);
    const auto lunar = std::find_if(ops.begin(), ops.end(),
                                    [](const DrawOp& op) { return op.text == "初六  "; });
    ASSERT_NE(lunar, ops.end());
    EXPECT_EQ(lunar->x1, day5->x1);
    EXPECT_EQ(lunar->y1, day5->y1 + kGeometry.headerHeight);
}

// A lunar day name or a festival of up to three characters keeps the grid's
// font; a longer one is cut to four characters in the small font.
TEST(CalendarGrid, CellNotesKeepTheGridFontUpToThreeCharacters) {
    struct Case { SelDate day; const char* text; int centiPt; };
    const Case cases[] = {
        {{2014, 3, 30}, "三十  ", kGridFontCentiPt},    // the 30th day of a long lunar month
        {{2014, 1, 8}, "腊八节  ", kGridFontCentiPt},   // three characters
        {{2014, 2, 6}, "初七  ", kGridFontCentiPt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const DrawList ops = Draw(c.day);
        const auto note = std::find_if(ops.begin(), ops.end(), [&](const DrawOp& op) { return op.text == c.text; });
        ASSERT_NE(note, ops.end());
        EXPECT_EQ(note->fontCentiPt, c.centiPt);
    }
}

struct KeyCase {
    SelDate from;
    int key;
    SelDate to;
};

TEST(CalendarGrid, KeysMoveTheSelectedDay) {
    const KeyCase cases[] = {
        {{2014, 2, 5}, kKeyRight, {2014, 2, 6}},
        {{2015, 5, 30}, kKeyRight, {2015, 5, 31}},
        {{2014, 1, 31}, kKeyRight, {2014, 2, 1}},
        {{2049, 12, 31}, kKeyRight, {2049, 1, 1}},  // the year stays inside 1901..2049
        {{2014, 2, 28}, kKeyDown, {2014, 3, 1}},
        {{2014, 2, 5}, kKeyDown, {2014, 2, 12}},
        {{2014, 3, 3}, kKeyUp, {2014, 2, 28}},
        {{2012, 3, 1}, kKeyLeft, {2012, 2, 29}},
        {{1901, 1, 1}, kKeyLeft, {1901, 12, 31}},
        {{2014, 1, 15}, kKeyPageUp, {2013, 12, 1}},
        {{2013, 12, 15}, kKeyPageDown, {2014, 1, 1}},
        {{2013, 11, 15}, kKeyPageDown, {2013, 12, 1}},
        {{2014, 2, 15}, kKeyPageUp, {2014, 1, 1}},
        {{2049, 12, 15}, kKeyPageDown, {2049, 1, 1}},
        {{1900, 1, 1}, kKeyLeft, {1901, 12, 31}},
        {{2014, 2, 5}, 65, {2014, 2, 5}},
        {{2014, 2, 5}, -1, {2014, 2, 5}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + " from " + std::to_string(c.from.year) + "-" +
                     std::to_string(c.from.month) + "-" + std::to_string(c.from.day));
        EXPECT_EQ(ApplyKey(c.from, c.key), c.to);
    }
}

TEST(CalendarGrid, ArrowButtonsStepAndKeepTheYearInRange) {
    const CivilDate today{2014, 2, 5};
    const KeyCase cases[] = {
        {{2014, 2, 5}, 0, {2013, 2, 1}},  {{1901, 6, 9}, 0, {1901, 6, 1}},
        {{2014, 1, 5}, 1, {2013, 12, 1}}, {{1901, 1, 9}, 1, {1901, 12, 1}},
        {{2014, 12, 5}, 2, {2015, 1, 1}}, {{2049, 12, 9}, 2, {2049, 1, 1}},
        {{2014, 11, 5}, 2, {2014, 12, 1}}, {{2014, 2, 5}, 1, {2014, 1, 1}},
        {{2014, 2, 5}, 3, {2015, 2, 1}},  {{2049, 3, 9}, 3, {2049, 3, 1}},
        {{1990, 7, 9}, 4, {2014, 2, 5}},  {{1990, 7, 9}, 5, {1990, 7, 9}},
        {{1990, 7, 9}, -1, {1990, 7, 9}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE("arrow " + std::to_string(c.key) + " from " + std::to_string(c.from.year));
        EXPECT_EQ(ApplyArrow(c.from, c.key, today), c.to);
    }
}

}  // namespace
}  // namespace torvane::calendar
