// The almanac: one day as a view takes it (the plain value, then every text
// of it), and a whole 42-cell month as a grid that marks 黄道 days would ask.
#include <benchmark/benchmark.h>

#include "engine/almanac.h"

namespace {

using namespace torvane;

void BM_AlmanacOfDay(benchmark::State& state) {
    clsDate date;
    int day = 0;
    for (auto _ : state) {
        date.sInitDate(2024, 1, 1 + day);  // walks across 立春 and three more 节
        day = (day + 1) % 120;
        benchmark::DoNotOptimize(AlmanacOf(date));
    }
}
BENCHMARK(BM_AlmanacOfDay);

// Every text of the day, as a panel or tooltip would show it.
void BM_AlmanacDayTexts(benchmark::State& state) {
    const int64_t first = DaysFromCivil(2024, 1, 1);
    int day = 0;
    for (auto _ : state) {
        const Almanac a = AlmanacOfDay(first + day);
        day = (day + 1) % 120;
        benchmark::DoNotOptimize(almanac::PillarName(a.yearPillar).data());
        benchmark::DoNotOptimize(almanac::PillarName(a.monthPillar).data());
        benchmark::DoNotOptimize(almanac::PillarName(a.dayPillar).data());
        benchmark::DoNotOptimize(almanac::OfficerName(a.officer).data());
        benchmark::DoNotOptimize(almanac::DeityName(a.deity).data());
        benchmark::DoNotOptimize(almanac::ClashText(a.clashPillar).data());
        benchmark::DoNotOptimize(almanac::ShaText(a.sha).data());
        std::string yi = almanac::JoinActivities(a.Yi());
        std::string ji = almanac::JoinActivities(a.Ji());
        benchmark::DoNotOptimize(yi.data());
        benchmark::DoNotOptimize(ji.data());
    }
}
BENCHMARK(BM_AlmanacDayTexts);

// 42 cells from the Sunday on or before the 1st: the day's almanac, whether
// it is a 黄道 day and its officer, per cell. The year is an argument so both
// ends of the range are measured.
void BM_AlmanacWholeMonth(benchmark::State& state) {
    const auto year = static_cast<int32_t>(state.range(0));
    clsDate date;
    date.sInitDate(year, 2, 1);
    const int32_t firstCell = 2 - date.sWeekDay();
    for (auto _ : state) {
        for (int32_t cell = 0; cell < 42; ++cell) {
            date.sInitDate(year, 2, firstCell + cell);
            const Almanac a = AlmanacOf(date);
            benchmark::DoNotOptimize(a.Huangdao());
            benchmark::DoNotOptimize(almanac::OfficerName(a.officer).data());
        }
    }
    state.SetItemsProcessed(state.iterations() * 42);
}
BENCHMARK(BM_AlmanacWholeMonth)->Arg(1900)->Arg(2024)->Arg(2100);

// The almanac command's work for a month: 30 full lines.
void BM_AlmanacMonthLines(benchmark::State& state) {
    const int64_t first = DaysFromCivil(2024, 2, 1);
    for (auto _ : state) {
        for (int64_t day = first; day < first + 30; ++day) {
            std::string line = almanac::Line(CivilFromDays(day), AlmanacOfDay(day));
            benchmark::DoNotOptimize(line.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(BM_AlmanacMonthLines);

}  // namespace
