#include "calendar/dsDateUtils.h"
#include "dates/DateFormat.h"
#include "dates/HolidayTable.h"
#include "dates/NamedDatesFile.h"
#include "dates/NamedDatesLocation.h"
#include "dates/VorlanDates.h"
#include "easter/Easter.h"
#include "span/DateSpan.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <span>
#include <sstream>
#include <string>

namespace kalendo {
namespace {

// Inputs change from call to call so that nothing is folded away; every value stays in range.
DateTime StartDate(std::int64_t iteration) {
    return EncodeDate(1752, 9, 14) + static_cast<double>(iteration % 1000);
}

void SpanTextsForAPair(benchmark::State& state) {
    const DateTime end = EncodeDate(2026, 12, 7);
    std::int64_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeSpan(StartDate(n++), end, true));
}
BENCHMARK(SpanTextsForAPair);

void BusinessDayMoveOf99999(benchmark::State& state) {
    std::int64_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(AddToDate("B", 99999, StartDate(n++)));
}
BENCHMARK(BusinessDayMoveOf99999);

// The rule as it reads: one day at a time, skipping Saturdays and Sundays.
DateTime DayByDayBusinessDays(std::int32_t count, DateTime date) {
    DateTime day = DateOf(date);
    for (std::int32_t step = 0; step < count; ++step) {
        day += 1;
        while (DayOfWeek(day) == 1 || DayOfWeek(day) == 7)
            day += 1;
    }
    return day;
}

void BusinessDayMoveOf99999DayByDay(benchmark::State& state) {
    std::int64_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(DayByDayBusinessDays(99999, StartDate(n++)));
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
    for (auto _ : state)
        benchmark::DoNotOptimize(CalendarWeekNumber(firstDayNumber, StartDate(n++)));
}
BENCHMARK(CalendarWeekNumberOfARow)->Arg(2)->Arg(1)->Arg(7); // Monday, Sunday, Saturday first

void LongDateFormat(benchmark::State& state) {
    const FormatSettings settings = UnitedKingdomSettings();
    std::int64_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDateTime("dddd d mmmm yyyy", StartDate(n++), settings));
}
BENCHMARK(LongDateFormat);

// The shipped named-dates table: the first section of the file and the last, which is read to
// the end of the file.
const char* const kSectionsToRead[] = {"United Kingdom", "Japan"};

std::string ShippedTableText() {
    std::ifstream in(SourceTreeDataDirectory() / kNamedDatesFileName, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

const HolidayTable& ShippedSection(const char* name) {
    static std::map<std::string, HolidayTable> tables;
    auto found = tables.find(name);
    if (found == tables.end()) {
        std::istringstream in(ShippedTableText());
        found = tables.emplace(name, HolidayTable(ReadNamedDatesFileSection(in, name, kNamedDatesFileName)))
                    .first;
    }
    return found->second;
}

// What the program pays once per section: open the file, read every year of the section, build
// the indexes.
void ParseTheUsersSectionFromTheFile(benchmark::State& state) {
    const std::string path = (SourceTreeDataDirectory() / kNamedDatesFileName).string();
    const char* section = kSectionsToRead[state.range(0)];
    for (auto _ : state) {
        NamedDatesCache cache; // a fresh one, so every round reads the file
        benchmark::DoNotOptimize(cache.Section(path, section));
    }
    state.SetLabel(section);
    state.counters["holidays"] = static_cast<double>(ShippedSection(section).Holidays().All().size());
}
BENCHMARK(ParseTheUsersSectionFromTheFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The month's holidays as a calendar asks for them, month after month over the table's years.
void HolidaysOfAMonth(benchmark::State& state) {
    const HolidayTable& table = ShippedSection("United Kingdom");
    int month = 0; // 0 .. 12 * 111 - 1
    std::size_t found = 0;
    for (auto _ : state) {
        const std::span<const NamedDay> days = table.Holidays().InMonth(1990 + month / 12, month % 12 + 1);
        found += days.size();
        benchmark::DoNotOptimize(days.data());
        month = month + 1 == 12 * 111 ? 0 : month + 1;
    }
    state.counters["holidays_per_month"] =
        static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(HolidaysOfAMonth);

// Is this cell's date a holiday, and what is it called: a calendar's 42 cells of one month.
void HolidayNamesOfAMonthsCells(benchmark::State& state) {
    const HolidayTable& table = ShippedSection("United Kingdom");
    std::int64_t n = 0;
    for (auto _ : state) {
        const DateTime first = EncodeDate(1990, 1, 1) + static_cast<double>((n++ * 31) % 40000);
        for (int cell = 0; cell < 42; ++cell)
            benchmark::DoNotOptimize(table.Holidays().On(first + cell).size());
    }
}
BENCHMARK(HolidayNamesOfAMonthsCells);

void BusinessDayMoveOf99999WithHolidays(benchmark::State& state) {
    const BusinessDayHolidays& holidays = ShippedSection("United Kingdom").DaysOff();
    const TVorlanDates dates;
    std::int64_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(dates.AddBusinessDays(state.range(0) > 0 ? 99999 : -99999,
                                                       EncodeDate(1990, 1, 1) + (n++ % 40000), holidays));
}
BENCHMARK(BusinessDayMoveOf99999WithHolidays)->Arg(1)->Arg(-1);

// The day-by-day walk with holidays that the move above replaces.
void BusinessDayMoveOf99999WithHolidaysDayByDay(benchmark::State& state) {
    const BusinessDayHolidays& holidays = ShippedSection("United Kingdom").DaysOff();
    std::int64_t n = 0;
    for (auto _ : state) {
        DateTime day = EncodeDate(1990, 1, 1) + static_cast<double>(n++ % 40000);
        for (std::int32_t step = 0; step < 99999; ++step) {
            day += 1;
            while (DayOfWeek(day) == 1 || DayOfWeek(day) == 7 ||
                   holidays.Contains(static_cast<std::int64_t>(day)))
                day += 1;
        }
        benchmark::DoNotOptimize(day);
    }
}
BENCHMARK(BusinessDayMoveOf99999WithHolidaysDayByDay)->Unit(benchmark::kMillisecond);

void SpanBusinessDaysWithHolidays(benchmark::State& state) {
    const BusinessDayHolidays& holidays = ShippedSection("United Kingdom").DaysOff();
    const DateTime end = EncodeDate(2100, 12, 31);
    std::int64_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(SpanBusinessDays(StartDate(n++), end, true, holidays));
}
BENCHMARK(SpanBusinessDaysWithHolidays);

} // namespace
} // namespace kalendo
