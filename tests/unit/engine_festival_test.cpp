// Solar terms, festivals and days off.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/clsDate.h"
#include "engine/tables.h"

namespace torvane {
namespace {

struct DayText {
    int y, m, d;
    std::string_view text;
};

std::string Name(const DayText& c) {
    return std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d);
}

TEST(EngineSolarTerm, KnownDays) {
    const DayText cases[] = {
        {1900, 1, 6, "小寒"}, {1900, 1, 5, ""},     {1900, 1, 7, ""},     {2024, 2, 4, "立春"},
        {2024, 2, 5, ""},     {2024, 6, 21, "夏至"}, {2024, 12, 21, "冬至"}, {2000, 1, 21, "大寒"},
        {2000, 12, 21, "冬至"}, {2025, 2, 3, "立春"}, {2024, 3, 1, ""},
        // Where the mean-year formula is a day off: 芒种 at 23:48 Beijing time,
        // and terms it puts a day late or early.
        {2026, 6, 5, "芒种"}, {2026, 6, 6, ""}, {2023, 6, 21, "夏至"}, {2023, 6, 22, ""},
        {2020, 12, 7, "大雪"}, {1910, 2, 5, "立春"}, {1910, 2, 4, ""},
        // Outside the exact table the formula answers.
        {2101, 1, 5, "小寒"}, {1899, 12, 22, "冬至"},
    };
    clsDate date;
    for (const DayText& c : cases) {
        SCOPED_TRACE(Name(c));
        date.sInitDate(c.y, c.m, c.d);
        EXPECT_EQ(date.lSolarTerm(), c.text);
    }
}

TEST(EngineSolarTerm, InstantsToTheSecond) {
    struct Case { int year, k; CivilDate day; int hour, minute, second; };
    const Case cases[] = {
        {1900, 0, {1900, 1, 6}, 2, 5, 0},     {2024, 2, {2024, 2, 4}, 14, 38, -1},
        {2024, 23, {2024, 12, 21}, 15, 29, -1}, {2000, 1, {2000, 1, 21}, 0, 49, -1},
        {2025, 2, {2025, 2, 3}, 20, 27, -1},  {1910, 2, {1910, 2, 4}, 23, 59, 36},
        {1910, 6, {1910, 4, 5}, 23, 59, 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + " term " + std::to_string(c.k));
        const int64_t instant = engine::SolarTermInstant(c.year, c.k);
        EXPECT_EQ(CivilFromDays(engine::FloorDiv(instant, 86400)), c.day);
        const int64_t seconds = engine::FloorMod(instant, 86400);
        EXPECT_EQ(seconds / 3600, c.hour);
        EXPECT_EQ(seconds / 60 % 60, c.minute);
        if (c.second >= 0) {
            EXPECT_EQ(seconds % 60, c.second);
        }
    }
}

// Every year of the table holds its 24 terms, in order, once each.
TEST(EngineSolarTerm, TwentyFourTermsEveryYear) {
    clsDate date;
    for (int year = 1890; year <= 2110; ++year) {
        SCOPED_TRACE(year);
        size_t next = 0;
        for (int64_t day = DaysFromCivil(year, 1, 1); day <= DaysFromCivil(year, 12, 31); ++day) {
            const CivilDate c = CivilFromDays(day);
            date.sInitDate(c.year, c.month, c.day);
            if (date.lSolarTerm().empty()) continue;
            ASSERT_LT(next, 24u);
            ASSERT_EQ(date.lSolarTerm(), engine::SolarTermName[next]);
            ++next;
        }
        EXPECT_EQ(next, 24u);
    }
}

TEST(EngineFestival, SolarFestivalsAndDaysOff) {
    struct Case { int m, d; std::string_view name; bool dayOff; };
    const Case cases[] = {
        {1, 1, "元旦", true}, {5, 1, "劳动节", true}, {10, 1, "国庆节", true},  // fixed: 10-01 is a day off
        {10, 2, "国庆节假日", true}, {10, 3, "国庆节假日", true},
        {5, 12, "08'汶川地震 护士节", false}, {9, 20, "国际爱牙日", false},  // the first record wins
        {9, 18, "九·一八事变纪念日", false}, {10, 31, "万圣节", false},
        {3, 5, "周恩来诞辰纪念", false}, {9, 9, "毛泽东逝世纪念", false}, {9, 28, "孔子诞辰纪念", false},
        {11, 12, "孙中山诞辰纪念", false}, {12, 26, "毛泽东诞辰纪念", false},
        {2, 10, "气象节", false},  // also 春节 in 2024: lunar festivals make no day off
        {2, 3, "", false}, {13, 1, "", false},
    };
    clsDate date;
    for (const Case& c : cases) {
        SCOPED_TRACE(Name({2024, c.m, c.d, ""}));
        date.sInitDate(2024, c.m, c.d);
        EXPECT_EQ(date.sHoliday(), c.name);
        EXPECT_EQ(date.sHolidayRecess(), c.dayOff);
    }
    int daysOff = 0;
    for (int64_t day = DaysFromCivil(2024, 1, 1); day <= DaysFromCivil(2024, 12, 31); ++day) {
        const CivilDate c = CivilFromDays(day);
        date.sInitDate(c.year, c.month, c.day);
        daysOff += date.sHolidayRecess();
    }
    EXPECT_EQ(daysOff, 5);
}

TEST(EngineFestival, LunarFestivalsAndNewYearsEve) {
    const DayText cases[] = {
        {2023, 1, 21, "除夕"},  // lunar 2022-12-30
        {2023, 1, 20, ""},      // lunar 2022-12-29 of a 30-day month
        {2022, 1, 31, "除夕"},  // lunar 2021-12-29, a 29-day month
        {2025, 1, 28, "除夕"},  {2050, 1, 22, "除夕"},  // the table's last day: lunar 2050 starts after it
        {2024, 2, 10, "春节"},  {2024, 2, 24, "元宵节"}, {2024, 6, 10, "端午节"}, {2024, 9, 17, "中秋节"},
        {2024, 1, 18, "腊八节"}, {2024, 2, 3, "小年"},   {2024, 3, 1, ""},        {1900, 1, 30, ""},
    };
    clsDate date;
    for (const DayText& c : cases) {
        SCOPED_TRACE(Name(c));
        date.sInitDate(c.y, c.m, c.d);
        const clsDate before = date;
        EXPECT_EQ(date.lHoliday(), c.text);
        // The probe of the following day leaves no trace.
        EXPECT_EQ(date.lDay(), before.lDay());
        EXPECT_EQ(date.sDay(), c.d);
        EXPECT_EQ(date.sDate(), before.sDate());
        EXPECT_EQ(date.lYear() * 100 + date.lMonth(), before.lYear() * 100 + before.lMonth());
    }
    // A leap month's day matches the festival of the ordinary month (2028 has a leap 5th).
    date.lInitDate(2028, 5, 5, true);
    EXPECT_TRUE(date.IsLeap());
    EXPECT_EQ(date.lHoliday(), "端午节");
    date.lInitDate(2028, 5, 5, false);
    EXPECT_EQ(date.lHoliday(), "端午节");
}

TEST(EngineFestival, EveryLunarNewYearHasOneEve) {
    clsDate date;
    for (int year = 1900; year <= 2049; ++year) {
        SCOPED_TRACE(year);
        date.lInitDate(year, 1, 1, false);
        const int64_t newYear = date.sDate();
        for (int64_t offset = -2; offset <= 1; ++offset) {
            const CivilDate c = CivilFromDays(newYear + offset);
            date.sInitDate(c.year, c.month, c.day);
            EXPECT_EQ(date.lHoliday(), offset == -1 ? (year > 1900 ? "除夕" : "") : offset == 0 ? "春节" : "");
        }
    }
}

// Fixed rule: the n-th such weekday of the month (or the last), as observed.
TEST(EngineFestival, WeekFestivalsOnTheNthWeekday) {
    const DayText cases[] = {
        {2024, 5, 12, "国际母亲节"}, {2024, 5, 19, "全国助残日"}, {2024, 6, 16, "父亲节"},
        {2024, 9, 17, "国际和平日"}, {2024, 9, 29, "国际聋人节"}, {2024, 10, 7, "国际住房日"},
        {2024, 10, 9, "国际减轻自然灾害日"}, {2024, 11, 28, "感恩节"}, {2024, 9, 24, ""},
        {2022, 5, 8, "国际母亲节"}, {2022, 5, 15, "全国助残日"}, {2022, 11, 24, "感恩节"},
        {2023, 11, 23, "感恩节"}, {2023, 11, 30, ""}, {2023, 9, 24, "国际聋人节"},
        {2024, 5, 26, ""}, {1900, 1, 7, ""},
        {2018, 9, 31, "国际住房日"},  // carried to Monday 10-01: judged in the month it lands in
    };
    clsDate date;
    for (const DayText& c : cases) {
        SCOPED_TRACE(Name(c));
        date.sInitDate(c.y, c.m, c.d);
        EXPECT_EQ(date.wHoliday(), c.text);
    }
    EXPECT_EQ(clsDate{}.wHoliday(), "");
}

TEST(EngineFestival, EachWeekFestivalOncePerYear) {
    clsDate date;
    for (int year = 1900; year <= 2100; ++year) {
        SCOPED_TRACE(year);
        std::multiset<std::string_view> seen;
        for (int64_t day = DaysFromCivil(year, 5, 1); day <= DaysFromCivil(year, 11, 30); ++day) {
            const CivilDate c = CivilFromDays(day);
            date.sInitDate(c.year, c.month, c.day);
            if (!date.wHoliday().empty()) seen.insert(date.wHoliday());
        }
        ASSERT_EQ(seen.size(), engine::WeekFestivals.size());
        for (const auto& festival : engine::WeekFestivals) EXPECT_EQ(seen.count(festival.name), 1u) << festival.name;
    }
}

}  // namespace
}  // namespace torvane
