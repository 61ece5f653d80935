// The calendar engine. Pure functions over the constant tables
// of tables.h; no platform header.
#include "engine/clsDate.h"

#include "engine/solar_term_days.h"
#include "engine/tables.h"

namespace torvane {

using namespace engine;

int64_t DaysFromCivil(int32_t year, int32_t month, int32_t day) {
    const int64_t monthIndex = int64_t{month} - 1;
    return DaysFromCivil64(int64_t{year} + FloorDiv(monthIndex, 12), static_cast<int32_t>(FloorMod(monthIndex, 12)) + 1,
                           day);
}

CivilDate CivilFromDays(int64_t days) {
    const Civil64 civil = CivilFromDays64(days);
    return {static_cast<int32_t>(civil.year), civil.month, civil.day};
}

// ---------------------------------------------------------------------------
// The two conversions.

void clsDate::sInitDate(int32_t year, int32_t month, int32_t day) {
    sYear_ = year;
    sMonth_ = month;
    sDay_ = day;
    sDate_ = DaysFromCivil(year, month, day);  // carries month and day
    hasDate_ = true;
    if (sDate_ >= lMonthFirst_ && sDate_ < lMonthFirst_ + lMonthLength_) {
        lDay_ = static_cast<int32_t>(sDate_ - lMonthFirst_) + 1;
        return;
    }
    // Outside lunar 1900-01-01 .. 2049-12-29 the lunar fields are all 0.
    const LunarDate lunar = LunarFromDays(sDate_);
    lYear_ = lunar.year;
    lMonth_ = lunar.month;
    lDay_ = lunar.day;
    isLeap_ = lunar.leap;
    lMonthFirst_ = sDate_ - lDay_ + 1;
    lMonthLength_ = lunar.day == 0 ? 0 : lunar.leap ? lLeapDays(lunar.year) : lMonthDays(lunar.year, lunar.month);
}

void clsDate::lInitDate(int32_t year, int32_t month, int32_t day, bool leap) {
    if (!InLunarRange(year)) {
        // No table for that year: the object holds no day at all, as before
        // its first positioning (every number 0, every text empty).
        *this = clsDate{};
        return;
    }
    lYear_ = year;
    lMonth_ = month;
    lDay_ = day;
    lMonthLength_ = 0;  // the day may run past its month: sInitDate walks afresh
    const int32_t leapMonth = lLeapMonth(year);
    isLeap_ = leap && leapMonth > 0 && month == leapMonth;
    sDate_ = DaysFromLunar(year, month, day, isLeap_);
    hasDate_ = true;
    const CivilDate civil = CivilFromDays(sDate_);
    sYear_ = civil.year;
    sMonth_ = civil.month;
    sDay_ = civil.day;
}

int32_t clsDate::sWeekDay() const { return hasDate_ ? WeekDayOf(sDate_) : 0; }

// The grid asks every day for its term and festivals: the passed numbers
// spare it a conversion back from sDate.
CivilDate clsDate::Day() const {
    if (sDay_ >= 1 && sDay_ <= GregorianMonthDays(sYear_, sMonth_)) return {sYear_, sMonth_, sDay_};
    return CivilFromDays(sDate_);
}

// ---------------------------------------------------------------------------
// Solar terms. See SolarTermInstant for the treatment of the fraction.

std::string_view clsDate::lSolarTerm() const {
    if (!hasDate_) return {};
    const CivilDate day = Day();
    if (day.year >= engine_data::kExactTermFirstYear && day.year <= engine_data::kExactTermLastYear) {
        // A month holds two terms: the first on day 3 + digit, the second on 18 + digit.
        const size_t first = static_cast<size_t>(day.year - engine_data::kExactTermFirstYear) * 24 +
                             static_cast<size_t>(day.month - 1) * 2;
        for (size_t i = 0; i < 2; ++i) {
            const int termDay = (i == 0 ? 3 : 18) + (engine_data::kExactTermDays[first + i] - '0');
            if (termDay == day.day) return SolarTermName[static_cast<size_t>(day.month - 1) * 2 + i];
        }
        return {};
    }
    // Outside the table, the mean-year formula.
    for (int32_t k = 0; k < 24; ++k) {
        if (FloorDiv(SolarTermInstant(sYear_, k), 86400) == sDate_) return SolarTermName[static_cast<size_t>(k)];
    }
    return {};
}

// ---------------------------------------------------------------------------
// Festivals and days off.

std::string_view clsDate::sHoliday() const {
    const SolarFestival* festival = FindSolarFestival(sMonth_, sDay_);
    return festival ? festival->name : std::string_view{};
}

bool clsDate::sHolidayRecess() const {
    const SolarFestival* festival = FindSolarFestival(sMonth_, sDay_);
    return festival && festival->dayOff;
}

std::string_view clsDate::lHoliday() const {
    if (lMonth_ == 12 && (lDay_ == 29 || lDay_ == 30)) {
        // New year's eve: the next Gregorian day opens the next lunar year.
        // Computed without touching the object's state.
        const bool eve = hasDate_ && LunarYearOfDay(sDate_ + 1) == int64_t{lYear_} + 1;
        return eve ? kLunarNewYearsEve : std::string_view{};
    }
    for (const LunarFestival& festival : LunarFestivals) {
        if (festival.month == lMonth_ && festival.day == lDay_) return festival.name;  // IsLeap not consulted
    }
    return {};
}

std::string_view clsDate::wHoliday() const {
    if (!hasDate_) return {};
    // The day itself, so a carried date is judged in the month it lies in.
    const CivilDate civil = Day();
    const int32_t weekday = WeekDayOf(sDate_);
    const int32_t ordinal = (civil.day - 1) / 7 + 1;
    const bool isLast = civil.day + 7 > GregorianMonthDays(civil.year, civil.month);
    std::string_view result;
    for (const WeekFestival& festival : WeekFestivals) {
        const bool weekMatches = festival.week == kLastWeek ? isLast : festival.week == ordinal;
        if (festival.month == civil.month && festival.weekday == weekday && weekMatches) result = festival.name;
    }
    return result;
}

// ---------------------------------------------------------------------------
// Cycles, signs and Chinese numerals.

std::string_view clsDate::sWeekDayStr() const {
    return hasDate_ ? WeekDayNames[static_cast<size_t>(WeekDayOf(sDate_) - 1)] : std::string_view{};
}

bool clsDate::IsToday(int32_t year, int32_t month, int32_t day, const CivilDate& today) {
    return CivilDate{year, month, day} == today;
}

// The cycle is taken modulo its length for every year, so years before 1864
// (GanZhi) or 1900 (YearAttribute) continue the cycle backwards.
std::string clsDate::GanZhi(int32_t year) {
    const int64_t n = FloorMod(int64_t{year} - 1864, 60);
    std::string text(TianGan[static_cast<size_t>(n % 10)]);
    text += DiZhi[static_cast<size_t>(n % 12)];
    return text;
}

std::string_view clsDate::YearAttribute(int32_t year) {
    return Animals[static_cast<size_t>(FloorMod(int64_t{year} - 1900, 12))];
}

namespace {

std::string Numbered(std::string_view prefix, int64_t number, std::string_view suffix) {
    std::string text(prefix);
    text += clsDate::UpNumber(std::to_string(number));
    text += suffix;
    return text;
}

}  // namespace

// 1874 and 1875 both read 清朝光绪元年 and 1911 清朝宣统三年.
std::string clsDate::Era(int32_t year) {
    if (year <= 1873) return "未知";
    if (year <= 1875) return "清朝光绪元年";
    if (year <= 1908) return Numbered("清朝光绪", year - 1874, "年");
    if (year == 1909) return "清朝宣统元年";
    if (year <= 1911) return Numbered("清朝宣统", year - 1908, "年");
    if (year == 1912) return "中华民国元年";
    if (year <= 1948) return Numbered("中华民国", year - 1911, "年");
    if (year == 1949) return "中华人民共和国成立了";
    if (year == 2000) return "千禧年";
    return Numbered("中华人民共和国成立", int64_t{year} - 1949, "周年");
}

namespace {

// UpDigit: the Chinese name of a decimal digit; any other character is 0.
std::string_view UpDigit(std::string_view character) {
    if (character.size() == 1 && character[0] >= '0' && character[0] <= '9') {
        return UpDigits[static_cast<size_t>(character[0] - '0')];
    }
    return UpDigits[0];
}

// The unit that follows a non-zero digit at 1-based position i from the right.
std::string_view PositionUnit(size_t position) {
    switch (position) {
        case 2: case 6: return "十";
        case 3: case 7: return "百";
        case 4: case 8: return "千";
        case 5: return "万";
        case 9: return "亿";
        default: return {};
    }
}

constexpr std::string_view kZero = "零";

}  // namespace

std::string clsDate::UpNumber(std::string_view digits) {
    const size_t first = digits.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    digits = digits.substr(first, digits.find_last_not_of(' ') - first + 1);

    std::string result;
    size_t end = digits.size();
    for (size_t position = 1; end > 0; ++position) {
        // One UTF-8 character, taken from the right.
        size_t begin = end - 1;
        while (begin > 0 && (static_cast<unsigned char>(digits[begin]) & 0xC0) == 0x80) --begin;
        const std::string_view digit = UpDigit(digits.substr(begin, end - begin));
        end = begin;

        std::string piece;
        if (digit != kZero || position >= 10) {
            piece = std::string(digit) + std::string(PositionUnit(position));
        } else if (position == 5 || position == 9) {
            piece = PositionUnit(position);  // 万 or 亿 stand even after a zero digit
        } else if (position != 1) {
            piece = kZero;
        }

        if (piece != kZero) {
            result.insert(0, piece);
        } else if (!result.empty() && !result.starts_with(kZero) && !result.starts_with("万") &&
                   !result.starts_with("亿")) {
            result.insert(0, kZero);
        }
    }
    return result;
}

std::string clsDate::CDayStr(int32_t lunarDay) {
    if (lunarDay <= 0 || lunarDay > 30) return {};
    if (lunarDay == 10) return "初十";
    if (lunarDay == 20) return "二十";
    if (lunarDay == 30) return "三十";
    std::string text(DayTens[static_cast<size_t>(lunarDay / 10)]);
    text += DayDigit[static_cast<size_t>(lunarDay % 10)];
    return text;
}

std::string_view clsDate::Constellation(int32_t month, int32_t day) {
    const SignRange* sign = FindSign(month, day);
    return sign ? sign->name : std::string_view{};
}

std::string_view clsDate::Constellation2(int32_t month, int32_t day) {
    const SignRange* sign = FindSign(month, day);
    return sign ? sign->attributes : std::string_view{};
}

}  // namespace torvane
