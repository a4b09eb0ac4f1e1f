#include "dates/VorlanDates.h"

#include "dates/DateEnvironment.h"
#include "dates/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kalendo {
namespace {

const FormatSettings kUk = UnitedKingdomSettings();
const TVorlanDates kDates(kUk);

DateTime At(int y, int m, int d, int h = 0, int mi = 0) {
    return ComposeDateTime(EncodeDate(y, m, d), EncodeTime(h, mi, 0));
}

// The business-day rule as it reads: step one day at a time, skipping Saturdays and Sundays.
bool IsWeekend(DateTime day) { return DayOfWeek(day) == 1 || DayOfWeek(day) == 7; }
DateTime LiteralNextBusinessDay(DateTime day) {
    day += 1;
    while (IsWeekend(day))
        day += 1;
    return day;
}
DateTime LiteralPreviousBusinessDay(DateTime day) {
    day -= 1;
    while (IsWeekend(day))
        day -= 1;
    return day;
}

TEST(VorlanDates, addBusinessDays_matchesTheDayByDayRuleForEveryStartAndCount) {
    // Five weeks after 2026 and five weeks of negative serials before 30 December 1899, each start
    // at noon: the time of day is dropped.
    for (const DateTime windowStart : {EncodeDate(2026, 11, 2), EncodeDate(1899, 11, 20)}) {
        for (int offset = 0; offset < 35; ++offset) {
            const DateTime start = windowStart + offset;
            const DateTime startAtNoon = ComposeDateTime(start, 0.5);
            DateTime forward = start;
            DateTime backward = start;
            ASSERT_EQ(kDates.AddBusinessDays(0, startAtNoon), start);
            for (int count = 1; count <= 1000; ++count) {
                forward = LiteralNextBusinessDay(forward);
                backward = LiteralPreviousBusinessDay(backward);
                ASSERT_EQ(kDates.AddBusinessDays(count, startAtNoon), forward) << start << " +" << count;
                ASSERT_EQ(kDates.AddBusinessDays(-count, startAtNoon), backward) << start << " -" << count;
            }
        }
    }
    EXPECT_FALSE(std::signbit(kDates.AddBusinessDays(0, -0.75))) << "no negative zero";
}

TEST(VorlanDates, addToDate_unitsAndEdgeCases) {
    struct Row {
        const char* meaning;
        const char* unit;
        int count;
        DateTime from;
        DateTime expected;
    };
    const DateTime saturday = EncodeDate(2026, 12, 5);
    const DateTime sunday3pm = At(2026, 12, 6, 15);
    const DateTime monday = EncodeDate(2026, 12, 7);
    // clang-format off
    const Row rows[] = {
        {"b from a Saturday gives Monday", "b", 1, saturday, monday},
        {"-1 B from a Saturday gives Friday", "B", -1, saturday, EncodeDate(2026, 12, 4)},
        {"0 B on a Sunday afternoon gives its midnight", "B", 0, sunday3pm, EncodeDate(2026, 12, 6)},
        {"-1 B from a Monday gives Friday", "B", -1, monday, EncodeDate(2026, 12, 4)},
        {"+5 B gives the same weekday", "B", 5, EncodeDate(2026, 12, 9), EncodeDate(2026, 12, 16)},
        {"-3 D keeps the time of day", "D", -3, sunday3pm, At(2026, 12, 3, 15)},
        {"2 W keep the time of day", "w", 2, sunday3pm, At(2026, 12, 20, 15)},
        {"0 M keeps the time of day", "M", 0, sunday3pm, sunday3pm},
        {"0 Y drops the time of day", "Y", 0, sunday3pm, EncodeDate(2026, 12, 6)},
        {"1 M drops the time of day", "m", 1, sunday3pm, EncodeDate(2027, 1, 6)},
        {"31 Jan 2023 + 1 M", "M", 1, EncodeDate(2023, 1, 31), EncodeDate(2023, 2, 28)},
        {"31 Jan 2024 + 1 M", "M", 1, EncodeDate(2024, 1, 31), EncodeDate(2024, 2, 29)},
        {"31 Mar 2023 - 1 M", "M", -1, EncodeDate(2023, 3, 31), EncodeDate(2023, 2, 28)},
        {"+14 M carries a year", "M", 14, EncodeDate(2026, 11, 15), EncodeDate(2028, 1, 15)},
        {"-13 M borrows a year", "M", -13, EncodeDate(2026, 1, 15), EncodeDate(2024, 12, 15)},
        {"+12 M is a year", "M", 12, EncodeDate(2026, 12, 15), EncodeDate(2027, 12, 15)},
        {"29 Feb 2024 + 1 Y", "Y", 1, EncodeDate(2024, 2, 29), EncodeDate(2025, 2, 28)},
        {"31 May 2026 - 1 Q", "q", -1, EncodeDate(2026, 5, 31), EncodeDate(2026, 2, 28)},
        {"31 Aug 2023 + 2 Q", "Q", 2, EncodeDate(2023, 8, 31), EncodeDate(2024, 2, 29)},
        {"an unknown letter gives zero", "X", 5, monday, 0.0},
        {"a whole word gives zero", "DAYS", 5, monday, 0.0},
        {"an empty unit gives zero", "", 5, monday, 0.0},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(kDates.AddToDate(row.unit, row.count, row.from), row.expected) << row.meaning;
}

TEST(VorlanDates, addDaysAndWeeks_keepTheTimeOfDayAcrossTheZeroOfTheSerials) {
    EXPECT_DOUBLE_EQ(kDates.AddDays(-2, At(1899, 12, 31, 6)), At(1899, 12, 29, 6));
    EXPECT_DOUBLE_EQ(kDates.AddDays(3, At(1899, 12, 28, 18)), At(1899, 12, 31, 18));
    EXPECT_DOUBLE_EQ(kDates.AddDays(1, At(1899, 12, 29, 6)), At(1899, 12, 30, 6));
    EXPECT_DOUBLE_EQ(kDates.AddWeeks(-1, At(1900, 1, 3, 6)), At(1899, 12, 27, 6));
    EXPECT_DOUBLE_EQ(kDates.AddWeeks(1, At(1899, 12, 27, 18)), At(1900, 1, 3, 18));
}

TEST(VorlanDates, nextAndPreviousBusinessDayAreStrict) {
    EXPECT_EQ(kDates.NextBusinessDay(At(2026, 12, 4, 9)), EncodeDate(2026, 12, 7));
    EXPECT_EQ(kDates.PreviousBusinessDay(EncodeDate(2026, 12, 4)), EncodeDate(2026, 12, 3));
    EXPECT_EQ(kDates.PreviousBusinessDay(EncodeDate(2026, 12, 6)), EncodeDate(2026, 12, 4));
}

TEST(VorlanDates, monthAndYearMovesOutsideYears1To9999RaiseTheEncoderError) {
    const DateTime late = EncodeDate(9999, 12, 1);
    const DateTime early = EncodeDate(1, 1, 31);
    try {
        kDates.AddMonths(1, late);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), kInvalidDateEncode);
    }
    EXPECT_THROW(kDates.AddQuarters(1, late), Error);
    EXPECT_THROW(kDates.AddYears(1, late), Error);
    EXPECT_THROW(kDates.AddMonths(-1, early), Error);
    EXPECT_THROW(kDates.AddYears(-1, early), Error);
    EXPECT_THROW(kDates.AddYears(65535, early), Error) << "no wrap-around of a 16-bit year";
    EXPECT_THROW(kDates.AddMonths(INT32_MAX, early), Error);
    EXPECT_THROW(kDates.AddQuarters(INT32_MIN, late), Error) << "three times the count does not overflow";
    EXPECT_EQ(kDates.AddMonths(-1, EncodeDate(1, 2, 28)), EncodeDate(1, 1, 28));
    EXPECT_THROW(kDates.AddMonths(1, 4e6), Error) << "a serial beyond year 9999 cannot be split";
    EXPECT_THROW(kDates.AddYears(0, std::nan("")), Error);
}

TEST(VorlanDates, daysInMonthFollowsTheGregorianLeapRule) {
    for (std::uint16_t year = 1; year <= 9999; ++year)
        for (std::uint16_t month = 1; month <= 12; ++month)
            ASSERT_EQ(kDates.DaysInMonth(month, year), MonthDays(year, month)) << year << "-" << month;
    EXPECT_EQ(kDates.DaysInMonth(0, 2026), 0) << "no month 0";
    EXPECT_EQ(kDates.DaysInMonth(13, 2026), 0) << "no month 13";
}

TEST(VorlanDates, expandYearPivotsAt29) {
    EXPECT_EQ(kDates.ExpandYear(0), 2000);
    EXPECT_EQ(kDates.ExpandYear(29), 2029);
    EXPECT_EQ(kDates.ExpandYear(30), 1930);
    EXPECT_EQ(kDates.ExpandYear(99), 1999);
    EXPECT_EQ(kDates.ExpandYear(100), 100);
    EXPECT_EQ(kDates.ExpandYear(2026), 2026);
}

TEST(VorlanDates, ordinalSuffixes) {
    const char* expected[32] = {"th", "st", "nd", "rd", "th", "th", "th", "th", "th", "th", "th",
                                "th", "th", "th", "th", "th", "th", "th", "th", "th", "th", "st",
                                "nd", "rd", "th", "th", "th", "th", "th", "th", "th", "st"};
    for (int day = 1; day <= 31; ++day)
        EXPECT_EQ(kDates.OrdinalSuffix(day), expected[day]) << day;
    EXPECT_EQ(kDates.OrdinalSuffix(41), "th");
}

TEST(VorlanDates, monthNamesMatchShortAndLongIgnoringCase) {
    for (const char* name : {"jan", "JANUARY", "Sep", "september", "May", "dec"})
        EXPECT_TRUE(kDates.IsMonthName(name)) << name;
    for (const char* other : {"", "Janu", "Sept", "Monday", "13", "January "})
        EXPECT_FALSE(kDates.IsMonthName(other)) << other;
}

// The week rule as it reads: walk from 1 January, a new week at every Sunday.
int LiteralWeekOfYear(DateTime date) {
    DateTime day = EncodeDate(DecodeDate(date).year, 1, 1);
    int week = 1;
    int position = DayOfWeek(day);
    while (day < date) {
        day += 1;
        if (++position == 8) {
            position = 1;
            ++week;
        }
    }
    return week;
}

TEST(VorlanDates, weekOfYearMatchesTheWalkFromFirstJanuary) {
    for (int serial = static_cast<int>(EncodeDate(1990, 1, 1)); serial <= EncodeDate(2030, 12, 31);
         ++serial) {
        ASSERT_EQ(kDates.WeekOfYear(serial), LiteralWeekOfYear(serial)) << serial;
        ASSERT_EQ(kDates.WeekOfYear(serial + 0.5), LiteralWeekOfYear(serial + 0.5)) << serial;
    }
}

TEST(VorlanDates, weekOfYearEdgeCases) {
    EXPECT_EQ(kDates.WeekOfYear(EncodeDate(2026, 1, 1)), 1);
    EXPECT_EQ(kDates.WeekOfYear(EncodeDate(2026, 1, 3)), 1) << "first Saturday";
    EXPECT_EQ(kDates.WeekOfYear(EncodeDate(2026, 1, 4)), 2) << "first Sunday after 1 January (a Thursday)";
    EXPECT_EQ(kDates.WeekOfYear(EncodeDate(2023, 1, 7)), 1) << "2023 began on a Sunday";
    EXPECT_EQ(kDates.WeekOfYear(EncodeDate(2023, 1, 8)), 2);
    EXPECT_EQ(kDates.WeekOfYear(EncodeDate(2000, 12, 31)), 54) << "leap year beginning on a Saturday";
    EXPECT_EQ(kDates.WeekOfYear(At(2026, 1, 3, 15)), 2) << "Saturday afternoon counts as Sunday";
    EXPECT_EQ(kDates.WeekOfYear(At(1899, 1, 7, 15)), 2)
        << "the same before 1900 (7 January 1899 was a Saturday)";
}

TEST(VorlanDates, formatDateRewritesWAndZOutsideSingleQuotes) {
    struct Row {
        const char* meaning;
        const char* format;
        DateTime date;
        const char* expected;
    };
    const Row rows[] = {
        {"ordinal 21st", "dZ mmmm yyyy", EncodeDate(2026, 3, 21), "21st March 2026"},
        {"ordinal 12th", "dZ mmmm yyyy", EncodeDate(2026, 3, 12), "12th March 2026"},
        {"ordinal 2nd", "dZ", EncodeDate(2026, 3, 2), "2nd"},
        {"week number", "'Week' W", EncodeDate(2026, 1, 4), "Week 2"},
        {"week number of a late date", "W", EncodeDate(2000, 12, 31), "54"},
        {"single quotes protect W and Z", "'WZ' d", EncodeDate(2026, 3, 21), "WZ 21"},
        {"double quotes do not protect W", "\"no. W\"", EncodeDate(2026, 1, 4), "no. 2"},
        {"lower-case w and z are copied", "w z", EncodeDate(2026, 3, 21), "w z"},
        {"plain letters go to the standard formatter", "dddd d mmmm yyyy", EncodeDate(2026, 12, 7),
         "Monday 7 December 2026"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(kDates.FormatDate(row.format, row.date), row.expected) << row.meaning;
}

TEST(VorlanDates, formatDateLongYearWidensTheLocaleYear) {
    struct Row {
        const char* meaning;
        const char* shortFormat;
        const char* separator;
        const char* expected;
    };
    const Row rows[] = {
        {"two-digit year at the end", "dd/MM/yy", "/", "07/12/2026"},
        {"two-digit year first", "yy/MM/dd", "/", "2026/12/07"},
        {"one y at the end", "M/d/y", "/", "12/7/2026"},
        {"one y first", "y-M-d", "-", "2026-12-7"},
        {"three y first", "yyy.MM.dd", ".", "2026.12.07"},
        {"four y stays", "dd/mm/yyyy", "/", "07/12/2026"},
        {"year in the middle is widened in place", "MM/yy/dd", "/", "12/2026/07"},
        {"no year at all", "dd/MM", "/", "07/12"},
        {"a z in the locale format acts as Z", "dz/MM/yyyy", "/", "7th/12/2026"},
    };
    for (const Row& row : rows) {
        FormatSettings settings = kUk;
        settings.shortDateFormat = row.shortFormat;
        settings.dateSeparator = row.separator;
        EXPECT_EQ(TVorlanDates(settings).FormatDateLongYear(EncodeDate(2026, 12, 7)), row.expected)
            << row.meaning;
    }
}

TEST(VorlanDates, freeFunctionsFollowTheCurrentLocale) {
    const DateTime date = EncodeDate(2026, 12, 7);
    {
        ScopedDateEnvironment us(UnitedStatesSettings(), nullptr);
        EXPECT_EQ(FormatDateLongYear(date), "12/7/2026");
        EXPECT_EQ(ShortDateOrder(), doMonthDayYear);
    }
    ScopedDateEnvironment uk(UnitedKingdomSettings(), nullptr);
    EXPECT_EQ(FormatDateLongYear(date), "07/12/2026");
    EXPECT_EQ(ShortDateOrder(), doDayMonthYear);
    EXPECT_EQ(&SharedVorlanDates(), &SharedVorlanDates());
    EXPECT_EQ(AddToDate("B", 1, EncodeDate(2026, 12, 5)), date);
    EXPECT_EQ(AddMonths(1, EncodeDate(2024, 1, 31)), EncodeDate(2024, 2, 29));
    EXPECT_EQ(AddYears(-1, EncodeDate(2024, 2, 29)), EncodeDate(2023, 2, 28));
    EXPECT_EQ(DaysInMonth(2, 2024), 29);
    EXPECT_EQ(ExpandYear(5), 2005);
    EXPECT_TRUE(IsMonthName("Dec"));
}

// Holidays for the business-day tests: a fixed pseudo-random third of the days of a window,
// weekends included, and a run of twelve days in a row, so that moves cross single holidays,
// clusters and holidays on the start or the landing day.
std::vector<std::int64_t> ScatteredHolidays(DateTime first, int days) {
    std::vector<std::int64_t> holidays;
    std::uint32_t state = 2026;
    for (int offset = 0; offset < days; ++offset) {
        state = state * 1103515245U + 12345U;
        if ((state >> 16) % 3 == 0) holidays.push_back(static_cast<std::int64_t>(first) + offset);
    }
    for (int offset = 40; offset < 52; ++offset)
        holidays.push_back(static_cast<std::int64_t>(first) + offset);
    return holidays;
}

// The rule as it reads, with holidays: step a day at a time over weekends and holidays.
bool IsLiteralBusinessDay(DateTime day, const std::vector<std::int64_t>& holidays) {
    return !IsWeekend(day) &&
           std::find(holidays.begin(), holidays.end(), static_cast<std::int64_t>(day)) == holidays.end();
}
DateTime LiteralBusinessDayMove(std::int64_t count, DateTime day, const std::vector<std::int64_t>& holidays) {
    day = DateOf(day);
    for (std::int64_t step = 0; step < (count < 0 ? -count : count); ++step) {
        do
            day += count > 0 ? 1 : -1;
        while (!IsLiteralBusinessDay(day, holidays));
    }
    return day;
}

TEST(VorlanDates, businessDayHolidays_keepWeekdaysOnlySortedOnce) {
    // 2026-12-05 is a Saturday.
    const auto serial = [](int y, int m, int d) { return static_cast<std::int64_t>(EncodeDate(y, m, d)); };
    const BusinessDayHolidays holidays({serial(2026, 12, 25), serial(2026, 12, 5), serial(2026, 1, 1),
                                        serial(2026, 12, 25), serial(2026, 12, 6)});
    EXPECT_EQ(holidays.Days(), (std::vector<std::int64_t>{serial(2026, 1, 1), serial(2026, 12, 25)}));
    EXPECT_TRUE(holidays.Contains(serial(2026, 1, 1)));
    EXPECT_FALSE(holidays.Contains(serial(2026, 12, 5)));
    EXPECT_EQ(holidays.CountBetween(serial(2026, 1, 1), serial(2026, 12, 25)), 2);
    EXPECT_EQ(holidays.CountBetween(serial(2026, 1, 2), serial(2026, 12, 24)), 0);
    EXPECT_EQ(holidays.CountBetween(serial(2026, 12, 25), serial(2026, 1, 1)), 0) << "an empty range";
    EXPECT_TRUE(BusinessDayHolidays().Empty());
}

TEST(VorlanDates, addBusinessDaysWithHolidays_matchesTheDayByDayRule) {
    // Holidays over 150 days from Monday 2 November 2026; starts from two weeks before them to two
    // weeks after, at noon, and every count that reaches across them both ways.
    const DateTime first = EncodeDate(2026, 11, 2);
    const std::vector<std::int64_t> listed = ScatteredHolidays(first, 150);
    const BusinessDayHolidays holidays(listed);
    for (int offset = -14; offset < 164; ++offset) {
        const DateTime start = first + offset;
        const DateTime startAtNoon = ComposeDateTime(start, 0.5);
        ASSERT_EQ(kDates.AddBusinessDays(0, startAtNoon, holidays), start) << "0 keeps even a holiday";
        DateTime forward = start, backward = start;
        for (int count = 1; count <= 130; ++count) {
            do
                forward += 1;
            while (!IsLiteralBusinessDay(forward, listed));
            do
                backward -= 1;
            while (!IsLiteralBusinessDay(backward, listed));
            ASSERT_EQ(kDates.AddBusinessDays(count, startAtNoon, holidays), forward)
                << start << " +" << count;
            ASSERT_EQ(kDates.AddBusinessDays(-count, startAtNoon, holidays), backward)
                << start << " -" << count;
        }
    }
}

TEST(VorlanDates, addBusinessDaysWithHolidays_isRightFor99999BothWays) {
    // Sparse holidays over more than a century, as the named-dates table gives them.
    std::vector<std::int64_t> listed;
    for (int year = 1990; year <= 2100; ++year)
        for (const int month : {1, 4, 5, 8, 12})
            listed.push_back(static_cast<std::int64_t>(EncodeDate(year, month, month == 12 ? 25 : 1)));
    const BusinessDayHolidays holidays(listed);
    for (const DateTime start :
         {EncodeDate(1989, 12, 29), EncodeDate(2026, 12, 24), EncodeDate(2100, 12, 31)}) {
        for (const std::int32_t count : {99999, -99999, 1, -1}) {
            const DateTime moved = kDates.AddBusinessDays(count, start, holidays);
            ASSERT_EQ(moved, LiteralBusinessDayMove(count, start, listed)) << start << " " << count;
            ASSERT_EQ(kDates.BusinessDaysBetween(start, moved, holidays), count);
        }
    }
}

TEST(VorlanDates, addToDateWithHolidays_skipsThemForBusinessDaysOnly) {
    // Friday 25 December 2026 and Monday 28 December 2026 off.
    const BusinessDayHolidays holidays({static_cast<std::int64_t>(EncodeDate(2026, 12, 25)),
                                        static_cast<std::int64_t>(EncodeDate(2026, 12, 28))});
    const DateTime thursday = EncodeDate(2026, 12, 24);
    EXPECT_EQ(kDates.AddToDate("B", 1, thursday, holidays), EncodeDate(2026, 12, 29));
    EXPECT_EQ(kDates.AddToDate("b", -1, EncodeDate(2026, 12, 29), holidays), thursday);
    EXPECT_EQ(kDates.AddToDate("D", 1, thursday, holidays), EncodeDate(2026, 12, 25));
    EXPECT_EQ(kDates.AddToDate("W", 1, thursday, holidays), EncodeDate(2026, 12, 31));
    EXPECT_EQ(kDates.AddToDate("X", 1, thursday, holidays), 0.0);
    EXPECT_EQ(AddToDate("B", 1, thursday, holidays), EncodeDate(2026, 12, 29));
    EXPECT_FALSE(kDates.IsBusinessDay(EncodeDate(2026, 12, 25), holidays));
    EXPECT_TRUE(kDates.IsBusinessDay(thursday, holidays));
    EXPECT_FALSE(kDates.IsBusinessDay(EncodeDate(2026, 12, 26), holidays)) << "a Saturday stays one";
}

TEST(VorlanDates, businessDaysBetween_matchesTheDayByDayCountAndUndoesTheMove) {
    const DateTime first = EncodeDate(2026, 11, 2);
    const std::vector<std::int64_t> listed = ScatteredHolidays(first, 80);
    const BusinessDayHolidays holidays(listed);
    const BusinessDayHolidays none;
    for (int a = -10; a < 90; ++a) {
        for (int b = -10; b < 90; ++b) {
            const DateTime start = first + a, end = first + b;
            // The days after start up to end, or minus those from end up to before start.
            std::int64_t weekdays = 0, businessDays = 0;
            for (DateTime day = std::min(start, end) + (end >= start ? 1 : 0);
                 day <= std::max(start, end) - (end >= start ? 0 : 1); day += 1) {
                weekdays += IsWeekend(day) ? 0 : 1;
                businessDays += IsLiteralBusinessDay(day, listed) ? 1 : 0;
            }
            const int sign = end >= start ? 1 : -1;
            ASSERT_EQ(kDates.BusinessDaysBetween(start + 0.25, end + 0.75), sign * weekdays) << a << " " << b;
            ASSERT_EQ(kDates.BusinessDaysBetween(start, end, holidays), sign * businessDays) << a << " " << b;
            ASSERT_EQ(kDates.BusinessDaysBetween(start, end, none), sign * weekdays);
        }
        for (int count = -60; count <= 60; ++count) {
            const DateTime start = first + a;
            ASSERT_EQ(
                kDates.BusinessDaysBetween(start, kDates.AddBusinessDays(count, start, holidays), holidays),
                count)
                << a << " " << count;
            ASSERT_EQ(kDates.BusinessDaysBetween(start, kDates.AddBusinessDays(count, start)), count);
        }
    }
    // The whole calendar: 65169 whole weeks and four days, three of them weekdays.
    EXPECT_EQ(kDates.BusinessDaysBetween(EncodeDate(1752, 1, 1), EncodeDate(3000, 12, 31)), 325848);
}

} // namespace
} // namespace kalendo
