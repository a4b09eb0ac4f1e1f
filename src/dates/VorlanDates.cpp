#include "dates/VorlanDates.h"

#include "dates/DateEnvironment.h"
#include "dates/Error.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kalendo {

namespace {

constexpr std::uint16_t kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Serial 2 (1 January 1900) was a Monday; business-day arithmetic counts weeks from it.
constexpr std::int64_t kSerialOfAMonday = 2;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

bool IsGregorianLeap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// The whole-day part as an integer, clamped far outside any calendar so that no conversion
// overflows (NaN lands on the lower clamp).
std::int64_t WholeDays(DateTime value) {
    double whole = std::trunc(value);
    if (!(whole > -1e9)) whole = -1e9;
    if (whole > 1e9) whole = 1e9;
    return static_cast<std::int64_t>(whole);
}

// Turns -0.0 into 0.0 so a zero result never prints as "-0".
DateTime WholeDay(std::int64_t serial) { return static_cast<DateTime>(serial) + 0.0; }

// The date core's conversions are valid for these serials only (years 1 to 9999).
const std::int64_t kFirstEncodableSerial = DaysFromCivil(1, 1, 1);
const std::int64_t kLastEncodableSerial = DaysFromCivil(9999, 12, 31);

// The civil date of a date that the encoder could have made; anything else cannot be split.
CivilDate DecodeEncodableDate(DateTime date) {
    const std::int64_t whole = WholeDays(date);
    if (whole < kFirstEncodableSerial || whole > kLastEncodableSerial) throw Error(kInvalidDateEncode);
    return CivilFromDays(whole);
}

// The plain business-day rule on whole-day serials: count weekdays on from day (back when count
// is negative). Business days are numbered Monday 0 .. Friday 4 within weeks counted from a
// Monday. Going forward a week-end day counts as that week's Friday (its next business day is
// Monday); going back it counts as the next week's Monday (its previous business day is Friday).
std::int64_t MoveByWeekdays(std::int64_t count, std::int64_t day) {
    if (count == 0) return day;
    const std::int64_t week = FloorDiv(day - kSerialOfAMonday, 7);
    const std::int64_t weekday = FloorMod(day - kSerialOfAMonday, 7); // 0 = Monday .. 6 = Sunday
    const std::int64_t position =
        count > 0 ? std::min<std::int64_t>(weekday, 4) : std::min<std::int64_t>(weekday, 5);
    const std::int64_t target = week * 5 + position + count;
    return kSerialOfAMonday + FloorDiv(target, 5) * 7 + FloorMod(target, 5);
}

// How many Mondays to Fridays there are up to and including day, counted from the Monday of
// kSerialOfAMonday (negative before it).
std::int64_t WeekdaysThrough(std::int64_t day) {
    const std::int64_t week = FloorDiv(day - kSerialOfAMonday, 7);
    const std::int64_t weekday = FloorMod(day - kSerialOfAMonday, 7); // 0 = Monday .. 6 = Sunday
    return week * 5 + std::min<std::int64_t>(weekday + 1, 5);
}

// The month arithmetic behind AddMonths and AddQuarters; the count is wide so that three times a
// 32-bit count of quarters cannot overflow.
DateTime AddMonthsWide(const TVorlanDates& dates, std::int64_t count, DateTime date) {
    if (count == 0) return date;
    const CivilDate civil = DecodeEncodableDate(date);
    std::int64_t year = civil.year + count / 12;
    std::int64_t month = civil.month + count % 12; // -10..23, the remainder keeps count's sign
    if (count > 0 && month > 12) {
        ++year;
        month -= 12;
    } else if (count < 0 && month < 1) {
        --year;
        month += 12;
    }
    if (year < 1 || year > 9999) throw Error(kInvalidDateEncode);
    const int length = dates.DaysInMonth(static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(year));
    const int day = civil.day > length ? length : civil.day;
    return EncodeDate(static_cast<int>(year), static_cast<int>(month), day);
}

} // namespace

const FormatSettings& TVorlanDates::Settings() const {
    return settings_ != nullptr ? *settings_ : CurrentFormatSettings();
}

DateTime TVorlanDates::AddToDate(std::string_view unit, std::int32_t count, DateTime date,
                                 const BusinessDayHolidays& holidays) const {
    if (UpperCase(unit) == "B") return AddBusinessDays(count, date, holidays);
    return AddToDate(unit, count, date);
}

DateTime TVorlanDates::AddToDate(std::string_view unit, std::int32_t count, DateTime date) const {
    const std::string letter = UpperCase(unit);
    if (letter == "D") return AddDays(count, date);
    if (letter == "B") return AddBusinessDays(count, date);
    if (letter == "W") return AddWeeks(count, date);
    if (letter == "M") return AddMonths(count, date);
    if (letter == "Q") return AddQuarters(count, date);
    if (letter == "Y") return AddYears(count, date);
    return 0.0;
}

DateTime TVorlanDates::AddDays(std::int32_t count, DateTime date) const {
    // Before 1900 the time is a negative fraction, so a plain sum would move the time of day.
    return ComposeDateTime(DateOf(date) + count, TimeOf(date));
}

DateTime TVorlanDates::AddWeeks(std::int32_t count, DateTime date) const {
    return ComposeDateTime(DateOf(date) + 7.0 * count, TimeOf(date));
}

DateTime TVorlanDates::AddBusinessDays(std::int32_t count, DateTime date) const {
    return WholeDay(MoveByWeekdays(count, WholeDays(date)));
}

DateTime TVorlanDates::AddBusinessDays(std::int32_t count, DateTime date,
                                       const BusinessDayHolidays& holidays) const {
    std::int64_t day = WholeDays(date);
    std::int64_t remaining = count;
    if (remaining == 0 || holidays.Empty()) return WholeDay(MoveByWeekdays(remaining, day));
    // Each pass moves the weekdays still owed by the plain rule; the holidays it passed over (or
    // landed on) are owed once more. The passes cover stretches that do not overlap, so there are
    // at most as many as holidays in reach, plus one.
    for (;;) {
        const std::int64_t moved = MoveByWeekdays(remaining, day);
        const std::int64_t owed =
            remaining > 0 ? holidays.CountBetween(day + 1, moved) : holidays.CountBetween(moved, day - 1);
        if (owed == 0) return WholeDay(moved);
        day = moved;
        remaining = remaining > 0 ? owed : -owed;
    }
}

DateTime TVorlanDates::NextBusinessDay(DateTime date) const {
    DateTime day = WholeDay(WholeDays(date)) + 1;
    while (!IsBusinessDay(day))
        day += 1;
    return day;
}

DateTime TVorlanDates::PreviousBusinessDay(DateTime date) const {
    DateTime day = WholeDay(WholeDays(date)) - 1;
    while (!IsBusinessDay(day))
        day -= 1;
    return day;
}

bool TVorlanDates::IsBusinessDay(DateTime date) const {
    const int weekday = DayOfWeek(date);
    return weekday != 1 && weekday != 7;
}

bool TVorlanDates::IsBusinessDay(DateTime date, const BusinessDayHolidays& holidays) const {
    return IsBusinessDay(date) && !holidays.Contains(WholeDays(date));
}

std::int64_t TVorlanDates::BusinessDaysBetween(DateTime start, DateTime end) const {
    const std::int64_t first = WholeDays(start), last = WholeDays(end);
    if (last >= first) return WeekdaysThrough(last) - WeekdaysThrough(first);
    return -(WeekdaysThrough(first - 1) - WeekdaysThrough(last - 1));
}

std::int64_t TVorlanDates::BusinessDaysBetween(DateTime start, DateTime end,
                                               const BusinessDayHolidays& holidays) const {
    const std::int64_t first = WholeDays(start), last = WholeDays(end);
    const std::int64_t weekdays = BusinessDaysBetween(start, end);
    if (last >= first) return weekdays - holidays.CountBetween(first + 1, last);
    return weekdays + holidays.CountBetween(last, first - 1);
}

DateTime TVorlanDates::AddMonths(std::int32_t count, DateTime date) const {
    return AddMonthsWide(*this, count, date);
}

DateTime TVorlanDates::AddQuarters(std::int32_t count, DateTime date) const {
    return AddMonthsWide(*this, 3 * static_cast<std::int64_t>(count), date);
}

DateTime TVorlanDates::AddYears(std::int32_t count, DateTime date) const {
    const CivilDate civil = DecodeEncodableDate(date);
    const std::int64_t year = static_cast<std::int64_t>(civil.year) + count;
    if (year < 1 || year > 9999) throw Error(kInvalidDateEncode);
    const int length = DaysInMonth(static_cast<std::uint16_t>(civil.month), static_cast<std::uint16_t>(year));
    return EncodeDate(static_cast<int>(year), civil.month, civil.day > length ? length : civil.day);
}

std::uint16_t TVorlanDates::DaysInMonth(std::uint16_t month, std::uint16_t year) const {
    // A month outside 1..12 has no length; 0 makes every day number invalid for it.
    if (month < 1 || month > 12) return 0;
    const bool leapFebruary = month == 2 && IsGregorianLeap(year);
    return static_cast<std::uint16_t>(kMonthLengths[month - 1] + (leapFebruary ? 1 : 0));
}

bool TVorlanDates::IsMonthName(std::string_view text) const {
    if (text.empty()) return false;
    const FormatSettings& settings = Settings();
    for (const std::string& name : settings.shortMonthNames)
        if (SameTextIgnoringCase(text, name)) return true;
    for (const std::string& name : settings.longMonthNames)
        if (SameTextIgnoringCase(text, name)) return true;
    return false;
}

TDateOrder TVorlanDates::ShortDateOrder() const { return DateOrderOf(Settings().shortDateFormat); }

std::uint16_t TVorlanDates::ExpandYear(std::uint16_t year) const {
    if (year >= 100) return year;
    return static_cast<std::uint16_t>(year + (year <= kTwoDigitYearPivot ? 2000 : 1900));
}

std::string TVorlanDates::OrdinalSuffix(int day) const {
    switch (day) {
    case 1:
    case 21:
    case 31:
        return "st";
    case 2:
    case 22:
        return "nd";
    case 3:
    case 23:
        return "rd";
    default:
        return "th";
    }
}

std::uint16_t TVorlanDates::WeekOfYear(DateTime date) const {
    const std::int64_t whole = WholeDays(date);
    if (whole < kFirstEncodableSerial || whole > kLastEncodableSerial) return 1;
    // Weeks begin on Sunday and week 1 begins on 1 January. The count of days walks up to the
    // first midnight not before the date, so a time after midnight counts as the next day.
    const std::int64_t dayCounted = whole + (TimeOf(date) > 0 ? 1 : 0);
    const std::int64_t firstOfJanuary = DaysFromCivil(DecodeDate(date).year, 1, 1);
    const std::int64_t januaryPosition = DayOfWeek(WholeDay(firstOfJanuary)) - 1; // 0 = Sunday .. 6
    const std::int64_t daysAfterJanuary = dayCounted - firstOfJanuary;            // 0..366
    return static_cast<std::uint16_t>(1 + (januaryPosition + daysAfterJanuary) / 7);
}

std::string TVorlanDates::FormatDate(std::string_view format, DateTime date) const {
    std::string rewritten;
    rewritten.reserve(format.size() + 8);
    bool quoted = false;
    for (const char c : format) {
        if (c == '\'') {
            quoted = !quoted;
            rewritten += c;
        } else if (!quoted && c == 'W') {
            rewritten += std::to_string(WeekOfYear(date));
        } else if (!quoted && c == 'Z') {
            rewritten += '\'';
            rewritten += OrdinalSuffix(DecodeDate(date).day);
            rewritten += '\'';
        } else {
            rewritten += c;
        }
    }
    return FormatDateTime(rewritten, date, Settings());
}

std::string TVorlanDates::FormatDateLongYear(DateTime date) const {
    std::string format = UpperCase(Settings().shortDateFormat);
    // Widen the first run of Y to four letters where it stands. Where the year ends the format
    // this is the same as appending; where it sits in the middle, appending would leave a
    // mangled date that the short-date parser cannot read back.
    if (format.find("YYYY") == std::string::npos) {
        for (const std::size_t length : {3U, 2U, 1U}) {
            const std::size_t at = format.find(std::string(length, 'Y'));
            if (at != std::string::npos) {
                format.insert(at, 4 - length, 'Y');
                break;
            }
        }
    }
    return FormatDate(format, date);
}

BusinessDayHolidays::BusinessDayHolidays(std::vector<std::int64_t> days) : days_(std::move(days)) {
    std::erase_if(days_, [](std::int64_t day) {
        const std::int64_t weekday = FloorMod(day - kSerialOfAMonday, 7);
        return weekday >= 5;
    });
    std::sort(days_.begin(), days_.end());
    days_.erase(std::unique(days_.begin(), days_.end()), days_.end());
}

bool BusinessDayHolidays::Contains(std::int64_t day) const {
    return std::binary_search(days_.begin(), days_.end(), day);
}

std::int64_t BusinessDayHolidays::CountBetween(std::int64_t first, std::int64_t last) const {
    if (last < first) return 0;
    const auto from = std::lower_bound(days_.begin(), days_.end(), first);
    return std::upper_bound(from, days_.end(), last) - from;
}

const TVorlanDates& SharedVorlanDates() {
    static const TVorlanDates shared;
    return shared;
}

DateTime AddToDate(std::string_view unit, std::int32_t count, DateTime date) {
    return SharedVorlanDates().AddToDate(unit, count, date);
}

DateTime AddToDate(std::string_view unit, std::int32_t count, DateTime date,
                   const BusinessDayHolidays& holidays) {
    return SharedVorlanDates().AddToDate(unit, count, date, holidays);
}

DateTime AddMonths(std::int32_t count, DateTime date) { return SharedVorlanDates().AddMonths(count, date); }

DateTime AddYears(std::int32_t count, DateTime date) { return SharedVorlanDates().AddYears(count, date); }

std::uint16_t DaysInMonth(std::uint16_t month, std::uint16_t year) {
    return SharedVorlanDates().DaysInMonth(month, year);
}

std::uint16_t ExpandYear(std::uint16_t year) { return SharedVorlanDates().ExpandYear(year); }

TDateOrder ShortDateOrder() { return SharedVorlanDates().ShortDateOrder(); }

bool IsMonthName(std::string_view text) { return SharedVorlanDates().IsMonthName(text); }

std::string FormatDateLongYear(DateTime date) { return SharedVorlanDates().FormatDateLongYear(date); }

} // namespace kalendo
