// Fixed Chinese names the window shows, whatever the system's language.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/clsDate.h"
#include "engine/gregorian.h"

namespace torvane::calendar {

// Sunday first; the engine's table, so the grid and the day panel agree.
inline constexpr const std::array<std::string_view, 7>& kWeekdayNames = engine::WeekDayNames;
inline constexpr std::array<std::string_view, 7> kWeekdayShortNames = {
    "周日", "周一", "周二", "周三", "周四", "周五", "周六"};
// A lunar month's two names: the panel's and the header's, and the one a
// day cell shows on the month's first day (正月, 冬月, 腊月).
struct LunarMonthNames {
    std::string_view plain;
    std::string_view cell;
};
inline constexpr std::array<LunarMonthNames, 12> kLunarMonths = {{
    {"一月", "正月"}, {"二月", "二月"}, {"三月", "三月"}, {"四月", "四月"},
    {"五月", "五月"}, {"六月", "六月"}, {"七月", "七月"}, {"八月", "八月"},
    {"九月", "九月"}, {"十月", "十月"}, {"十一月", "冬月"}, {"十二月", "腊月"},
}};

// Name of lunar month 1..12 as the panel and the header write it; empty for
// anything else.
constexpr std::string_view MonthName(int month) {
    return month >= 1 && month <= 12 ? kLunarMonths[static_cast<size_t>(month - 1)].plain : std::string_view{};
}

// Short name of weekday 1..7 (1 = Sunday); empty for anything else.
constexpr std::string_view WeekdayShortName(int weekday) {
    return weekday >= 1 && weekday <= 7 ? kWeekdayShortNames[static_cast<size_t>(weekday - 1)]
                                        : std::string_view{};
}

// The year that gives a positioned day its stem-branch and animal. The lunar
// year turns at the lunar new year, not on 1 January, so a January day
// usually still belongs to the year before. Outside the lunar table there is
// no lunar year and the Gregorian year of the day stands in.
inline int32_t CycleYear(const clsDate& cal) {
    if (cal.lYear() != 0) return cal.lYear();
    return cal.HasDate() ? CivilFromDays(cal.sDate()).year : cal.sYear();
}

}  // namespace torvane::calendar
