#include "calendar/cell_note.h"

#include <array>
#include <string>

#include "calendar/names.h"

namespace torvane::calendar {
namespace {

// A festival as the engine names it and as a cell, three characters wide,
// shows it. Festivals not listed (the minor observances) stay in the panel.
struct GridName {
    std::string_view festival;
    std::string_view shown;
};

constexpr std::array<GridName, 10> kLunarFestivals = {{
    {"春节", "春节"},
    {"元宵节", "元宵节"},
    {"端午节", "端午节"},
    {"七夕情人节", "七夕"},
    {"中元节 盂兰盆节", "中元节"},
    {"中秋节", "中秋节"},
    {"重阳节", "重阳节"},
    {"腊八节", "腊八节"},
    {"小年", "小年"},
    {"除夕", "除夕"},
}};

constexpr std::array<GridName, 15> kGregorianFestivals = {{
    {"元旦", "元旦"},
    {"情人节", "情人节"},
    {"妇女节", "妇女节"},
    {"植树节", "植树节"},
    {"劳动节", "劳动节"},
    {"青年节", "青年节"},
    {"儿童节", "儿童节"},
    {"建党节", "建党节"},
    {"建军节", "建军节"},
    {"教师节", "教师节"},
    {"国庆节", "国庆节"},
    {"平安夜", "平安夜"},
    {"圣诞节", "圣诞节"},
    {"国际母亲节", "母亲节"},
    {"父亲节", "父亲节"},
}};

constexpr std::string_view kLeapPrefix = "闰";
constexpr std::string_view kNewYearsEve = "除夕";

template <size_t N>
std::string_view Shown(const std::array<GridName, N>& names, std::string_view festival) {
    if (festival.empty()) return {};
    for (const GridName& name : names)
        if (name.festival == festival) return name.shown;
    return {};
}

// The engine composes these texts afresh each time; a cell needs them for
// every day it draws, so they are made once.
std::string_view LunarDayName(int32_t day) {
    static const std::array<std::string, 31> kNames = [] {
        std::array<std::string, 31> names;
        for (int32_t d = 1; d <= 30; ++d) names[static_cast<size_t>(d)] = clsDate::CDayStr(d);
        return names;
    }();
    return day >= 1 && day <= 30 ? std::string_view(kNames[static_cast<size_t>(day)]) : std::string_view{};
}

std::string_view LunarMonthName(int32_t month, bool leap) {
    static const std::array<std::string, 12> kLeapNames = [] {
        std::array<std::string, 12> names;
        for (size_t m = 0; m < names.size(); ++m) names[m] = std::string(kLeapPrefix) + std::string(kLunarMonths[m].cell);
        return names;
    }();
    if (month < 1 || month > 12) return {};
    const auto i = static_cast<size_t>(month - 1);
    return leap ? std::string_view(kLeapNames[i]) : kLunarMonths[i].cell;
}

}  // namespace

CellNote CellNoteOf(const clsDate& cal, const DayOffStatus& status) {
    // A leap month repeats its month's number, not its festivals; the eve
    // closes the year whichever month that is.
    const std::string_view lunar = cal.lHoliday();
    if (!cal.IsLeap() || lunar == kNewYearsEve) {
        if (const std::string_view shown = Shown(kLunarFestivals, lunar); !shown.empty()) return {shown, true};
    }
    if (const std::string_view term = cal.lSolarTerm(); !term.empty()) return {term, true};
    if (status.firstDayOff) return {status.holiday, true};
    if (const std::string_view shown = Shown(kGregorianFestivals, cal.sHoliday()); !shown.empty()) return {shown, true};
    if (const std::string_view shown = Shown(kGregorianFestivals, cal.wHoliday()); !shown.empty()) return {shown, true};
    if (cal.lDay() == 1) return {LunarMonthName(cal.lMonth(), cal.IsLeap()), false};
    return {LunarDayName(cal.lDay()), false};
}

}  // namespace torvane::calendar
