#include "dates/DateTime.h"

#include "dates/Error.h"

#include <chrono>
#include <cmath>

namespace kalendo {

namespace {

using namespace std::chrono;

// 30 December 1899, the zero of DateTime, as days since the Unix epoch.
constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};

constexpr double kMsecPerDay = 86'400'000.0;

} // namespace

bool IsLeapYear(int y) { return year{y}.is_leap(); }

int MonthDays(int y, int m) {
    return static_cast<int>(unsigned{(year{y} / month(static_cast<unsigned>(m)) / last).day()});
}

bool IsValidDate(int y, int m, int d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    return d <= MonthDays(y, m);
}

std::int64_t DaysFromCivil(int y, int m, int d) {
    const sys_days days{year{y} / month(static_cast<unsigned>(m)) / day(static_cast<unsigned>(d))};
    return (days - kEpoch).count();
}

CivilDate CivilFromDays(std::int64_t serial) {
    const year_month_day ymd{kEpoch + days{serial}};
    return {int{ymd.year()}, static_cast<int>(unsigned{ymd.month()}), static_cast<int>(unsigned{ymd.day()})};
}

std::optional<DateTime> TryEncodeDate(int y, int m, int d) {
    if (!IsValidDate(y, m, d)) return std::nullopt;
    return static_cast<DateTime>(DaysFromCivil(y, m, d));
}

DateTime EncodeDate(int y, int m, int d) {
    if (auto value = TryEncodeDate(y, m, d)) return *value;
    throw Error(kInvalidDateEncode);
}

std::optional<DateTime> TryEncodeTime(int h, int mi, int s, int ms) {
    if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59 || ms < 0 || ms > 999) return std::nullopt;
    return ((h * 60.0 + mi) * 60.0 + s) * 1000.0 / kMsecPerDay + ms / kMsecPerDay;
}

DateTime EncodeTime(int h, int mi, int s, int ms) {
    if (auto value = TryEncodeTime(h, mi, s, ms)) return *value;
    throw Error(kInvalidDateEncode);
}

DateTime DateOf(DateTime value) { return std::trunc(value); }

DateTime TimeOf(DateTime value) { return std::fabs(value - std::trunc(value)); }

DateTime ComposeDateTime(DateTime date, DateTime time) {
    const DateTime whole = std::trunc(date);
    const DateTime fraction = std::fabs(time - std::trunc(time));
    return whole < 0 ? whole - fraction : whole + fraction;
}

CivilDate DecodeDate(DateTime value) {
    // Serials far outside any calendar are clamped so the conversion never overflows.
    double whole = std::trunc(value);
    if (!(whole > -1e9)) whole = -1e9;
    if (whole > 1e9) whole = 1e9;
    return CivilFromDays(static_cast<std::int64_t>(whole));
}

TimeOfDay DecodeTime(DateTime value) {
    // Round to the millisecond so 10:30 encoded as a fraction reads back as 10:30:00.000.
    auto ms = static_cast<std::int64_t>(std::llround(TimeOf(value) * kMsecPerDay));
    if (ms >= static_cast<std::int64_t>(kMsecPerDay)) ms = static_cast<std::int64_t>(kMsecPerDay) - 1;
    TimeOfDay t;
    t.msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.second = static_cast<int>(ms % 60);
    ms /= 60;
    t.minute = static_cast<int>(ms % 60);
    t.hour = static_cast<int>(ms / 60);
    return t;
}

int DayOfWeek(DateTime value) {
    // Serial 0 (30 December 1899) was a Saturday (7); 1 = Sunday.
    double whole = std::trunc(value);
    if (!(whole > -1e9)) whole = -1e9;
    if (whole > 1e9) whole = 1e9;
    const auto serial = static_cast<std::int64_t>(whole);
    const auto zeroBased = ((serial + 6) % 7 + 7) % 7; // 0 = Sunday .. 6 = Saturday
    return static_cast<int>(zeroBased) + 1;
}

} // namespace kalendo
