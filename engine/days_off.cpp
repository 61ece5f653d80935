#include "engine/days_off.h"

#include <algorithm>

#include "common/text_codec.h"
#include "engine/gregorian.h"
#include "engine/tables.h"

namespace torvane {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kPublished = "published ";
constexpr std::string_view kYears = "years ";
constexpr std::string_view kRestMark = "休";
constexpr std::string_view kWorkMark = "班";
// "YYYY-MM-DD 休 " before the holiday's name.
constexpr size_t kDateBytes = 10;
constexpr size_t kNameAt = kDateBytes + 1 + kRestMark.size() + 1;
// A weekend inside a run of days off is not always listed.
constexpr int kWeekendDays = 2;
// A year names a handful of holidays; a text naming many more is not ours.
constexpr size_t kMaxHolidays = 64;

std::optional<int32_t> Digits(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int32_t> Year(std::string_view text) {
    const std::optional<int32_t> year = text.size() == 4 ? Digits(text) : std::nullopt;
    if (!year || *year < kDaysOffFirstYear || *year > kDaysOffLastYear) return std::nullopt;
    return year;
}

// "YYYY-MM-DD" naming a real day.
std::optional<CivilDate> Date(std::string_view text) {
    if (text.size() != kDateBytes || text[4] != '-' || text[7] != '-') return std::nullopt;
    const std::optional<int32_t> year = Year(text.substr(0, 4));
    const std::optional<int32_t> month = Digits(text.substr(5, 2));
    const std::optional<int32_t> day = Digits(text.substr(8, 2));
    if (!year || !month || !day || *day < 1 || *day > engine::GregorianMonthDays(*year, *month))
        return std::nullopt;
    return CivilDate{*year, *month, *day};
}

// Well-formed UTF-8 without blanks or control characters: the grid and the
// panel show it as it is.
bool IsHolidayName(std::string_view name) {
    if (name.empty() || name.size() > kMaxHolidayNameBytes) return false;
    while (!name.empty()) {
        const auto lead = static_cast<unsigned char>(name[0]);
        const size_t length = lead < 0x80 ? (lead > 0x20 && lead != 0x7F ? 1 : 0) : Utf8SequenceLength(name);
        if (length == 0) return false;
        name.remove_prefix(length);
    }
    return true;
}

bool IsWeekend(int64_t day) {
    const int32_t weekday = engine::WeekDayOf(day);
    return weekday == 1 || weekday == 7;
}

}  // namespace

std::optional<DaysOff> DaysOff::Parse(std::string_view text) {
    if (text.size() > kMaxDaysOffBytes) return std::nullopt;
    if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
    DaysOff data;
    bool sawPublished = false, sawYears = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.starts_with('#')) continue;
        if (!data.AddLine(line, sawPublished, sawYears)) return std::nullopt;
    }
    if (!sawPublished || !sawYears || data.entries_.empty()) return std::nullopt;

    std::sort(data.entries_.begin(), data.entries_.end(),
              [](const Entry& a, const Entry& b) { return a.day < b.day; });
    for (size_t i = 0; i < data.entries_.size(); ++i) {
        if (data.entries_[i].day < data.firstDay_ || data.entries_[i].day >= data.endDay_) return std::nullopt;
        if (i > 0 && data.entries_[i - 1].day == data.entries_[i].day) return std::nullopt;
    }
    data.MarkFirstDaysOff();
    return data;
}

bool DaysOff::AddLine(std::string_view line, bool& sawPublished, bool& sawYears) {
    if (line.starts_with(kPublished)) {
        const std::optional<CivilDate> date = Date(line.substr(kPublished.size()));
        if (sawPublished || !date) return false;
        published_ = *date;
        sawPublished = true;
        return true;
    }
    if (line.starts_with(kYears)) {
        const std::string_view years = line.substr(kYears.size());
        if (sawYears || years.size() != 9 || years[4] != ' ') return false;
        const std::optional<int32_t> first = Year(years.substr(0, 4));
        const std::optional<int32_t> last = Year(years.substr(5));
        if (!first || !last || *last < *first) return false;
        firstYear_ = *first;
        lastYear_ = *last;
        firstDay_ = DaysFromCivil(firstYear_, 1, 1);
        endDay_ = DaysFromCivil(lastYear_ + 1, 1, 1);
        sawYears = true;
        return true;
    }
    if (line.size() <= kNameAt || line[kDateBytes] != ' ' || line[kNameAt - 1] != ' ') return false;
    const std::optional<CivilDate> date = Date(line.substr(0, kDateBytes));
    const std::string_view mark = line.substr(kDateBytes + 1, kRestMark.size());
    const std::string_view name = line.substr(kNameAt);
    if (!date || (mark != kRestMark && mark != kWorkMark) || !IsHolidayName(name)) return false;

    auto known = std::find(holidays_.begin(), holidays_.end(), name);
    if (known == holidays_.end()) {
        if (holidays_.size() == kMaxHolidays) return false;
        known = holidays_.insert(holidays_.end(), std::string(name));
    }
    entries_.push_back(Entry{DaysFromCivil(date->year, date->month, date->day),
                             mark == kRestMark ? DayOffMark::Rest : DayOffMark::Work, false,
                             static_cast<uint16_t>(known - holidays_.begin())});
    return true;
}

// A holiday's name goes on its first day off only: the first 休 of that
// holiday within a run of days off. 国庆节 2025 runs 10-01 .. 10-08 around
// 中秋节 on 10-06, and a weekend inside a run is not always listed.
void DaysOff::MarkFirstDaysOff() {
    std::vector<uint16_t> inRun;  // the holidays of the run so far
    const Entry* previous = nullptr;
    for (Entry& entry : entries_) {
        if (entry.mark != DayOffMark::Rest) {
            previous = nullptr;
            continue;
        }
        bool joined = previous != nullptr && entry.day - previous->day - 1 <= kWeekendDays;
        for (int64_t day = previous ? previous->day + 1 : entry.day; joined && day < entry.day; ++day)
            joined = IsWeekend(day);
        if (!joined) inRun.clear();
        entry.firstDayOff = std::find(inRun.begin(), inRun.end(), entry.holiday) == inRun.end();
        if (entry.firstDayOff) inRun.push_back(entry.holiday);
        previous = &entry;
    }
}

const DaysOff::Entry* DaysOff::Find(int64_t day) const {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), day,
                                     [](const Entry& entry, int64_t wanted) { return entry.day < wanted; });
    return it != entries_.end() && it->day == day ? &*it : nullptr;
}

bool DaysOff::IsNewerThan(const DaysOff& other) const {
    const CivilDate& a = published_;
    const CivilDate& b = other.published_;
    return DaysFromCivil(a.year, a.month, a.day) > DaysFromCivil(b.year, b.month, b.day);
}

DayOffStatus DaysOff::StatusOf(int64_t day) const { return StatusFrom(day, Find(day)); }

void DaysOff::StatusesOf(int64_t first, std::span<DayOffStatus> out) const {
    auto next = std::lower_bound(entries_.begin(), entries_.end(), first,
                                 [](const Entry& entry, int64_t wanted) { return entry.day < wanted; });
    for (size_t i = 0; i < out.size(); ++i) {
        const int64_t day = first + static_cast<int64_t>(i);
        const bool listed = next != entries_.end() && next->day == day;
        out[i] = StatusFrom(day, listed ? &*next : nullptr);
        if (listed) ++next;
    }
}

// `entry` is the day's entry, or null when the day is not listed.
DayOffStatus DaysOff::StatusFrom(int64_t day, const Entry* entry) const {
    DayOffStatus status;
    if (day < firstDay_ || day >= endDay_) return status;
    status.covered = true;
    if (!entry) {
        status.off = IsWeekend(day);
        return status;
    }
    status.mark = entry->mark;
    status.off = entry->mark == DayOffMark::Rest;
    status.holiday = holidays_[entry->holiday];
    status.firstDayOff = entry->firstDayOff;
    return status;
}

}  // namespace torvane
