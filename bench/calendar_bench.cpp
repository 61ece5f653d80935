// The main window's redraw: ReDrawCalendar (grid draw list, captions) with
// ShowDayInfo, as every click, key and resize runs it; and its two halves.
#include <benchmark/benchmark.h>

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

void BM_CalendarDrawMonthGrid(benchmark::State& state) {
    clsDate cal;
    const GridGeometry geometry = GridGeometry::For(350, 325, kDefaultHeaderHeight);
    int month = 0;
    for (auto _ : state) {
        const SelDate sel{2014 + month / 12, month % 12 + 1, 15};
        month = (month + 1) % 120;
        DrawList ops = DrawMonthGrid(GridInput{sel, {2014, 2, 5}, geometry}, cal);
        benchmark::DoNotOptimize(ops.data());
    }
}
BENCHMARK(BM_CalendarDrawMonthGrid);

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
