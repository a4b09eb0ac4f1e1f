#pragma once

#include "dates/DateTime.h"
#include "dates/FormatSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalendo {

// Field order of a short date format.
enum TDateOrder : int { doMonthDayYear = 0, doDayMonthYear = 1, doYearMonthDay = 2 };

// The first of the letters D, M, Y (either case) decides; none gives doMonthDayYear.
TDateOrder DateOrderOf(std::string_view shortDateFormat);

// Two-digit years up to and including this belong to the 2000s, later ones to the 1900s.
inline constexpr int kTwoDigitYearPivot = 29;

// The standard date formatter. Letters are case-insensitive: d, dd, ddd, dddd (day number, two
// digits, short and long day name), m, mm, mmm, mmmm (the same for the month), yy and yyyy
// (a run of one or two y gives two digits, three or more gives four); "/" stands for the
// locale's date separator; text in single or double quotes is copied without the quotes;
// every other character is copied as it stands.
std::string FormatDateTime(std::string_view format, DateTime value, const FormatSettings& settings);

// The time formatter for the locale's time formats: h, hh (hour), n, nn or m, mm (minute),
// s, ss (second), ":" for the time separator, and the 12-hour markers AMPM (the locale's
// designators), AM/PM and A/P (as written); quoted text as above.
std::string FormatTime(std::string_view format, DateTime value, const FormatSettings& settings);

// The date in the locale's short date format.
std::string DateToStr(DateTime value, const FormatSettings& settings);

// Reads a date in the locale's short date order and separator: three numbers, blanks allowed
// around each; a year of one or two digits is expanded around kTwoDigitYearPivot. A text laid out
// as the short date format writes it is read too, where the format has characters of its own
// beside its fields and separators ("2026. 12. 08." for yyyy/mm/dd. with ". ", "08/12 2026").
std::optional<DateTime> TryStrToDate(std::string_view text, const FormatSettings& settings);
// As above; throws Error("'text' is not a valid date").
DateTime StrToDate(std::string_view text, const FormatSettings& settings);

// Reads back the long date form "dddd d mmmm yyyy" exactly as FormatDateTime writes it with these
// settings (Monday 7 December 2026): the locale's long day name, a blank, the day without a leading
// zero, a blank, the locale's long month name, a blank and four digits. The names are matched as
// they stand, so blanks, dots, digits and any letters in them are no obstacle, and the field order
// of the locale's short date plays no part. Nullopt for every other text: a day name that is not
// the date's weekday, a year below 100 (which free text takes for a two-digit year), and a text
// that two dates would both be written as (a locale that gives two months one name).
std::optional<DateTime> TryReadLongDateForm(std::string_view text, const FormatSettings& settings);

// Reads hours and minutes, optionally seconds, joined by the locale's time separator, 24-hour;
// an AM or PM designator after it (with or without a blank) is honoured. Returns a day fraction.
std::optional<DateTime> TryStrToTime(std::string_view text, const FormatSettings& settings);
// As above; throws Error("'text' is not a valid time").
DateTime StrToTime(std::string_view text, const FormatSettings& settings);

// ASCII case folding, enough for the English vocabulary and locale names compared here.
std::string UpperCase(std::string_view text);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

} // namespace kalendo
