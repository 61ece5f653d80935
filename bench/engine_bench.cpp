// The engine's share of a month-grid redraw: per cell sInitDate,
// sHolidayRecess, lDay and CDayStr(lDay); and a whole 42-cell grid.
#include <benchmark/benchmark.h>

#include "engine/clsDate.h"

namespace {

using torvane::clsDate;

void BM_EngineSInitDate(benchmark::State& state) {
    clsDate date;
    int day = 0;
    for (auto _ : state) {
        date.sInitDate(2024, 2, 1 + day);  // walks through the days of early 2024
        day = (day + 1) % 120;
        benchmark::DoNotOptimize(date);
    }
}
BENCHMARK(BM_EngineSInitDate);

void BM_EngineGridCell(benchmark::State& state) {
    clsDate date;
    int day = 0;
    for (auto _ : state) {
        date.sInitDate(2024, 2, 1 + day);
        day = (day + 1) % 120;
        benchmark::DoNotOptimize(date.sHolidayRecess());
        benchmark::DoNotOptimize(clsDate::CDayStr(date.lDay()));
    }
}
BENCHMARK(BM_EngineGridCell);

// 42 cells from the Sunday on or before the 1st, using sInitDate's carrying
// for the days of the months before and after; the year is an argument so the
// year search is measured near both ends of the table.
void BM_EngineWholeMonth(benchmark::State& state) {
    const auto year = static_cast<int32_t>(state.range(0));
    clsDate date;
    date.sInitDate(year, 10, 1);
    const int32_t firstCell = 2 - date.sWeekDay();
    for (auto _ : state) {
        for (int32_t cell = 0; cell < 42; ++cell) {
            date.sInitDate(year, 10, firstCell + cell);
            benchmark::DoNotOptimize(date.sHolidayRecess());
            benchmark::DoNotOptimize(clsDate::CDayStr(date.lDay()));
        }
    }
    state.SetItemsProcessed(state.iterations() * 42);
}
BENCHMARK(BM_EngineWholeMonth)->Arg(1901)->Arg(2024)->Arg(2049);

}  // namespace
