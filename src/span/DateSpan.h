#pragma once

#include "dates/DateTime.h"
#include "dates/VorlanDates.h"

#include <cstdint>
#include <string>

namespace kalendo {

inline constexpr const char* kSpanOrderError = "--- Date on Left must be before Date on Right ---";

// Days in the month of the given year, Gregorian rule; 0 for a month outside 1..12.
int MonthLength(int year, int month);

// The Months and Years panel texts for start <= end. bothDates counts the end date as well;
// it joins the day difference after the month borrow in the Months text and before it in the
// Years text, so the two can describe the same span differently.
std::string FormatMonthsSpan(DateTime start, DateTime end, bool bothDates);
std::string FormatYearsSpan(DateTime start, DateTime end, bool bothDates);

// The four panel texts of the span from start to end (whole days).
struct SpanTexts {
    bool orderError = false;
    std::string days, weeks, months, years;
};

// orderError true when end < start; then only `years` holds kSpanOrderError and the other
// three are empty.
SpanTexts ComputeSpan(DateTime start, DateTime end, bool bothDates);

// The business days of the span as the Days panel counts days: the days after start up to and
// including end that are Monday to Friday (and no holiday, when given), plus start itself when
// bothDates is set and it is one. So without bothDates the count is the one that moving start by
// business days needs to reach end. 0 when end is before start.
std::int64_t SpanBusinessDays(DateTime start, DateTime end, bool bothDates);
std::int64_t SpanBusinessDays(DateTime start, DateTime end, bool bothDates,
                              const BusinessDayHolidays& holidays);

} // namespace kalendo
