// ShowDayInfo: the selected day described in words for the day panel L(0..7),
// the festival captions Label15 and Label16, and the zodiac story Text1.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/grid.h"
#include "common/text_tables.h"
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
    // The story for the animal of the day's lunar year; nothing when no
    // story names it, and Text1 then keeps what it showed before.
    std::optional<std::string> Text1;
};

// Positions `cal` on the selected day and describes it.
DayInfo ShowDayInfo(const SelDate& sel, clsDate& cal, const TextTables& tables,
                    const DaysOff* daysOff = nullptr);

// The first story that contains the year's attribute text (for example
// "鼠年"), with each backslash-n turned into CR LF and a CR LF appended.
std::optional<std::string> FindZodiacStory(const TextTable& stories,
                                           std::string_view yearAttribute);

}  // namespace torvane::calendar
