// The statutory days off: the file's parse, the day-off rule, the names a
// cell shows, and how the grid and the day panel show them.
#include <gtest/gtest.h>

#include <algorithm>

#include "calendar/cell_note.h"
#include "calendar/day_panel.h"
#include "engine/days_off.h"
#include "calendar/grid.h"
#include "common/file_io.h"
#include "calendar/layout.h"
#include "ui/text_width.h"

namespace torvane::calendar {
namespace {

const DaysOff& Shipped() {
    static const std::optional<DaysOff> data =
        DaysOff::Parse(ReadFileBytes(TORVANE_SOURCE_DIR "/resources/holidays.txt").bytes);
    return *data;
}

std::optional<DaysOff> Parse(std::string_view lines) {
    return DaysOff::Parse("published 2025-11-04\nyears 2025 2026\n" + std::string(lines));
}

int64_t Day(int year, int month, int day) { return DaysFromCivil(year, month, day); }

TEST(DaysOff, TakesTheWholeTextOrNothing) {
    struct Case { const char* what; std::string text; bool parses; };
    const std::string header = "published 2025-11-04\nyears 2025 2026\n";
    const Case cases[] = {
        {"plain", header + "2025-01-28 休 春节\n", true},
        {"CR LF, BOM, comments, blank lines", "\xEF\xBB\xBF# x\r\n\r\n" + header + "2025-01-26 班 春节\r\n", true},
        {"headers after the days", "2025-01-28 休 春节\nyears 2025 2025\npublished 2025-11-04", true},
        {"no published", "years 2025 2026\n2025-01-28 休 春节\n", false},
        {"no years", "published 2025-11-04\n2025-01-28 休 春节\n", false},
        {"published twice", header + "published 2025-11-05\n2025-01-28 休 春节\n", false},
        {"date outside the years", header + "2027-01-01 休 元旦\n", false},
        {"date before the years", header + "2024-12-31 休 元旦\n", false},
        {"day zero", header + "2026-01-00 休 元旦\n", false},
        {"years past the last", "published 2025-11-04\nyears 2025 2101\n2025-01-28 休 春节\n", false},
        {"date listed twice", header + "2025-01-28 休 春节\n2025-01-28 班 春节\n", false},
        {"no such day", header + "2025-02-29 休 春节\n", false},
        {"other mark", header + "2025-01-28 假 春节\n", false},
        {"no name", header + "2025-01-28 休 \n", false},
        {"blank in the name", header + "2025-01-28 休 春 节\n", false},
        {"broken UTF-8 in the name", header + "2025-01-28 休 \xE6\x98\n", false},
        {"name too long", header + "2025-01-28 休 " + std::string(49, 'x') + "\n", false},
        {"stray line", header + "2025-01-28 休 春节\nhello\n", false},
        {"oversized", header + "2025-01-28 休 春节\n" + std::string(kMaxDaysOffBytes, '#'), false},
    };
    for (const Case& c : cases) EXPECT_EQ(DaysOff::Parse(c.text).has_value(), c.parses) << c.what;
}

TEST(DaysOff, ShippedFileAndNewerData) {
    const DaysOff& shipped = Shipped();
    EXPECT_EQ(shipped.published(), (CivilDate{2025, 11, 4}));
    EXPECT_TRUE(shipped.Covers(2004) && shipped.Covers(2026) && !shipped.Covers(2027));
    const std::optional<DaysOff> later = DaysOff::Parse("published 2025-11-05\nyears 2027 2027\n2027-01-01 休 元旦");
    ASSERT_TRUE(later);
    EXPECT_TRUE(later->IsNewerThan(shipped));
    EXPECT_FALSE(shipped.IsNewerThan(*later));
    EXPECT_FALSE(shipped.IsNewerThan(shipped));
}

// 春节 2025: Sunday 01-26 is a workday, 01-28 .. 02-04 are off, Saturday
// 02-08 is a workday; a year the data does not cover is not judged.
TEST(DaysOff, DayOffRuleAcrossAMakeUpWeekend) {
    struct Case { int month, day; bool off; DayOffMark mark; };
    const Case cases[] = {
        {1, 25, true, DayOffMark::None},  {1, 26, false, DayOffMark::Work}, {1, 27, false, DayOffMark::None},
        {1, 28, true, DayOffMark::Rest},  {2, 1, true, DayOffMark::Rest},   {2, 4, true, DayOffMark::Rest},
        {2, 5, false, DayOffMark::None},  {2, 8, false, DayOffMark::Work},  {2, 9, true, DayOffMark::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + "-" + std::to_string(c.day));
        const DayOffStatus status = Shipped().StatusOf(Day(2025, c.month, c.day));
        EXPECT_TRUE(status.covered);
        EXPECT_EQ(status.off, c.off);
        EXPECT_EQ(status.mark, c.mark);
        EXPECT_EQ(status.holiday, c.mark == DayOffMark::None ? "" : "春节");
    }
    EXPECT_TRUE(Shipped().StatusOf(Day(2025, 1, 28)).firstDayOff);
    EXPECT_FALSE(Shipped().StatusOf(Day(2025, 1, 29)).firstDayOff);
    // 端午节 2011: 06-04 and 06-06 are listed, the Sunday between them is not.
    EXPECT_FALSE(Shipped().StatusOf(Day(2011, 6, 6)).firstDayOff);
    EXPECT_FALSE(Shipped().StatusOf(Day(2027, 1, 2)).covered);
    EXPECT_FALSE(Shipped().StatusOf(Day(2027, 1, 1)).covered);
}

TEST(CellNote, NamesInTheirOrderOfPreference) {
    const std::optional<DaysOff> data = Parse("2025-02-14 休 测试假日\n2025-04-04 休 清明节\n");
    // A run split by a weekend the file does not list: 08-16 (Saturday) and
    // 08-18 (Monday) are off, Sunday 08-17 is not listed.
    const std::optional<DaysOff> split = Parse("2025-08-16 休 测试假日\n2025-08-18 休 测试假日\n");
    // Fri 08-01 and Mon 08-04 around an unlisted weekend are one run; Tue 08-12
    // and Thu 08-14 are two; the workday 08-23 ends the run of 08-22.
    const std::optional<DaysOff> runs = Parse("2025-08-01 休 测试假日\n2025-08-04 休 测试假日\n2025-08-12 休 测试假日\n"
                                              "2025-08-14 休 测试假日\n2025-08-22 休 测试假日\n2025-08-23 班 测试假日\n"
                                              "2025-08-25 休 测试假日\n");
    ASSERT_TRUE(data && split && runs);
    struct Case { int year, month, day; const DaysOff* data; CellNote note; };
    const Case cases[] = {
        {2011, 6, 6, &Shipped(), {"端午节", true}},   // lunar festival over the solar term 芒种
        {2025, 1, 28, &Shipped(), {"除夕", true}},    // and over the holiday's first day
        {2025, 4, 4, &*data, {"清明", true}},          // solar term over the holiday's first day
        {2025, 2, 14, &*data, {"测试假日", true}},      // the holiday's first day over 情人节
        {2025, 8, 16, &*split, {"测试假日", true}},     // only the run's first day is named
        {2025, 8, 18, &*split, {"廿五", false}},        // not after the gap either
        {2025, 8, 4, &*runs, {"十一", false}},
        {2025, 8, 14, &*runs, {"测试假日", true}},
        {2025, 8, 25, &*runs, {"测试假日", true}},
        {2025, 2, 14, nullptr, {"情人节", true}},      // a Gregorian festival over the lunar day
        {2025, 5, 11, nullptr, {"母亲节", true}},      // a week-based one
        {2025, 10, 2, &Shipped(), {"十一", false}},    // not the holiday's first day
        {2025, 10, 7, &Shipped(), {"十六", false}},    // 国庆节 again after 中秋节 on 10-06
        {2025, 4, 22, nullptr, {"廿五", false}},       // a minor observance stays in the panel
        {2025, 2, 28, nullptr, {"二月", false}},       // the first of a lunar month
        {2025, 7, 25, nullptr, {"闰六月", false}},
        {2025, 12, 20, nullptr, {"冬月", false}},
        {2026, 1, 19, nullptr, {"腊月", false}},
        {1995, 10, 9, nullptr, {"寒露", true}},        // a leap month's 15th is no 中秋节
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
        clsDate cal;
        cal.sInitDate(c.year, c.month, c.day);
        EXPECT_EQ(CellNoteOf(cal, c.data ? c.data->StatusOf(cal.sDate()) : DayOffStatus{}), c.note);
    }
    clsDate leap;
    leap.lInitDate(2028, 5, 5, true);  // 闰五月初五
    EXPECT_EQ(CellNoteOf(leap, {}).text, "初五");
}

const DrawOp* TextOp(const DrawList& ops, std::string_view text) {
    const auto found = std::find_if(ops.begin(), ops.end(), [&](const DrawOp& op) { return op.text == text; });
    return found == ops.end() ? nullptr : &*found;
}

// The colour of the text op `text`; nothing when the grid drew no such text.
std::optional<Rgb> ColourOf(const DrawList& ops, std::string_view text) {
    const DrawOp* op = TextOp(ops, text);
    return op ? std::optional<Rgb>(op->color) : std::nullopt;
}

TEST(CalendarGrid, DaysOffColoursMarksAndNames) {
    const GridGeometry geometry = GridGeometry::For(350, 325, kDefaultHeaderHeight);
    clsDate cal;
    const DrawList jan = DrawMonthGrid(GridInput{{2025, 1, 1}, {2014, 2, 5}, geometry, &Shipped()}, cal);
    EXPECT_EQ(ColourOf(jan, "25   "), kSaturdayText);
    EXPECT_EQ(ColourOf(jan, "26   "), kWorkdayText);  // a Sunday that is a workday
    EXPECT_EQ(ColourOf(jan, "28   "), kDayOffText);
    EXPECT_EQ(ColourOf(jan, "除夕  "), kAccent);
    EXPECT_EQ(ColourOf(jan, "初二  "), kDayOffText);  // 01-30 keeps the day's colour
    // One mark for each listed day, in its cell's top right corner.
    const auto fills = [&](Rgb fill) {
        return std::count_if(jan.begin(), jan.end(),
                             [&](const DrawOp& op) { return op.kind == DrawKind::FillRect && op.color == fill; });
    };
    EXPECT_EQ(fills(kRestMarkFill), 5);  // 01-01, 01-28 .. 01-31
    EXPECT_EQ(fills(kWorkMarkFill), 1);  // 01-26
    const DrawOp* mark = TextOp(jan, "班");
    const DrawOp* day26 = TextOp(jan, "26   ");
    ASSERT_NE(mark, nullptr);
    ASSERT_NE(day26, nullptr);
    EXPECT_GT(mark->x1, day26->x1 + geometry.cellWidth / 2);
    EXPECT_LT(mark->y1, day26->y1 + geometry.headerHeight);

    // A year the data does not cover keeps the fixed days off.
    const DrawList oct = DrawMonthGrid(GridInput{{2027, 10, 1}, {2014, 2, 5}, geometry, &Shipped()}, cal);
    EXPECT_EQ(ColourOf(oct, "2   "), kDayOffText);
    EXPECT_EQ(ColourOf(oct, "4   "), kWorkdayText);
    EXPECT_EQ(TextOp(oct, "休"), nullptr);

    // A name of four characters or more is cut to four in the small font.
    const std::optional<DaysOff> data = Parse("2025-09-03 休 抗战胜利纪念日\n2025-09-10 休 国庆中秋\n");
    const DrawList sep = DrawMonthGrid(GridInput{{2025, 9, 1}, {2014, 2, 5}, geometry, &*data}, cal);
    for (const char* note : {"抗战胜利  ", "国庆中秋  "}) {
        ASSERT_NE(TextOp(sep, note), nullptr) << note;
        EXPECT_EQ(TextOp(sep, note)->fontCentiPt, kGridSmallFontCentiPt) << note;
    }
    // A year the data covers follows the data alone, also on the fixed days off.
    const DrawList oct25 = DrawMonthGrid(GridInput{{2025, 10, 1}, {2014, 2, 5}, geometry, &*data}, cal);
    EXPECT_EQ(ColourOf(oct25, "2   "), kWorkdayText);
}

TEST(CalendarPanel, NamesTheStatutoryDayOffOrWorkdayOnALineOfItsOwn) {
    TextTables tables;
    clsDate cal;
    struct Case {
        SelDate day;
        std::string_view festivals, dayOff;
    };
    const Case cases[] = {
        {{2025, 10, 1}, "公历节日：国庆节 \r\n", "休息日（国庆节）"},
        {{2025, 10, 11}, "公历节日： \r\n", "调休上班（国庆节）"},
        {{2025, 10, 6}, "公历节日：老人节 国际住房日\r\n", "休息日（中秋节）"},
        {{2025, 10, 12}, "公历节日： \r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dayOff);
        const DayInfo info = ShowDayInfo(c.day, cal, tables, &Shipped());
        EXPECT_EQ(info.L[4], c.festivals);
        EXPECT_EQ(info.DayOff, c.dayOff);
    }
    EXPECT_EQ(ShowDayInfo({2025, 10, 1}, cal, tables, &Shipped()).Label16, "国庆节 ");
    EXPECT_EQ(ShowDayInfo({2025, 10, 1}, cal, tables, nullptr).DayOff, "");
}

// Every date the shipped file lists, at every DPI Windows offers: the
// wording fits its line whole, however busy the day's festivals are.
TEST(CalendarPanel, EveryListedDayOffFitsItsLineAtEveryDpi) {
    TextTables tables;
    clsDate cal;
    const ElementSet elements = DesignedElements();
    const Element& line = elements[Index(Ctl::DayOff)];
    int listed = 0;
    for (int64_t day = DaysFromCivil(2004, 1, 1); day <= DaysFromCivil(2026, 12, 31); ++day) {
        const CivilDate date = CivilFromDays(day);
        const DayInfo info = ShowDayInfo({date.year, date.month, date.day}, cal, tables, &Shipped());
        if (info.DayOff.empty()) continue;
        ++listed;
        for (int dpi : {96, 120, 144, 192}) {
            const ui::Dpi d(dpi);
            ASSERT_LE(ui::TextWidthBound(info.DayOff, line.style.fontCentiPt, d, line.style.bold),
                      d.Px(line.rect).width)
                << info.DayOff << " at " << dpi;
        }
    }
    EXPECT_EQ(static_cast<size_t>(listed), Shipped().size());
}

}  // namespace
}  // namespace torvane::calendar
