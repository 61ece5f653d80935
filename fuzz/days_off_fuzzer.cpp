// holidays.txt comes from the update server. Its parse takes the whole text
// or nothing, and what it takes answers every day consistently: a listed day
// names its holiday, an off day is a 休 or an unlisted weekend, a day outside
// the years is not judged, and a month's walk agrees with day-by-day lookups.
//
// Input: the file's bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/days_off.h"
#include "common/text_codec.h"
#include "engine/tables.h"
#include "fuzz/fuzz_check.h"

namespace {

using torvane::DayOffMark;
using torvane::DayOffStatus;
using torvane::DaysOff;

void CheckDay(const DaysOff& data, int64_t day) {
    const DayOffStatus status = data.StatusOf(day);
    const int32_t year = torvane::CivilFromDays(day).year;
    FUZZ_CHECK(status.covered == data.Covers(year));
    if (!status.covered) {
        FUZZ_CHECK(!status.off && status.mark == DayOffMark::None && status.holiday.empty());
        return;
    }
    const int32_t weekday = torvane::engine::WeekDayOf(day);
    const bool weekend = weekday == 1 || weekday == 7;
    FUZZ_CHECK(status.off == (status.mark == DayOffMark::Rest || (status.mark == DayOffMark::None && weekend)));
    FUZZ_CHECK(status.holiday.empty() == (status.mark == DayOffMark::None));
    FUZZ_CHECK(!status.firstDayOff || status.mark == DayOffMark::Rest);
    FUZZ_CHECK(torvane::SanitizeUtf8(status.holiday) == status.holiday);
    FUZZ_CHECK(status.holiday.find_first_of(" \t\r\n") == std::string_view::npos);
}

// Every day of a year, and its months walked whole.
void CheckYear(const DaysOff& data, int32_t year) {
    for (int32_t month = 1; month <= 12; ++month) {
        const int64_t first = torvane::DaysFromCivil(year, month, 1);
        const int64_t next = torvane::DaysFromCivil(year, month + 1, 1);
        std::array<DayOffStatus, 31> walked{};
        data.StatusesOf(first, std::span(walked).first(static_cast<size_t>(next - first)));
        for (int64_t day = first; day < next; ++day) {
            CheckDay(data, day);
            const DayOffStatus& one = walked[static_cast<size_t>(day - first)];
            const DayOffStatus alone = data.StatusOf(day);
            FUZZ_CHECK(one.covered == alone.covered && one.off == alone.off && one.mark == alone.mark &&
                       one.holiday == alone.holiday && one.firstDayOff == alone.firstDayOff);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const std::optional<DaysOff> data = DaysOff::Parse(text);
    if (!data) return 0;
    FUZZ_CHECK(size <= torvane::kMaxDaysOffBytes);
    FUZZ_CHECK(text.find("published ") != std::string_view::npos && text.find("years ") != std::string_view::npos);
    FUZZ_CHECK(data->size() > 0 && data->firstYear() <= data->lastYear());
    FUZZ_CHECK(data->firstYear() >= torvane::kDaysOffFirstYear &&
               data->lastYear() <= torvane::kDaysOffLastYear);
    FUZZ_CHECK(!data->IsNewerThan(*data));
    CheckYear(*data, data->firstYear() - 1);
    CheckYear(*data, data->firstYear());
    CheckYear(*data, data->lastYear());
    CheckYear(*data, data->lastYear() + 1);
    return 0;
}
