#include "calendar/header.h"

#include <cstdio>

#include "calendar/names.h"

namespace torvane::calendar {

namespace {
constexpr int kNoonHour = 12;
}

DateHeader MakeDateHeader(const CivilDate& today, clsDate& cal) {
    cal.sInitDate(today.year, today.month, today.day);
    DateHeader header;
    header.Label4.append("[").append(clsDate::YearAttribute(CycleYear(cal))).append("]").append("  ");
    header.Label4.append(cal.IsLeap() ? "闰" : "");
    header.Label4.append(MonthName(cal.lMonth())).append(clsDate::CDayStr(cal.lDay()));
    header.Label3 = std::string(WeekdayShortName(cal.sWeekDay()));
    header.Label1.append(std::to_string(today.year)).append("年");
    header.Label1.append(std::to_string(today.month)).append("月");
    header.Label1.append(std::to_string(today.day)).append("日 ").append(header.Label3);
    return header;
}

ClockTexts MakeClockTexts(const LocalDateTime& now) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", now.hour % 100, now.minute % 100,
                  now.second % 100);
    return ClockTexts{buffer, now.hour < kNoonHour ? "上午" : "下午"};
}

}  // namespace torvane::calendar
