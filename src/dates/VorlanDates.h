#pragma once

#include "dates/DateFormat.h"
#include "dates/DateTime.h"
#include "dates/FormatSettings.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo {

// The days off that business-day arithmetic skips besides Saturdays and Sundays: whole-day
// serials, kept sorted and without repeats. Days on a Saturday or Sunday are dropped, since they
// change no business day.
class BusinessDayHolidays {
public:
    BusinessDayHolidays() = default;
    explicit BusinessDayHolidays(std::vector<std::int64_t> days); // any order, repeats allowed

    bool Empty() const { return days_.empty(); }
    bool Contains(std::int64_t day) const;
    // How many lie from first to last, both included; 0 when last is before first. O(log n).
    std::int64_t CountBetween(std::int64_t first, std::int64_t last) const;
    const std::vector<std::int64_t>& Days() const { return days_; }

private:
    std::vector<std::int64_t> days_;
};

// TVorlanDates: moves dates by days, business days, weeks, months, quarters and years, knows
// month lengths and the locale's month names and date order, expands two-digit years and
// formats with two extra letters (W week number, Z ordinal suffix). Stateless apart from the
// locale settings it reads.
class TVorlanDates {
public:
    // Reads the given settings; without them, the current settings of DateEnvironment, looked up
    // on every call so a later change of locale is seen.
    TVorlanDates() = default;
    explicit TVorlanDates(const FormatSettings& settings) : settings_(&settings) {}

    // unit is one of D B W M Q Y (any case); anything else gives 0.0 without an error. With
    // holidays, B skips them as well; the other units ignore them.
    DateTime AddToDate(std::string_view unit, std::int32_t count, DateTime date) const;
    DateTime AddToDate(std::string_view unit, std::int32_t count, DateTime date,
                       const BusinessDayHolidays& holidays) const;
    DateTime AddDays(std::int32_t count, DateTime date) const;
    DateTime AddWeeks(std::int32_t count, DateTime date) const;
    // Business days are Monday to Friday, less the holidays when given. A count of 0 gives the
    // whole day of date, whatever day it is; the result is always a whole day. Constant time
    // without holidays, O(log holidays) per holiday passed over with them.
    DateTime AddBusinessDays(std::int32_t count, DateTime date) const;
    DateTime AddBusinessDays(std::int32_t count, DateTime date, const BusinessDayHolidays& holidays) const;
    DateTime NextBusinessDay(DateTime date) const;
    DateTime PreviousBusinessDay(DateTime date) const;
    bool IsBusinessDay(DateTime date) const;
    bool IsBusinessDay(DateTime date, const BusinessDayHolidays& holidays) const;
    // The business days after start up to and including end; when end is before start, minus those
    // from end up to but not including start. So AddBusinessDays(count, start) is end whenever end
    // is a business day. Whole days of both dates; constant time, O(log holidays) with them.
    std::int64_t BusinessDaysBetween(DateTime start, DateTime end) const;
    std::int64_t BusinessDaysBetween(DateTime start, DateTime end, const BusinessDayHolidays& holidays) const;
    // These throw Error(kInvalidDateEncode) when the result leaves the years 1 to 9999.
    DateTime AddMonths(std::int32_t count, DateTime date) const;
    DateTime AddQuarters(std::int32_t count, DateTime date) const;
    DateTime AddYears(std::int32_t count, DateTime date) const;

    std::uint16_t DaysInMonth(std::uint16_t month, std::uint16_t year) const; // month 1..12
    bool IsMonthName(std::string_view text) const;
    TDateOrder ShortDateOrder() const;
    std::uint16_t ExpandYear(std::uint16_t year) const;
    std::string OrdinalSuffix(int day) const;
    std::uint16_t WeekOfYear(DateTime date) const; // 1..54
    std::string FormatDate(std::string_view format, DateTime date) const;
    std::string FormatDateLongYear(DateTime date) const;
    // Decodes free text with a fresh TVorlanDecodeDate; throws
    // Error("Unable to decode the date time : " + text) when it is no valid date and time.
    DateTime DecodeDateText(std::string_view text) const;

    const FormatSettings& Settings() const;

private:
    const FormatSettings* settings_ = nullptr;
};

// The one shared instance behind the free functions, created on first use.
const TVorlanDates& SharedVorlanDates();

DateTime AddToDate(std::string_view unit, std::int32_t count, DateTime date);
DateTime AddToDate(std::string_view unit, std::int32_t count, DateTime date,
                   const BusinessDayHolidays& holidays);
DateTime AddMonths(std::int32_t count, DateTime date);
DateTime AddYears(std::int32_t count, DateTime date);
std::uint16_t DaysInMonth(std::uint16_t month, std::uint16_t year);
std::uint16_t ExpandYear(std::uint16_t year);
TDateOrder ShortDateOrder();
bool IsMonthName(std::string_view text);
std::string FormatDateLongYear(DateTime date);
DateTime DecodeDateText(std::string_view text);

} // namespace kalendo
