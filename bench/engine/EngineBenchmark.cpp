#include "calendar/dsDateUtils.h"
#include "dates/DateFormat.h"
#include "dates/VorlanDates.h"
#include "easter/Easter.h"
#include "span/DateSpan.h"

#include <benchmark/benchmark.h>

namespace kalendo {
namespace {

// Inputs change from call to call so that nothing is folded away; every value stays in range.
DateTime StartDate(std::int64_t iteration) { return EncodeDate(1752, 9, 14) + static_cast<double>(iteration % 1000); }

void SpanTextsForAPair(benchmark::State& state) {
    const DateTime end = EncodeDate(2026, 12, 7);
    std::int64_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ComputeSpan(StartDate(n++), end, true));
}
BENCHMARK(SpanTextsForAPair);

void BusinessDayMoveOf99999(benchmark::State& state) {
    std::int64_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(AddToDate("B", 99999, StartDate(n++)));
}
BENCHMARK(BusinessDayMoveOf99999);

// The rule as it reads: one day at a time, skipping Saturdays and Sundays.
DateTime DayByDayBusinessDays(std::int32_t count, DateTime date) {
    DateTime day = DateOf(date);
    for (std::int32_t step = 0; step < count; ++step) {
        day += 1;
        while (DayOfWeek(day) == 1 || DayOfWeek(day) == 7) day += 1;
    }
    return day;
}

void BusinessDayMoveOf99999DayByDay(benchmark::State& state) {
    std::int64_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(DayByDayBusinessDays(99999, StartDate(n++)));
}
BENCHMARK(BusinessDayMoveOf99999DayByDay)->Unit(benchmark::kMicrosecond);

void EasterSundayOfAYear(benchmark::State& state) {
    int year = 1000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(EasterSunday(year));
        year = year == 3000 ? 1000 : year + 1;
    }
}
BENCHMARK(EasterSundayOfAYear);

void CalendarWeekNumberOfARow(benchmark::State& state) {
    std::int64_t n = 0;
    const int firstDayNumber = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(CalendarWeekNumber(firstDayNumber, StartDate(n++)));
}
BENCHMARK(CalendarWeekNumberOfARow)->Arg(2)->Arg(1)->Arg(7);  // Monday, Sunday, Saturday first

void LongDateFormat(benchmark::State& state) {
    const FormatSettings settings = UnitedKingdomSettings();
    std::int64_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(FormatDateTime("dddd d mmmm yyyy", StartDate(n++), settings));
}
BENCHMARK(LongDateFormat);

} // namespace
} // namespace kalendo
