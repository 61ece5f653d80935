// The main window's redraw: ReDrawCalendar (grid draw list, captions) with
// ShowDayInfo, as every click, key and resize runs it; and its two halves.
#include <benchmark/benchmark.h>

#include "common/file_io.h"
#include "tests/unit/calendar_fakes.h"

namespace {

using namespace torvane;
using namespace torvane::calendar;

void BM_CalendarReDrawWithDayInfo(benchmark::State& state) {
    testing::Harness h;
    FrmMain& model = h.Start();
    int step = 0;
    for (auto _ : state) {
        // Walk the months so the work is not one month's.
        model.onImage2Click(step++ % 24 < 12 ? 2 : 1);  // redraws and describes
        benchmark::DoNotOptimize(model.gridDrawList().data());
    }
    state.counters["ops"] = static_cast<double>(model.gridDrawList().size());
}
BENCHMARK(BM_CalendarReDrawWithDayInfo);

// Ten years of months from `firstYear`, one a drawing.
void DrawMonths(benchmark::State& state, int firstYear, const DaysOff* daysOff) {
    clsDate cal;
    const GridGeometry geometry = GridGeometry::For(350, 325, kDefaultHeaderHeight);
    int month = 0;
    for (auto _ : state) {
        const SelDate sel{firstYear + month / 12, month % 12 + 1, 15};
        month = (month + 1) % 120;
        DrawList ops = DrawMonthGrid(GridInput{sel, {2014, 2, 5}, geometry, daysOff}, cal);
        benchmark::DoNotOptimize(ops.data());
    }
}

void BM_CalendarDrawMonthGrid(benchmark::State& state) { DrawMonths(state, 2014, nullptr); }
BENCHMARK(BM_CalendarDrawMonthGrid);

// With the shipped days off: every cell with its note, the listed days with
// their marks (2015-2024, all covered).
void BM_CalendarDrawMonthGridWithDaysOff(benchmark::State& state) {
    const std::optional<DaysOff> daysOff =
        DaysOff::Parse(ReadFileBytes(TORVANE_SOURCE_DIR "/resources/holidays.txt").bytes);
    if (!daysOff) {
        state.SkipWithError("resources/holidays.txt does not parse");
        return;
    }
    DrawMonths(state, 2015, &*daysOff);
}
BENCHMARK(BM_CalendarDrawMonthGridWithDaysOff);

void BM_CalendarParseDaysOff(benchmark::State& state) {
    const std::string text = ReadFileBytes(TORVANE_SOURCE_DIR "/resources/holidays.txt").bytes;
    for (auto _ : state) {
        std::optional<DaysOff> parsed = DaysOff::Parse(text);
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CalendarParseDaysOff);

void BM_CalendarShowDayInfo(benchmark::State& state) {
    clsDate cal;
    TextTables tables;
    tables.Set(TextTableId::BirthdayByDayOfMonth, testing::BirthdayTable());
    tables.Set(TextTableId::ZodiacStories, testing::StoryTable());
    int day = 0;
    for (auto _ : state) {
        DayInfo info = ShowDayInfo(SelDate{2014, day / 28 + 1, day % 28 + 1}, cal, tables);
        day = (day + 1) % (28 * 12);
        benchmark::DoNotOptimize(info.L[0].data());
    }
}
BENCHMARK(BM_CalendarShowDayInfo);

}  // namespace
