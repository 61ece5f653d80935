// The second line of a day cell in the month grid: what the day is known by.
#pragma once

#include <string_view>

#include "engine/days_off.h"
#include "engine/clsDate.h"

namespace torvane::calendar {

struct CellNote {
    std::string_view text;  // static storage, or the days-off data's own
    bool named = false;     // a festival, solar term or holiday: the accent colour
    friend bool operator==(const CellNote&, const CellNote&) = default;
};

// By preference: the lunar festival, the solar term, the statutory holiday on
// its first day off, a widely kept Gregorian festival, else the lunar day, and
// on the first of a lunar month that month's name (正月 … 冬月, 腊月, "闰" before
// a leap month). `cal` is positioned on the day; `status` is what the days-off
// data says about it. Outside the lunar table only the Gregorian names.
CellNote CellNoteOf(const clsDate& cal, const DayOffStatus& status);

}  // namespace torvane::calendar
