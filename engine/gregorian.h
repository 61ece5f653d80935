// The Gregorian facts the window asks for directly: month lengths and the
// weekday names. Kept apart from tables.h so a caller does not pull in the
// lunar and festival tables for them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace torvane::engine {

constexpr bool IsGregorianLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Days of Gregorian month m (1-12) of year y; 0 for a month outside 1-12.
constexpr int32_t GregorianMonthDays(int64_t y, int32_t m) {
    constexpr std::array<int8_t, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12) return 0;
    return kDays[static_cast<size_t>(m - 1)] + (m == 2 && IsGregorianLeap(y) ? 1 : 0);
}

// Sunday first, as WeekDayOf counts (1 = Sunday).
inline constexpr std::array<std::string_view, 7> WeekDayNames = {"星期日", "星期一", "星期二", "星期三",
                                                                 "星期四", "星期五", "星期六"};

}  // namespace torvane::engine
