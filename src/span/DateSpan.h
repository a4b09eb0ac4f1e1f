#pragma once

#include "dates/DateTime.h"

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

} // namespace kalendo
