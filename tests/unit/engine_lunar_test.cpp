// The lunar table and the two conversions, plus the range sweeps.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "engine/clsDate.h"
#include "engine/tables.h"

namespace torvane {
namespace {

using engine::LunarDate;

LunarDate LunarOf(const clsDate& date) { return {date.lYear(), date.lMonth(), date.lDay(), date.IsLeap()}; }

std::string Name(int y, int m, int d) { return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d); }

TEST(EngineLunar, GregorianToLunarKnownAnswers) {
    struct Case { int y, m, d; LunarDate lunar; };
    const Case cases[] = {
        {1900, 1, 31, {1900, 1, 1, false}},   {2017, 7, 22, {2017, 6, 29, false}},   // first day of the table
        {2017, 7, 23, {2017, 6, 1, true}},    {2017, 8, 21, {2017, 6, 30, true}},    // leap 6th month, 30 days
        {2017, 8, 22, {2017, 7, 1, false}},   {2020, 5, 22, {2020, 4, 30, false}},
        {2020, 5, 23, {2020, 4, 1, true}},    {2023, 1, 21, {2022, 12, 30, false}},
        {2023, 1, 22, {2023, 1, 1, false}},   {2000, 1, 1, {1999, 11, 25, false}},
        {2024, 2, 10, {2024, 1, 1, false}},   {1949, 10, 1, {1949, 8, 10, false}},
        {2008, 8, 8, {2008, 7, 8, false}},    {2050, 1, 22, {2049, 12, 29, false}},  // last day of the table
        {2033, 8, 25, {2033, 8, 1, false}},   {2033, 12, 22, {2033, 11, 1, true}},   // corrected entries
        {1954, 11, 25, {1954, 11, 1, false}}, {1996, 7, 16, {1996, 6, 1, false}},
        {1900, 1, 30, {0, 0, 0, false}},      {2050, 1, 23, {0, 0, 0, false}},       // outside: zeros
    };
    clsDate date;
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.y, c.m, c.d));
        date.sInitDate(c.y, c.m, c.d);
        EXPECT_EQ(LunarOf(date), c.lunar);
        EXPECT_EQ(date.sDate(), DaysFromCivil(c.y, c.m, c.d));
    }
}

TEST(EngineLunar, SInitDateCarriesButKeepsArguments) {
    struct Case { int y, m, d; CivilDate day; };
    const Case cases[] = {
        {2024, 2, 30, {2024, 3, 1}}, {2024, 13, 1, {2025, 1, 1}}, {2024, 0, 1, {2023, 12, 1}},
        {2024, 3, 0, {2024, 2, 29}}, {2024, -11, 1, {2023, 1, 1}}, {2023, 1, 365, {2023, 12, 31}},
    };
    clsDate date, plain;
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.y, c.m, c.d));
        date.sInitDate(c.y, c.m, c.d);
        plain.sInitDate(c.day.year, c.day.month, c.day.day);
        EXPECT_EQ(CivilFromDays(date.sDate()), c.day);
        EXPECT_EQ(LunarOf(date), LunarOf(plain));
        EXPECT_EQ(date.sYear(), c.y);
        EXPECT_EQ(date.sMonth(), c.m);
        EXPECT_EQ(date.sDay(), c.d);
    }
}

TEST(EngineLunar, LunarToGregorianKnownAnswers) {
    struct Case { int y, m, d; bool leap; CivilDate day; bool isLeap; };
    const Case cases[] = {
        {2017, 6, 1, true, {2017, 7, 23}, true},    {2017, 6, 1, false, {2017, 6, 24}, false},
        {2017, 5, 1, true, {2017, 5, 26}, false},   // 2017 has no leap 5th month: ignored
        {2020, 4, 30, false, {2020, 5, 22}, false}, {1900, 1, 1, false, {1900, 1, 31}, false},
        {2049, 12, 29, false, {2050, 1, 22}, false}, {2033, 11, 1, true, {2033, 12, 22}, true},
        {2033, 7, 1, true, {2033, 7, 26}, false},   // no leap 7th month after the fix
        {2017, 6, 31, false, {2017, 7, 24}, false}, // not validated: day 31 runs on
    };
    clsDate date;
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.y, c.m, c.d));
        date.lInitDate(c.y, c.m, c.d, c.leap);
        EXPECT_EQ((CivilDate{date.sYear(), date.sMonth(), date.sDay()}), c.day);
        EXPECT_EQ(CivilFromDays(date.sDate()), c.day);
        EXPECT_EQ(LunarOf(date), (LunarDate{c.y, c.m, c.d, c.isLeap}));
    }
}

TEST(EngineLunar, TablePrimitivesAndYearDays) {
    using namespace engine;
    EXPECT_EQ(BitMask[31], 0x80000000u);
    EXPECT_TRUE(BitTest(0x80000000u, 31));
    EXPECT_FALSE(BitTest(0xFFFFFFFFu, 32) || BitTest(0xFFFFFFFFu, -1));
    // Worked reading of 1900 = 104BD8; 2017 = 115176; 2033 after the fix.
    const int months1900[] = {29, 30, 29, 29, 30, 29, 30, 30, 30, 30, 29, 30};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(lMonthDays(1900, m), months1900[m - 1]) << m;
    EXPECT_EQ(lLeapMonth(1900) * 100 + lLeapDays(1900), 829);
    EXPECT_EQ(lLeapMonth(2017) * 100 + lLeapDays(2017), 630);
    EXPECT_EQ(lLeapMonth(2033), 11);
    EXPECT_EQ(lYearDays(1899) + lYearDays(2050) + lLeapMonth(2050) + lLeapDays(1899) + lMonthDays(2050, 1), 0);
    for (auto [year, days] : {std::pair{1900, 384}, {2000, 354}, {2017, 384}, {2024, 354}, {2049, 355}}) {
        EXPECT_EQ(lYearDays(year), days) << year;
    }
    for (int year = kFirstLunarYear; year <= kLastLunarYear; ++year) {
        SCOPED_TRACE(year);
        int sum = lLeapDays(year);
        for (int m = 1; m <= 12; ++m) sum += lMonthDays(year, m);
        EXPECT_EQ(lYearDays(year), sum);
        EXPECT_TRUE(sum >= 353 && sum <= 385);
        EXPECT_EQ(LunarInfo[static_cast<size_t>(year - kFirstLunarYear)] & 0xFFE0'0000u, 0u);  // bits 0-20 only
    }
}

// The plain year-by-year and month-by-month walks, to prove that the
// cumulative table and binary search give identical results.
LunarDate LiteralWalk(int64_t n) {
    using namespace engine;
    int year = kFirstLunarYear;
    for (; year <= kLastLunarYear && n >= lYearDays(year); ++year) n -= lYearDays(year);
    for (int month = 1; month <= 12; ++month) {
        if (n < lMonthDays(year, month)) return {year, month, static_cast<int>(n) + 1, false};
        n -= lMonthDays(year, month);
        if (month == lLeapMonth(year)) {
            if (n < lLeapDays(year)) return {year, month, static_cast<int>(n) + 1, true};
            n -= lLeapDays(year);
        }
    }
    return {};
}

// Every day of the table: equal to the literal walk; moves on one day at a time
// in the month order of its year, each month of its table length; and lInitDate
// brings the lunar date back to the same Gregorian day.
TEST(EngineLunar, SweepWholeTableRoundTrip) {
    using namespace engine;
    clsDate date, back;
    LunarDate prev{};
    int prevLength = 0;
    const int64_t first = DaysFromCivil(1900, 1, 31), last = DaysFromCivil(2050, 1, 22);
    for (int64_t day = first; day <= last; ++day) {
        const CivilDate c = CivilFromDays(day);
        SCOPED_TRACE(Name(c.year, c.month, c.day));
        date.sInitDate(c.year, c.month, c.day);
        const LunarDate now = LunarOf(date);
        ASSERT_EQ(now, LiteralWalk(day - first));

        back.lInitDate(now.year, now.month, now.day, now.leap);
        ASSERT_EQ(back.sDate(), day);
        ASSERT_EQ((CivilDate{back.sYear(), back.sMonth(), back.sDay()}), c);
        ASSERT_EQ(LunarOf(back), now);

        LunarDate expected{prev.year, prev.month, prev.day + 1, prev.leap};
        if (day == first) {
            expected = {1900, 1, 1, false};
        } else if (now.day == 1) {
            ASSERT_EQ(prev.day, prevLength);  // the month before ran to its full length
            expected = {prev.year, prev.month + 1, 1, false};
            if (!prev.leap && prev.month == lLeapMonth(prev.year)) expected = {prev.year, prev.month, 1, true};
            else if (prev.month == 12) expected = {prev.year + 1, 1, 1, false};
        }
        ASSERT_EQ(now, expected);
        prevLength = now.leap ? lLeapDays(now.year) : lMonthDays(now.year, now.month);
        ASSERT_TRUE(prevLength == 29 || prevLength == 30);
        prev = now;
    }
    EXPECT_EQ(prev, (LunarDate{2049, 12, 29, false}));
}

// Well-formed UTF-8, so never a cut multi-byte character.
bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

// Every member for every day of 1800-2100 (run once under ASan/UBSan): lunar
// fields 0 outside the table, every text well-formed, the Gregorian texts set.
TEST(EngineLunar, SweepEveryMemberOutsideAndInsideRange) {
    const int64_t tableFirst = DaysFromCivil(1900, 1, 31), tableLast = DaysFromCivil(2050, 1, 22);
    const CivilDate today{2024, 6, 1};
    clsDate date;
    for (int64_t day = DaysFromCivil(1800, 1, 1); day <= DaysFromCivil(2100, 12, 31); ++day) {
        const auto [y, m, d] = CivilFromDays(day);
        SCOPED_TRACE(Name(y, m, d));
        date.sInitDate(y, m, d);
        const bool inside = day >= tableFirst && day <= tableLast;
        ASSERT_TRUE(inside || LunarOf(date) == LunarDate{});
        ASSERT_TRUE(date.sWeekDay() >= 1 && date.sWeekDay() <= 7);
        const std::string texts[] = {
            std::string(date.sWeekDayStr()), clsDate::GanZhi(y), std::string(clsDate::YearAttribute(y)),
            clsDate::Era(y), std::string(clsDate::Constellation(m, d)), std::string(clsDate::Constellation2(m, d)),
            clsDate::CDayStr(date.lDay()), std::string(date.lHoliday()),  // empty outside the table
            std::string(date.lSolarTerm()), std::string(date.wHoliday()), std::string(date.sHoliday()),
            clsDate::UpNumber(std::to_string(day)),
        };
        for (size_t i = 0; i < std::size(texts); ++i) {
            ASSERT_TRUE(IsUtf8(texts[i])) << texts[i];
            ASSERT_TRUE(i >= 6 || !texts[i].empty()) << i;
        }
        ASSERT_EQ(texts[6].empty(), !inside);
        ASSERT_TRUE(inside || texts[7].empty());
        ASSERT_EQ(clsDate::IsToday(y, m, d, today), (CivilDate{y, m, d} == today));
        (void)date.sHolidayRecess();
    }
}

// lInitDate outside lunar 1900-2049 leaves the object holding no day; and
// arguments nobody should pass still answer without overflow or a read outside
// a table (checked under -fsanitize=address,undefined).
TEST(EngineLunar, ArgumentsOutsideTheTablesAreHarmless) {
    clsDate date;
    for (int year : {INT32_MIN, -1, 0, 1800, 1899, 2050, 2100, INT32_MAX}) {
        for (int month = 0; month <= 13; ++month) {
            SCOPED_TRACE(Name(year, month, 1));
            date.sInitDate(2024, 2, 10);
            date.lInitDate(year, month, 1, month % 2 == 0);
            EXPECT_FALSE(date.HasDate() || date.sHolidayRecess());
            EXPECT_EQ(LunarOf(date), LunarDate{});
            EXPECT_EQ(date.sYear() | date.sMonth() | date.sDay() | date.sWeekDay(), 0);
            EXPECT_EQ(std::string(date.lSolarTerm()) + std::string(date.wHoliday()) + std::string(date.lHoliday()) +
                          std::string(date.sHoliday()) + std::string(date.sWeekDayStr()), "");
        }
    }
    const int extremes[] = {INT32_MIN, -400, -1, 0, 1, 12, 13, 29, 30, 31, 32, 400, INT32_MAX};
    for (int a : extremes) {
        for (int b : extremes) {
            for (int c : {INT32_MIN, 0, 1, INT32_MAX}) {
                date.sInitDate(a, b, c);
                EXPECT_EQ(date.sMonth(), b);
                (void)(date.lSolarTerm().size() + date.wHoliday().size() + date.lHoliday().size() +
                       date.sHoliday().size() + date.sWeekDayStr().size() + date.sHolidayRecess());
                date.lInitDate(2024, a, b, c != 0);
                (void)(date.lSolarTerm().size() + date.wHoliday().size() + date.lHoliday().size());
            }
            (void)(clsDate::Constellation(a, b).size() + clsDate::Constellation2(a, b).size());
        }
        EXPECT_FALSE(clsDate::GanZhi(a).empty() || clsDate::YearAttribute(a).empty() || clsDate::Era(a).empty());
        EXPECT_TRUE(IsUtf8(clsDate::CDayStr(a)) && IsUtf8(clsDate::UpNumber(std::to_string(a))));
    }
}

}  // namespace
}  // namespace torvane
