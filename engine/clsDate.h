// The calendar engine: one day held in both the Gregorian and the Chinese lunar
// calendar, answering every calendar question the windows ask about it.
//
// Texts are UTF-8. Names that come straight from a table are returned as
// std::string_view into static storage; composed texts are std::string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

// A plain Gregorian date (proleptic calendar), as the system clock reports it.
struct CivilDate {
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Days since 1970-01-01 for any proleptic Gregorian date, and back.
int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day);
CivilDate CivilFromDays(int64_t days);

class clsDate {
public:
    // Gregorian -> lunar. Month and day carry (month 13 is January of the next
    // year, day 0 the last day of the month before); sYear/sMonth/sDay keep the
    // numbers exactly as passed.
    // The lunar table covers lunar years 1900-2049, i.e. Gregorian 1900-01-31 ..
    // 2050-01-22. For any other Gregorian day the lunar fields (lYear, lMonth,
    // lDay) are 0 and IsLeap false, so CDayStr(lDay()) and lHoliday are empty;
    // the Gregorian members (weekday, solar term, sHoliday, wHoliday) still
    // answer for the day.
    void sInitDate(int32_t year, int32_t month, int32_t day);

    // Lunar -> Gregorian. A leap request for a month that is not the year's
    // leap month is ignored. Month and day are not validated (a day past the
    // month's end runs on into the following days; months beyond 12 count 29
    // days each). For a lunar year outside 1900-2049 the object returns to its
    // unpositioned state: every number 0, IsLeap false, HasDate false.
    void lInitDate(int32_t year, int32_t month, int32_t day, bool leap);

    int32_t sYear() const { return sYear_; }
    int32_t sMonth() const { return sMonth_; }
    int32_t sDay() const { return sDay_; }
    int32_t lYear() const { return lYear_; }
    int32_t lMonth() const { return lMonth_; }
    int32_t lDay() const { return lDay_; }
    bool IsLeap() const { return isLeap_; }
    // 1 = Sunday ... 7 = Saturday; 0 before the first positioning.
    int32_t sWeekDay() const;
    std::string_view sWeekDayStr() const;

    // Solar term that falls on the day, Beijing time; "" when none. Exact for
    // 1900-2100 (a table from the apparent solar longitude); outside that,
    // the mean-year formula (its instant kept to the second).
    std::string_view lSolarTerm() const;
    // Festival on the fixed date sMonth/sDay; "" when none. Days off: 01-01,
    // 05-01, 10-01, 10-02, 10-03.
    std::string_view sHoliday() const;
    // Festival on the n-th (or last) such weekday of the month; "" when none.
    std::string_view wHoliday() const;
    // Lunar festival (a leap month's day counts as its ordinary month's) or
    // "除夕" on the last day of the 12th month; "" when none.
    std::string_view lHoliday() const;
    bool sHolidayRecess() const;

    // True when (year, month, day) is `today`. The caller reads today from
    // its clock port; the engine never reads the system clock.
    static bool IsToday(int32_t year, int32_t month, int32_t day, const CivilDate& today);

    static std::string GanZhi(int32_t year);
    static std::string_view YearAttribute(int32_t year);
    static std::string Era(int32_t year);
    static std::string UpNumber(std::string_view digits);
    static std::string CDayStr(int32_t lunarDay);
    static std::string_view Constellation(int32_t month, int32_t day);
    static std::string_view Constellation2(int32_t month, int32_t day);

    // The Gregorian day the object describes, as days since 1970-01-01; only
    // meaningful once positioned (see HasDate).
    int64_t sDate() const { return sDate_; }
    bool HasDate() const { return hasDate_; }

private:
    // The day as a plain date: the numbers as passed when they form one,
    // else the day they carried over to.
    CivilDate Day() const;

    int32_t sYear_ = 0, sMonth_ = 0, sDay_ = 0;
    int32_t lYear_ = 0, lMonth_ = 0, lDay_ = 0;
    bool isLeap_ = false;
    bool hasDate_ = false;
    int64_t sDate_ = 0;
    // The lunar month sInitDate found last: a day inside it needs no table
    // walk (the grid positions the object on every day of a month in turn).
    int64_t lMonthFirst_ = 0;
    int32_t lMonthLength_ = 0;  // 0: none known
};

}  // namespace torvane
