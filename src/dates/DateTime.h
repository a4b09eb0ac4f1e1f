#pragma once

#include <cstdint>
#include <optional>

namespace kalendo {

// A date and time as a count of days since 30 December 1899 at midnight, proleptic Gregorian.
// The whole part (toward zero) is the date; the absolute value of the fraction is the time of
// day, also for negative values: -1.25 is 29 December 1899 at 06:00.
using DateTime = double;

// Serial numbers of the main calendars' range.
inline constexpr int kSerialOf1Jan1752 = -54054;
inline constexpr int kSerialOf31Dec3000 = 402133;

struct CivilDate {
    int year = 0;  // 1..9999 for every date the encoder accepts
    int month = 0; // 1..12
    int day = 0;   // 1..31
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct TimeOfDay {
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
    int second = 0; // 0..59
    int msec = 0;   // 0..999
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

bool IsLeapYear(int year);
// 28..31; month must be 1..12.
int MonthDays(int year, int month);
bool IsValidDate(int year, int month, int day); // also requires year 1..9999

// Whole-day serial of a civil date. Throws Error(kInvalidDateEncode) when the three numbers form
// no date in years 1 to 9999.
DateTime EncodeDate(int year, int month, int day);
std::optional<DateTime> TryEncodeDate(int year, int month, int day);

// Fraction of a day; throws Error(kInvalidDateEncode) outside 0:00:00.000..23:59:59.999.
DateTime EncodeTime(int hour, int minute, int second, int msec = 0);
std::optional<DateTime> TryEncodeTime(int hour, int minute, int second, int msec = 0);

// The civil date of the whole part. Serials outside years 1..9999 still decode (the chrono
// conversion is total); callers that need the range check it themselves.
CivilDate DecodeDate(DateTime value);
TimeOfDay DecodeTime(DateTime value);

// Whole days as a serial (truncated toward zero) and the time of day (0 <= t < 1).
DateTime DateOf(DateTime value);
DateTime TimeOf(DateTime value);
// Joins a whole-day serial and a time of day, respecting the sign rule above.
DateTime ComposeDateTime(DateTime date, DateTime time);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(DateTime value);

// Day serial <-> civil date without range checks (for pure arithmetic on valid ranges).
std::int64_t DaysFromCivil(int year, int month, int day);
CivilDate CivilFromDays(std::int64_t serial);

} // namespace kalendo
