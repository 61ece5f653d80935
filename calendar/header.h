// The date header (today's lunar date, weekday and date lines) and the clock.
#pragma once

#include <string>

#include "calendar/ports.h"
#include "engine/clsDate.h"

namespace torvane::calendar {

struct DateHeader {
    std::string Label4;  // "[马年]  一月初六", the animal of the lunar year; "闰" before a leap month
    std::string Label3;  // "周三"
    std::string Label1;  // "2014年2月5日 周三"
    friend bool operator==(const DateHeader&, const DateHeader&) = default;
};

struct ClockTexts {
    std::string Label2;  // "09:05:03"
    std::string La;      // "上午" or "下午"
    friend bool operator==(const ClockTexts&, const ClockTexts&) = default;
};

// Positions `cal` on today and writes the three header lines.
DateHeader MakeDateHeader(const CivilDate& today, clsDate& cal);

// One reading of the clock gives all three parts of the time, so the text
// never mixes two different seconds.
ClockTexts MakeClockTexts(const LocalDateTime& now);

}  // namespace torvane::calendar
