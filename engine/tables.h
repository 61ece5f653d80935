// Constant tables of the calendar engine and the pure functions that read them.
// Everything here is constexpr: the tables are checked at compile time and shared
// by every clsDate object. Texts are UTF-8, in static storage.
//
// Range rule: every accessor takes any year/month/index and answers something
// harmless (0, 29 days, the empty text) outside its table; nothing here ever
// indexes outside an array.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "engine/gregorian.h"

namespace torvane::engine {

// ---------------------------------------------------------------------------
// Integer helpers and the proleptic Gregorian calendar (H. Hinnant's
// days_from_civil / civil_from_days), all in 64 bits so no 32-bit argument can
// overflow.

constexpr int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
constexpr int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

// Days since 1970-01-01 of year y, month m (1-12), day d (any value: it runs on).
constexpr int64_t DaysFromCivil64(int64_t y, int32_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;                                   // [0, 399]
    const int64_t doy = (153 * ((m + 9) % 12) + 2) / 5 + d - 1;          // March = month 0
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil64 {
    int64_t year;
    int32_t month;
    int32_t day;
};

constexpr Civil64 CivilFromDays64(int64_t z) {
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;                                // [0, 146096]
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const auto day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
    const auto month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// 1 = Sunday ... 7 = Saturday (1970-01-01 was a Thursday).
constexpr int32_t WeekDayOf(int64_t days) { return static_cast<int32_t>(FloorMod(days + 4, 7)) + 1; }

// ---------------------------------------------------------------------------
// The lunar table.

inline constexpr int32_t kFirstLunarYear = 1900;
inline constexpr int32_t kLastLunarYear = 2049;
inline constexpr int32_t kLunarYearCount = kLastLunarYear - kFirstLunarYear + 1;

// Entry i describes lunar year 1900 + i. Bits 0-3: leap month (0 = none);
// bits 15..4: months 1..12, set = 30 days; bit 16: leap month has 30 days;
// bit 20: always set, unread.
// Six entries differ from the table as it was long circulated, which had wrong month sizes
// (the year lengths are unchanged): 1933 106E95 -> 116A95, 1954 10A5D0 ->
// 10A5B0, 1956 1052D0 -> 1052B0, 1978 10B5A0 -> 10B6A0, 1996 1055C0 -> 105AC0,
// 2033 104BD7 -> 104AFB (2033 has a leap 11th month, not a leap 7th).
inline constexpr std::array<uint32_t, kLunarYearCount> LunarInfo = {
    0x104BD8, 0x104AE0, 0x10A570, 0x1054D5, 0x10D260, 0x10D950, 0x116554, 0x1056A0, 0x109AD0, 0x1055D2,  // 1900
    0x104AE0, 0x10A5B6, 0x10A4D0, 0x10D250, 0x11D255, 0x10B540, 0x10D6A0, 0x10ADA2, 0x1095B0, 0x114977,  // 1910
    0x104970, 0x10A4B0, 0x10B4B5, 0x106A50, 0x106D40, 0x11AB54, 0x102B60, 0x109570, 0x1052F2, 0x104970,  // 1920
    0x106566, 0x10D4A0, 0x10EA50, 0x116A95, 0x105AD0, 0x102B60, 0x1186E3, 0x1092E0, 0x11C8D7, 0x10C950,  // 1930
    0x10D4A0, 0x11D8A6, 0x10B550, 0x1056A0, 0x11A5B4, 0x1025D0, 0x1092D0, 0x10D2B2, 0x10A950, 0x10B557,  // 1940
    0x106CA0, 0x10B550, 0x115355, 0x104DA0, 0x10A5B0, 0x114573, 0x1052B0, 0x10A9A8, 0x10E950, 0x106AA0,  // 1950
    0x10AEA6, 0x10AB50, 0x104B60, 0x10AAE4, 0x10A570, 0x105260, 0x10F263, 0x10D950, 0x105B57, 0x1056A0,  // 1960
    0x1096D0, 0x104DD5, 0x104AD0, 0x10A4D0, 0x10D4D4, 0x10D250, 0x10D558, 0x10B540, 0x10B6A0, 0x1195A6,  // 1970
    0x1095B0, 0x1049B0, 0x10A974, 0x10A4B0, 0x10B27A, 0x106A50, 0x106D40, 0x10AF46, 0x10AB60, 0x109570,  // 1980
    0x104AF5, 0x104970, 0x1064B0, 0x1074A3, 0x10EA50, 0x106B58, 0x105AC0, 0x10AB60, 0x1096D5, 0x1092E0,  // 1990
    0x10C960, 0x10D954, 0x10D4A0, 0x10DA50, 0x107552, 0x1056A0, 0x10ABB7, 0x1025D0, 0x1092D0, 0x10CAB5,  // 2000
    0x10A950, 0x10B4A0, 0x10BAA4, 0x10AD50, 0x1055D9, 0x104BA0, 0x10A5B0, 0x115176, 0x1052B0, 0x10A930,  // 2010
    0x107954, 0x106AA0, 0x10AD50, 0x105B52, 0x104B60, 0x10A6E6, 0x10A4E0, 0x10D260, 0x10EA65, 0x10D530,  // 2020
    0x105AA0, 0x1076A3, 0x1096D0, 0x104AFB, 0x104AD0, 0x10A4D0, 0x11D0B6, 0x10D250, 0x10D520, 0x10DD45,  // 2030
    0x10B5A0, 0x1056D0, 0x1055B2, 0x1049B0, 0x10A577, 0x10A4B0, 0x10AA50, 0x11B255, 0x106D20, 0x10ADA0,  // 2040
};

// Entry n = 2^n; entry 31 is the sign bit alone.
inline constexpr std::array<uint32_t, 32> BitMask = [] {
    std::array<uint32_t, 32> mask{};
    for (uint32_t n = 0; n < 32; ++n) mask[n] = uint32_t{1} << n;
    return mask;
}();

constexpr bool BitTest(uint32_t value, int64_t n) {
    return n >= 0 && n <= 31 && (value & BitMask[static_cast<size_t>(n)]) != 0;
}

constexpr bool InLunarRange(int64_t year) { return year >= kFirstLunarYear && year <= kLastLunarYear; }

// The table entry of a lunar year; 0 (no months, no leap) outside the table.
constexpr uint32_t LunarInfoOf(int64_t year) {
    return InLunarRange(year) ? LunarInfo[static_cast<size_t>(year - kFirstLunarYear)] : 0;
}

// Leap month number 1-12 of a lunar year; 0 when it has none or is outside the table.
constexpr int32_t lLeapMonth(int64_t year) { return static_cast<int32_t>(LunarInfoOf(year) & 0xF); }

// Length of the leap month: 0 without one, else 29 or 30.
constexpr int32_t lLeapDays(int64_t year) {
    if (lLeapMonth(year) == 0) return 0;
    return BitTest(LunarInfoOf(year), 16) ? 30 : 29;
}

// Length of ordinary month 1-12: 29 or 30. Outside the table: 0. A month
// outside 1-12 counts as a plain small month of 29 days; it never reads the
// leap-size bit or the leap-month field.
constexpr int32_t lMonthDays(int64_t year, int64_t month) {
    if (!InLunarRange(year)) return 0;
    if (month < 1 || month > 12) return 29;
    return BitTest(LunarInfoOf(year), 16 - month) ? 30 : 29;
}

// Days of each lunar year: 348 + 30-day ordinary months + leap month length.
inline constexpr std::array<int32_t, kLunarYearCount> LunarYearDays = [] {
    std::array<int32_t, kLunarYearCount> days{};
    for (int32_t i = 0; i < kLunarYearCount; ++i) {
        const int32_t year = kFirstLunarYear + i;
        days[static_cast<size_t>(i)] = 348 + std::popcount(LunarInfo[static_cast<size_t>(i)] & 0xFFF0u) + lLeapDays(year);
    }
    return days;
}();

// Days of a lunar year; 0 outside the table.
constexpr int32_t lYearDays(int64_t year) {
    return InLunarRange(year) ? LunarYearDays[static_cast<size_t>(year - kFirstLunarYear)] : 0;
}

// Day 0 of the table: 1900-01-31, lunar 1900-01-01, as days since 1970-01-01.
inline constexpr int64_t kLunarEpoch = DaysFromCivil64(1900, 1, 31);

// YearStart[i]: days from the epoch to the first day of lunar year 1900 + i;
// YearStart[150] is one past the last day of the table (lunar 2050-01-01).
// Replaces a year-by-year walk by a binary search with the same result.
inline constexpr std::array<int32_t, kLunarYearCount + 1> YearStart = [] {
    std::array<int32_t, kLunarYearCount + 1> start{};
    for (size_t i = 0; i < LunarYearDays.size(); ++i) start[i + 1] = start[i] + LunarYearDays[i];
    return start;
}();

inline constexpr int64_t kLunarTableDays = YearStart.back();

struct LunarDate {
    int32_t year = 0;   // all 0 outside the table
    int32_t month = 0;
    int32_t day = 0;
    bool leap = false;
    friend constexpr bool operator==(const LunarDate&, const LunarDate&) = default;
};

// Lunar year of a day (days since 1970-01-01).
// Returns 0 outside the table, except that the day just after its end is
// known to open lunar 2050 (so lunar 2049's new year's eve is found).
constexpr int32_t LunarYearOfDay(int64_t days) {
    const int64_t n = days - kLunarEpoch;
    if (n < 0 || n > kLunarTableDays) return 0;
    const auto it = std::upper_bound(YearStart.begin(), YearStart.end(), n);
    return kFirstLunarYear + static_cast<int32_t>(it - YearStart.begin()) - 1;
}

// Gregorian -> lunar (steps 3-6 of sInitDate): the year by binary search in
// YearStart, then the month walk 1 .. L, leap L, L + 1 .. 12.
constexpr LunarDate LunarFromDays(int64_t days) {
    const int64_t n = days - kLunarEpoch;
    if (n < 0 || n >= kLunarTableDays) return {};
    LunarDate result;
    result.year = LunarYearOfDay(days);
    int64_t rest = n - YearStart[static_cast<size_t>(result.year - kFirstLunarYear)];
    const int32_t leapMonth = lLeapMonth(result.year);
    for (int32_t month = 1; month <= 12; ++month) {
        const int32_t length = lMonthDays(result.year, month);
        if (rest < length) return {result.year, month, static_cast<int32_t>(rest) + 1, false};
        rest -= length;
        if (month == leapMonth) {
            const int32_t leapLength = lLeapDays(result.year);
            if (rest < leapLength) return {result.year, month, static_cast<int32_t>(rest) + 1, true};
            rest -= leapLength;
        }
    }
    return {};  // unreachable: the months fill the year exactly
}

// Lunar -> Gregorian (steps 3-5 of lInitDate), days since 1970-01-01, for a
// year inside the table. `leap` must already be resolved (true only for the
// year's leap month). Month and day are not validated: they run on.
constexpr int64_t DaysFromLunar(int32_t year, int32_t month, int32_t day, bool leap) {
    int64_t n = YearStart[static_cast<size_t>(std::clamp(year - kFirstLunarYear, 0, kLunarYearCount - 1))];
    const int64_t monthsBefore = int64_t{month} - 1;
    for (int32_t m = 1; m <= std::min<int64_t>(monthsBefore, 12); ++m) n += lMonthDays(year, m);
    if (monthsBefore > 12) n += (monthsBefore - 12) * 29;
    const int32_t leapMonth = lLeapMonth(year);
    if (leapMonth > 0 && leapMonth < month) n += lLeapDays(year);
    if (leap) n += lMonthDays(year, month);
    return kLunarEpoch + n + day - 1;
}

static_assert(LunarYearDays[0] == 384 && LunarYearDays[100] == 354 && LunarYearDays[149] == 355);
static_assert(*std::min_element(LunarYearDays.begin(), LunarYearDays.end()) >= 353);
static_assert(*std::max_element(LunarYearDays.begin(), LunarYearDays.end()) <= 385);
static_assert(kLunarEpoch + kLunarTableDays == DaysFromCivil64(2050, 1, 23));
static_assert(LunarFromDays(DaysFromCivil64(2017, 7, 23)) == LunarDate{2017, 6, 1, true});
static_assert(LunarFromDays(DaysFromCivil64(2050, 1, 22)) == LunarDate{2049, 12, 29, false});

// ---------------------------------------------------------------------------
// Solar terms.

inline constexpr std::array<std::string_view, 24> SolarTermName = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至",
};
inline constexpr std::array<int32_t, 24> SolarTermMinutes = {
    0,      21208,  42467,  63836,  85337,  107014, 128867, 150921, 173149, 195551, 218072, 240693,
    263343, 285989, 308563, 331033, 353350, 375494, 397447, 419210, 440795, 462224, 483532, 504758,
};

// Mean tropical year, 525948.76 minutes, kept exactly as hundredths of a minute.
inline constexpr int64_t kTropicalYearCentiMinutes = 52594876;
// Base instant: 1900-01-06 02:05:00, the "小寒" of 1900, as seconds since 1970-01-01 00:00
// on the same (zone-less) time scale.
inline constexpr int64_t kSolarTermBase = DaysFromCivil64(1900, 1, 6) * 86400 + 2 * 3600 + 5 * 60;

// Instant of term k (0-23) of Gregorian year `year`, in seconds since 1970-01-01 00:00.
// The minute count (year - 1900) * 525948.76 + SolarTermMinutes[k] is evaluated exactly
// in hundredths of a minute, and its fraction is kept to the whole second, truncated
// towards the earlier second (floor). So "立春" 1910 stays at 1910-02-04 23:59:36 and
// is reported on 02-04; rounding to whole minutes would have moved it to 02-05.
// Unlike doubles, the integer form has no rounding noise and never fails to form an
// instant, for any 32-bit year.
constexpr int64_t SolarTermInstant(int64_t year, int32_t k) {
    const int64_t centiMinutes = (year - 1900) * kTropicalYearCentiMinutes +
                                 int64_t{SolarTermMinutes[static_cast<size_t>(std::clamp(k, 0, 23))]} * 100;
    return kSolarTermBase + FloorDiv(centiMinutes * 60, 100);
}

// ---------------------------------------------------------------------------
// Festivals and days off.

struct SolarFestival {
    int8_t month;
    int8_t day;
    bool dayOff;
    std::string_view name;
};
struct LunarFestival {
    int8_t month;
    int8_t day;
    std::string_view name;
};
inline constexpr int8_t kLastWeek = -1;
struct WeekFestival {
    int8_t month;
    int8_t week;     // n-th such weekday of the month (1-4), or kLastWeek
    int8_t weekday;  // 1 = Sunday ... 7 = Saturday
    std::string_view name;
};

// Order matters: the first record of a date wins (05-12 and 09-20 occur twice).
// 10-01 "国庆节" is an official day off (mark 1), like the days after it.
// Records 61-65 are five commemorations of historical persons.
inline constexpr std::array<SolarFestival, 65> SolarFestivals = {{
    {1, 1, true, "元旦"},
    {2, 2, false, "湿地日"},
    {2, 14, false, "情人节"},
    {2, 10, false, "气象节"},
    {3, 1, false, "海豹日"},
    {3, 8, false, "妇女节"},
    {3, 12, false, "植树节"},
    {3, 14, false, "国际警察日"},
    {3, 15, false, "消费者权益日"},
    {3, 17, false, "中国国医节 国际航海日"},
    {3, 21, false, "世界森林日 消除种族歧视国际日 世界儿歌日"},
    {3, 22, false, "世界水日"},
    {3, 24, false, "世界防治结核病日"},
    {4, 1, false, "愚人节"},
    {4, 28, false, "08'胶济铁路火车相撞"},
    {4, 7, false, "世界卫生日"},
    {4, 22, false, "世界地球日"},
    {5, 1, true, "劳动节"},
    {5, 4, false, "青年节"},
    {5, 12, false, "08'汶川地震 护士节"},
    {5, 31, false, "世界无烟日"},
    {5, 8, false, "世界红十字日"},
    {5, 12, false, "国际护士节"},
    {6, 1, false, "儿童节"},
    {6, 5, false, "世界环境保护日"},
    {6, 26, false, "国际禁毒日"},
    {7, 1, false, "建党节"},
    {7, 11, false, "世界人口日"},
    {8, 1, false, "建军节"},
    {8, 8, false, "中国男子节 父亲节"},
    {8, 15, false, "抗日战争胜利纪念"},
    {9, 10, false, "教师节"},
    {9, 18, false, "九·一八事变纪念日"},
    {9, 20, false, "国际爱牙日"},
    {9, 27, false, "世界旅游日"},
    {10, 1, true, "国庆节"},
    {10, 2, true, "国庆节假日"},
    {10, 3, true, "国庆节假日"},
    {10, 6, false, "老人节"},
    {10, 24, false, "联合国日"},
    {11, 1, false, "国际旅游电影节"},
    {11, 8, false, "中国记者日"},
    {11, 10, false, "世界青年日"},
    {11, 14, false, "世界糖尿病日"},
    {11, 17, false, "世界学生节"},
    {12, 1, false, "世界艾滋病日"},
    {12, 3, false, "世界残疾人日"},
    {12, 20, false, "澳门回归纪念"},
    {12, 24, false, "平安夜"},
    {12, 25, false, "圣诞节"},
    {12, 9, false, "世界足球日"},
    {12, 10, false, "世界人权日"},
    {12, 13, false, "南京大屠杀纪念日"},
    {9, 3, false, "抗日战争胜利日"},
    {9, 17, false, "国际和平日"},
    {9, 20, false, "全国爱牙日"},
    {10, 8, false, "全国高血压日"},
    {10, 15, false, "国际盲人节(白手杖日)"},
    {10, 16, false, "世界粮食日"},
    {10, 31, false, "万圣节"},
    {3, 5, false, "周恩来诞辰纪念"},
    {9, 9, false, "毛泽东逝世纪念"},
    {9, 28, false, "孔子诞辰纪念"},
    {11, 12, false, "孙中山诞辰纪念"},
    {12, 26, false, "毛泽东诞辰纪念"},
}};

// SolarFestivalIndex[month * 32 + day]: index of the first record of that date, or -1.
// The same answer as scanning SolarFestivals from the first record, in one lookup.
inline constexpr std::array<int8_t, 13 * 32> SolarFestivalIndex = [] {
    std::array<int8_t, 13 * 32> index{};
    index.fill(-1);
    for (size_t i = SolarFestivals.size(); i-- > 0;) {
        index[static_cast<size_t>(SolarFestivals[i].month * 32 + SolarFestivals[i].day)] = static_cast<int8_t>(i);
    }
    return index;
}();

// The first record of Gregorian month/day, or nullptr.
constexpr const SolarFestival* FindSolarFestival(int32_t month, int32_t day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return nullptr;
    const int8_t i = SolarFestivalIndex[static_cast<size_t>(month * 32 + day)];
    return i < 0 ? nullptr : &SolarFestivals[static_cast<size_t>(i)];
}

inline constexpr std::array<LunarFestival, 9> LunarFestivals = {{
    {1, 1, "春节"},
    {1, 15, "元宵节"},
    {5, 5, "端午节"},
    {7, 7, "七夕情人节"},
    {7, 15, "中元节 盂兰盆节"},
    {8, 15, "中秋节"},
    {9, 9, "重阳节"},
    {12, 8, "腊八节"},
    {12, 24, "小年"},
}};
inline constexpr std::string_view kLunarNewYearsEve = "除夕";

// The n-th such weekday of the month, as the days are observed (counting grid
// rows instead would put 母亲节 2022 on 05-15 and 感恩节 2023 on 11-30).
inline constexpr std::array<WeekFestival, 8> WeekFestivals = {{
    {5, 2, 1, "国际母亲节"},
    {5, 3, 1, "全国助残日"},
    {6, 3, 1, "父亲节"},
    {9, 3, 3, "国际和平日"},
    {9, kLastWeek, 1, "国际聋人节"},
    {10, 1, 2, "国际住房日"},
    {10, 2, 4, "国际减轻自然灾害日"},
    {11, 4, 5, "感恩节"},
}};

// ---------------------------------------------------------------------------
// Cycles, signs and Chinese numerals.

inline constexpr std::array<std::string_view, 10> TianGan = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
inline constexpr std::array<std::string_view, 12> DiZhi = {"子", "丑", "寅", "卯", "辰", "巳",
                                                           "午", "未", "申", "酉", "戌", "亥"};
inline constexpr std::array<std::string_view, 12> Animals = {"鼠年", "牛年", "虎年", "兔年", "龙年", "蛇年",
                                                             "马年", "羊年", "猴年", "鸡年", "狗年", "猪年"};
inline constexpr std::array<std::string_view, 11> DayDigit = {"日", "一", "二", "三", "四", "五",
                                                              "六", "七", "八", "九", "十"};
inline constexpr std::array<std::string_view, 5> DayTens = {"初", "十", "廿", "卅", "\u3000"};
inline constexpr std::array<std::string_view, 10> UpDigits = {"零", "一", "二", "三", "四",
                                                              "五", "六", "七", "八", "九"};

// Inclusive month*100+day ranges in the year 2000; 摩蝎 wraps over the new year.
// The names and texts are the ones the program has always shown, byte for byte (山羊 for Aries, 天平, 摩蝎).
struct SignRange {
    int16_t from;
    int16_t to;
    std::string_view name;
    std::string_view attributes;
};
inline constexpr std::array<SignRange, 12> Signs = {{
    {321, 419, "山羊", "阳性、火象星座，守护行星：火星"},
    {420, 520, "金牛", "阴性、地象星座，守护行星：金星"},
    {521, 621, "双子", "阳性、风象星座，守护行星：水星"},
    {622, 722, "巨蟹", "阴性、水象星座守护行星：月亮"},
    {723, 822, "狮子", "阳性、火象星座，守护行星：太阳"},
    {823, 922, "处女", "阴性、土象星座，守护行星：水星"},
    {923, 1023, "天平", "阳性、风象星座，守护行星：金星"},
    {1024, 1121, "天蝎", "阴性、水象星座，守护行星：冥王星(传统上为火星)"},
    {1122, 1221, "射手", "阳性、火象星座，守护行星：木星"},
    {1222, 119, "摩蝎", "阴性、土象星座，守护行星：土星"},
    {120, 218, "水瓶", "阳性、风象星座,守护行星：天王星(传统上为土星)"},
    {219, 320, "双鱼", "阴性、水象星座，守护行星：海王星"},
}};

// The sign of a month and day of the year 2000, or nullptr when they form no such date.
constexpr const SignRange* FindSign(int32_t month, int32_t day) {
    if (day < 1 || day > GregorianMonthDays(2000, month)) return nullptr;
    const int32_t md = month * 100 + day;
    for (const SignRange& sign : Signs) {
        const bool inside = sign.from <= sign.to ? (md >= sign.from && md <= sign.to) : (md >= sign.from || md <= sign.to);
        if (inside) return &sign;
    }
    return nullptr;
}

}  // namespace torvane::engine
