// Fixed Chinese names the window shows, whatever the system's language.
#pragma once

#include <array>
#include <string_view>

namespace torvane::calendar {

// Sunday first.
inline constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
inline constexpr std::array<std::string_view, 7> kWeekdayShortNames = {
    "周日", "周一", "周二", "周三", "周四", "周五", "周六"};
inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "一月", "二月", "三月", "四月", "五月", "六月",
    "七月", "八月", "九月", "十月", "十一月", "十二月"};

// Name of month 1..12; empty for anything else.
constexpr std::string_view MonthName(int month) {
    return month >= 1 && month <= 12 ? kMonthNames[static_cast<size_t>(month - 1)]
                                     : std::string_view{};
}

// Short name of weekday 1..7 (1 = Sunday); empty for anything else.
constexpr std::string_view WeekdayShortName(int weekday) {
    return weekday >= 1 && weekday <= 7 ? kWeekdayShortNames[static_cast<size_t>(weekday - 1)]
                                        : std::string_view{};
}

}  // namespace torvane::calendar
