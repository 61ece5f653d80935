// ShowDayInfo: the selected day described in words for the day panel L(0..7),
// the festival captions Label15 and Label16, and the zodiac story Text1.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/grid.h"
#include "common/text_tables.h"
#include "engine/almanac.h"
#include "engine/clsDate.h"

namespace torvane::calendar {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr int kPanelLineCount = 8;

struct DayInfo {
    std::array<std::string, kPanelLineCount> L;
    std::string Label15;  // lunar festival
    std::string Label16;  // Gregorian and week-based festivals
    // "休息日（春节）" or "调休上班（春节）" on a day the days-off data lists,
    // else empty: a line of its own, so a busy festival line never cuts it.
    std::string DayOff;
    // The day's almanac, one subject a line (see AlmanacText); empty for a
    // day the almanac does not cover.
    std::string Almanac;
    // The story for the animal of the day's lunar year; nothing when no
    // story names it, and Text1 then keeps what it showed before.
    std::optional<std::string> Text1;
};

// Positions `cal` on the selected day and describes it.
DayInfo ShowDayInfo(const SelDate& sel, clsDate& cal, const TextTables& tables,
                    const DaysOff* daysOff = nullptr);

// The almanac's lines joined by CR LF, the ones looked up most first: the
// pillars with the 建除 officer and the duty deity, then 宜, 忌, the clash
// with the 煞 and the 彭祖 taboos. Empty when the almanac is not valid.
std::string AlmanacText(const Almanac& almanac);

// The first story that contains the year's attribute text (for example
// "鼠年"), with each backslash-n turned into CR LF and a CR LF appended.
std::optional<std::string> FindZodiacStory(const TextTable& stories,
                                           std::string_view yearAttribute);

}  // namespace torvane::calendar
