#include "calendar/day_panel.h"

#include "calendar/names.h"

namespace torvane::calendar {

namespace {

constexpr std::string_view kStoryLineBreak = "\\n";

std::string DateText(const SelDate& sel) {
    return std::to_string(sel.year) + "年" + std::to_string(sel.month) + "月" +
           std::to_string(sel.day) + "日";
}

std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

// "休息日（春节）" or "调休上班（春节）" on a listed day, else nothing.
std::string DayOffText(const DaysOff* daysOff, int64_t day) {
    if (!daysOff) return {};
    const DayOffStatus status = daysOff->StatusOf(day);
    if (status.mark == DayOffMark::None) return {};
    return Joined({status.mark == DayOffMark::Rest ? "休息日（" : "调休上班（", status.holiday, "）"});
}

}  // namespace

std::optional<std::string> FindZodiacStory(const TextTable& stories,
                                           std::string_view yearAttribute) {
    // An empty attribute (a year outside the tables) would match any story.
    if (yearAttribute.empty()) return std::nullopt;
    for (const std::string& entry : stories.entries) {
        if (entry.find(yearAttribute) == std::string::npos) continue;
        std::string story;
        story.reserve(entry.size() + 16);
        for (size_t i = 0; i < entry.size(); ++i) {
            if (entry.compare(i, kStoryLineBreak.size(), kStoryLineBreak) == 0) {
                story += kCrLf;
                ++i;
            } else {
                story += entry[i];
            }
        }
        story += kCrLf;
        return story;
    }
    return std::nullopt;
}

DayInfo ShowDayInfo(const SelDate& sel, clsDate& cal, const TextTables& tables, const DaysOff* daysOff) {
    cal.sInitDate(sel.year, sel.month, sel.day);
    const std::string date = DateText(sel);
    const int32_t cycleYear = CycleYear(cal);
    const std::string attribute(clsDate::YearAttribute(cycleYear));
    const std::string_view sHoliday = cal.sHoliday();
    const std::string_view wHoliday = cal.wHoliday();
    const std::string_view lHoliday = cal.lHoliday();

    DayInfo info;
    info.L[0] = Joined({"日程信息 (", date, ")", kCrLf});
    info.L[1] = Joined({"年份：", clsDate::Era(sel.year), kCrLf});
    info.L[2] = Joined({"公历：", date, " ", cal.sWeekDayStr(), kCrLf});
    info.L[3] = Joined({"农历：", clsDate::GanZhi(cycleYear), "(", attribute, ")", "年",
                        cal.IsLeap() ? "闰" : "", MonthName(cal.lMonth()),
                        clsDate::CDayStr(cal.lDay()), kCrLf});
    info.L[4] = Joined({"公历节日：", sHoliday, " ", wHoliday, kCrLf});
    info.DayOff = DayOffText(daysOff, cal.sDate());
    info.Label16 = Joined({sHoliday, " ", wHoliday});
    info.L[5] = Joined({"农历节日：", lHoliday, kCrLf});
    info.Label15 = std::string(lHoliday);
    const std::string_view character =
        sel.day >= 1 ? Entry(tables.Get(TextTableId::BirthdayByDayOfMonth),
                             static_cast<size_t>(sel.day - 1))
                     : std::string_view{};
    info.L[6] = Joined({character, kCrLf});
    info.L[7] = Joined({"属相：", attribute});
    info.Text1 = FindZodiacStory(tables.Get(TextTableId::ZodiacStories), attribute);
    return info;
}

}  // namespace torvane::calendar
