// The statutory days off (休) and make-up workdays (班) as published each year,
// read from our small text file (resources/holidays.txt):
//
//   # comment lines start with "#"; empty lines are allowed
//   published 2025-11-04            the date of the newest notice it holds
//   years 2004 2026                 the years it covers, inclusive
//   2025-01-26 班 春节               one date a line: date, 休 or 班, holiday
//
// UTF-8, LF or CR LF. The text comes from the network too, so it is taken
// whole or not at all: one malformed line, a date outside its years, a date
// listed twice, a missing header or an oversized text and nothing is used.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/clsDate.h"

namespace torvane {

inline constexpr std::string_view kDaysOffFileName = "holidays.txt";
// The shipped file is under 20 KB; a century of arrangements stays far below.
inline constexpr size_t kMaxDaysOffBytes = 256 * 1024;
inline constexpr size_t kMaxHolidayNameBytes = 48;
inline constexpr int32_t kDaysOffFirstYear = 1900;
inline constexpr int32_t kDaysOffLastYear = 2100;

enum class DayOffMark : uint8_t {
    None,  // not listed: the weekday decides
    Rest,  // 休, a statutory day off
    Work,  // 班, a weekend day that is a workday
};

// What the data says about one day.
struct DayOffStatus {
    bool covered = false;  // the data covers the day's year; else nothing below holds
    bool off = false;      // 休, or a Saturday or Sunday not marked 班
    DayOffMark mark = DayOffMark::None;
    std::string_view holiday;    // the listed day's holiday, else empty
    bool firstDayOff = false;    // the first 休 of its holiday
};

class DaysOff {
public:
    // The whole text, or nothing when any part of it is not as above.
    static std::optional<DaysOff> Parse(std::string_view text);

    CivilDate published() const { return published_; }
    int32_t firstYear() const { return firstYear_; }
    int32_t lastYear() const { return lastYear_; }
    size_t size() const { return entries_.size(); }
    bool Covers(int32_t year) const { return year >= firstYear_ && year <= lastYear_; }
    // A later publication date; the same date is not newer.
    bool IsNewerThan(const DaysOff& other) const;

    // `day` in days since 1970-01-01 (clsDate::sDate).
    DayOffStatus StatusOf(int64_t day) const;
    // The same for the days from `first` on, one to each element of `out`,
    // in one walk: a month of the grid.
    void StatusesOf(int64_t first, std::span<DayOffStatus> out) const;

private:
    struct Entry {
        int64_t day = 0;
        DayOffMark mark = DayOffMark::None;
        bool firstDayOff = false;
        uint16_t holiday = 0;  // index into holidays_
    };

    bool AddLine(std::string_view line, bool& sawPublished, bool& sawYears);
    const Entry* Find(int64_t day) const;
    DayOffStatus StatusFrom(int64_t day, const Entry* entry) const;
    void MarkFirstDaysOff();

    CivilDate published_;
    int32_t firstYear_ = 0, lastYear_ = -1;
    int64_t firstDay_ = 0, endDay_ = 0;  // the covered days, end excluded
    std::vector<Entry> entries_;  // by day
    std::vector<std::string> holidays_;
};

}  // namespace torvane
