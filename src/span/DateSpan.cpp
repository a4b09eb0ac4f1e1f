#include "span/DateSpan.h"

#include <cmath>
#include <cstdint>

namespace kalendo {

namespace {

// Whole-day serial, clamped far outside the calendars so a stray value cannot overflow.
std::int64_t WholeDays(DateTime value) {
    double whole = std::trunc(value);
    if (!(whole > -1e9)) whole = -1e9;
    if (whole > 1e9) whole = 1e9;
    return static_cast<std::int64_t>(whole);
}

struct CivilDifference {
    int years, months, days;
    int startYear, startMonth;
};

CivilDifference Difference(DateTime start, DateTime end) {
    const CivilDate s = CivilFromDays(WholeDays(start));
    const CivilDate e = CivilFromDays(WholeDays(end));
    return {e.year - s.year, e.month - s.month, e.day - s.day, s.year, s.month};
}

std::string WeeksAndDays(int dayCount) {
    return std::to_string(dayCount / 7) + " Weeks and " + std::to_string(dayCount % 7) + " Days";
}

} // namespace

int MonthLength(int year, int month) {
    if (month < 1 || month > 12) return 0;
    if (month == 12) return 31;
    // The day before the first of the following month.
    return CivilFromDays(DaysFromCivil(year, month + 1, 1) - 1).day;
}

std::string FormatMonthsSpan(DateTime start, DateTime end, bool bothDates) {
    CivilDifference diff = Difference(start, end);
    if (diff.days < 0) {
        diff.days += MonthLength(diff.startYear, diff.startMonth);
        --diff.months;
    }
    if (bothDates) ++diff.days; // after the borrow: the days part can reach 31
    if (diff.months < 0) {
        diff.months += 12;
        --diff.years;
    }
    return std::to_string(12 * diff.years + diff.months) + " Months, " + WeeksAndDays(diff.days);
}

std::string FormatYearsSpan(DateTime start, DateTime end, bool bothDates) {
    CivilDifference diff = Difference(start, end);
    if (bothDates) ++diff.days; // before the borrow, unlike the Months text
    // The days are borrowed from the start month, not from the month before the end.
    if (diff.days < 0) {
        diff.days += MonthLength(diff.startYear, diff.startMonth);
        --diff.months;
    }
    if (diff.months < 0) {
        diff.months += 12;
        --diff.years;
    }
    return std::to_string(diff.years) + " Years, " + std::to_string(diff.months) + " Months, " +
           WeeksAndDays(diff.days);
}

SpanTexts ComputeSpan(DateTime start, DateTime end, bool bothDates) {
    SpanTexts texts;
    const std::int64_t startDay = WholeDays(start);
    const std::int64_t endDay = WholeDays(end);
    if (endDay < startDay) {
        texts.orderError = true;
        texts.years = kSpanOrderError;
        return texts;
    }
    const std::int64_t dayCount = endDay - startDay + (bothDates ? 1 : 0);
    texts.days = std::to_string(dayCount) + " Days";
    texts.weeks = std::to_string(dayCount / 7) + " Weeks and " + std::to_string(dayCount % 7) + " Days";
    texts.months = FormatMonthsSpan(start, end, bothDates);
    texts.years = FormatYearsSpan(start, end, bothDates);
    return texts;
}

std::int64_t SpanBusinessDays(DateTime start, DateTime end, bool bothDates) {
    return SpanBusinessDays(start, end, bothDates, BusinessDayHolidays());
}

std::int64_t SpanBusinessDays(DateTime start, DateTime end, bool bothDates,
                              const BusinessDayHolidays& holidays) {
    if (WholeDays(end) < WholeDays(start)) return 0;
    const TVorlanDates& dates = SharedVorlanDates();
    const auto startDay = static_cast<DateTime>(WholeDays(start));
    return dates.BusinessDaysBetween(start, end, holidays) +
           (bothDates && dates.IsBusinessDay(startDay, holidays) ? 1 : 0);
}

} // namespace kalendo
