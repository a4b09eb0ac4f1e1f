#include "dates/VorlanDates.h"

#include "dates/DateEnvironment.h"
#include "dates/Error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

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
    // Five weeks after 2026 and five weeks of negative serials before 30 December 1899.
    for (const DateTime windowStart : {EncodeDate(2026, 11, 2), EncodeDate(1899, 11, 20)}) {
        for (int offset = 0; offset < 35; ++offset) {
            const DateTime start = windowStart + offset;
            DateTime forward = start;
            DateTime backward = start;
            ASSERT_EQ(kDates.AddBusinessDays(0, start), start);
            for (int count = 1; count <= 1000; ++count) {
                forward = LiteralNextBusinessDay(forward);
                backward = LiteralPreviousBusinessDay(backward);
                ASSERT_EQ(kDates.AddBusinessDays(count, start), forward) << start << " +" << count;
                ASSERT_EQ(kDates.AddBusinessDays(-count, start), backward) << start << " -" << count;
            }
        }
    }
}

TEST(VorlanDates, addBusinessDays_dropsTheTimeOfDayAlsoBefore1900) {
    const DateTime mondayNoon1899 = ComposeDateTime(EncodeDate(1899, 12, 18), 0.5);
    ASSERT_LT(mondayNoon1899, 0);
    EXPECT_EQ(kDates.AddBusinessDays(1, mondayNoon1899), EncodeDate(1899, 12, 19));
    EXPECT_EQ(kDates.AddBusinessDays(-1, mondayNoon1899), EncodeDate(1899, 12, 15));
    EXPECT_EQ(kDates.AddBusinessDays(0, mondayNoon1899), EncodeDate(1899, 12, 18));
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
    const Row rows[] = {
        {"lower-case b from a Saturday gives Monday", "b", 1, saturday, EncodeDate(2026, 12, 7)},
        {"-1 b from a Saturday gives Friday", "B", -1, saturday, EncodeDate(2026, 12, 4)},
        {"0 B on a Sunday afternoon gives that Sunday at midnight", "B", 0, sunday3pm,
         EncodeDate(2026, 12, 6)},
        {"-1 B from a Monday gives the Friday before", "B", -1, monday, EncodeDate(2026, 12, 4)},
        {"+1 B from a Friday gives the Monday after", "B", 1, EncodeDate(2026, 12, 4), monday},
        {"+5 B from a Wednesday gives the next Wednesday", "B", 5, EncodeDate(2026, 12, 9),
         EncodeDate(2026, 12, 16)},
        {"-3 D keeps the time of day", "D", -3, sunday3pm, At(2026, 12, 3, 15)},
        {"2 W keeps the time of day", "w", 2, sunday3pm, At(2026, 12, 20, 15)},
        {"0 M keeps the time of day", "M", 0, sunday3pm, sunday3pm},
        {"0 Y drops the time of day", "Y", 0, sunday3pm, EncodeDate(2026, 12, 6)},
        {"1 M drops the time of day", "m", 1, sunday3pm, EncodeDate(2027, 1, 6)},
        {"1 M from 31 January 2023 clamps to 28 February", "M", 1, EncodeDate(2023, 1, 31),
         EncodeDate(2023, 2, 28)},
        {"1 M from 31 January 2024 clamps to 29 February", "M", 1, EncodeDate(2024, 1, 31),
         EncodeDate(2024, 2, 29)},
        {"-1 M from 31 March 2023 clamps to 28 February", "M", -1, EncodeDate(2023, 3, 31),
         EncodeDate(2023, 2, 28)},
        {"14 M carries into the second year", "M", 14, EncodeDate(2026, 11, 15), EncodeDate(2028, 1, 15)},
        {"-13 M borrows from the second year", "M", -13, EncodeDate(2026, 1, 15), EncodeDate(2024, 12, 15)},
        {"12 M is exactly a year", "M", 12, EncodeDate(2026, 12, 15), EncodeDate(2027, 12, 15)},
        {"-12 M is exactly a year back", "M", -12, EncodeDate(2026, 1, 15), EncodeDate(2025, 1, 15)},
        {"1 M from December crosses the year", "M", 1, EncodeDate(2026, 12, 31), EncodeDate(2027, 1, 31)},
        {"1 Y from 29 February 2024 gives 28 February 2025", "Y", 1, EncodeDate(2024, 2, 29),
         EncodeDate(2025, 2, 28)},
        {"4 Y from 29 February 2024 keeps the 29th", "Y", 4, EncodeDate(2024, 2, 29),
         EncodeDate(2028, 2, 29)},
        {"-1 Q from 31 May 2026 gives 28 February 2026", "q", -1, EncodeDate(2026, 5, 31),
         EncodeDate(2026, 2, 28)},
        {"2 Q from 31 August 2023 gives 29 February 2024", "Q", 2, EncodeDate(2023, 8, 31),
         EncodeDate(2024, 2, 29)},
        {"2 Q from 31 August 2024 gives 28 February 2025", "Q", 2, EncodeDate(2024, 8, 31),
         EncodeDate(2025, 2, 28)},
        {"an unknown letter gives zero", "X", 5, monday, 0.0},
        {"a whole word gives zero", "DAYS", 5, monday, 0.0},
        {"an empty unit gives zero", "", 5, monday, 0.0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(kDates.AddToDate(row.unit, row.count, row.from), row.expected) << row.meaning;
}

TEST(VorlanDates, addDays_keepsTheTimeOfDayAcrossTheZeroOfTheSerials) {
    struct Row {
        const char* meaning;
        int count;
        DateTime from;
        DateTime expected;
    };
    const Row rows[] = {
        {"backwards across zero", -2, At(1899, 12, 31, 6), At(1899, 12, 29, 6)},
        {"forwards across zero", 3, At(1899, 12, 28, 18), At(1899, 12, 31, 18)},
        {"within negative serials", -10, At(1752, 9, 14, 12), At(1752, 9, 4, 12)},
        {"onto the zero day", 1, At(1899, 12, 29, 6), At(1899, 12, 30, 6)},
    };
    for (const Row& row : rows) {
        const DateTime result = kDates.AddDays(row.count, row.from);
        EXPECT_DOUBLE_EQ(result, row.expected) << row.meaning;
        EXPECT_EQ(DecodeTime(result), DecodeTime(row.from)) << row.meaning;
        const DateTime weeks = kDates.AddWeeks(row.count, row.from);
        EXPECT_EQ(DecodeTime(weeks), DecodeTime(row.from)) << row.meaning;
        EXPECT_EQ(DateOf(weeks), DateOf(kDates.AddDays(7 * row.count, row.from))) << row.meaning;
    }
}

TEST(VorlanDates, nextAndPreviousBusinessDayAreStrict) {
    const DateTime friday = EncodeDate(2026, 12, 4);
    EXPECT_EQ(kDates.NextBusinessDay(At(2026, 12, 4, 9)), EncodeDate(2026, 12, 7));
    EXPECT_EQ(kDates.PreviousBusinessDay(friday), EncodeDate(2026, 12, 3));
    EXPECT_EQ(kDates.PreviousBusinessDay(EncodeDate(2026, 12, 6)), friday);
    EXPECT_TRUE(kDates.IsBusinessDay(friday));
    EXPECT_FALSE(kDates.IsBusinessDay(friday + 1));
    EXPECT_FALSE(kDates.IsBusinessDay(friday + 2));
    EXPECT_TRUE(kDates.IsBusinessDay(friday + 3));
}

TEST(VorlanDates, monthAndYearMovesOutsideYears1To9999RaiseTheEncoderError) {
    const DateTime late = EncodeDate(9999, 12, 1);
    const DateTime early = EncodeDate(1, 1, 31);
    for (const auto& move : {+[](DateTime d) { return kDates.AddMonths(1, d); },
                             +[](DateTime d) { return kDates.AddQuarters(1, d); },
                             +[](DateTime d) { return kDates.AddYears(1, d); }}) {
        try {
            move(late);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), kInvalidDateEncode);
        }
    }
    EXPECT_THROW(kDates.AddMonths(-1, early), Error);
    EXPECT_THROW(kDates.AddYears(-1, early), Error);
    EXPECT_THROW(kDates.AddYears(65535, early), Error) << "no wrap-around of a 16-bit year";
    EXPECT_THROW(kDates.AddMonths(INT32_MAX, early), Error);
    EXPECT_THROW(kDates.AddQuarters(INT32_MIN, late), Error);
    EXPECT_EQ(kDates.AddMonths(-1, EncodeDate(1, 2, 28)), EncodeDate(1, 1, 28));
}

TEST(VorlanDates, daysInMonthFollowsTheGregorianLeapRule) {
    struct Row {
        const char* meaning;
        int month, year, expected;
    };
    const Row rows[] = {
        {"January", 1, 2026, 31},
        {"April", 4, 2026, 30},
        {"December", 12, 2026, 31},
        {"February of a common year", 2, 2023, 28},
        {"February of 2024", 2, 2024, 29},
        {"1900 is not a leap year", 2, 1900, 28},
        {"2000 is a leap year", 2, 2000, 29},
        {"1800 is not a leap year", 2, 1800, 28},
        {"2400 is a leap year", 2, 2400, 29},
        {"month 0 has no days", 0, 2026, 0},
        {"month 13 has no days", 13, 2026, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(
            kDates.DaysInMonth(static_cast<std::uint16_t>(row.month), static_cast<std::uint16_t>(row.year)),
            row.expected)
            << row.meaning;
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

TEST(VorlanDates, shortDateOrderFollowsTheLocaleFormat) {
    struct Row {
        const char* format;
        TDateOrder expected;
    };
    for (const Row& row : {Row{"dd/MM/yyyy", doDayMonthYear}, Row{"M/d/yyyy", doMonthDayYear},
                           Row{"yyyy-MM-dd", doYearMonthDay}, Row{"--", doMonthDayYear}}) {
        FormatSettings settings = kUk;
        settings.shortDateFormat = row.format;
        EXPECT_EQ(TVorlanDates(settings).ShortDateOrder(), row.expected) << row.format;
    }
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

TEST(VorlanDates, longYearTextReadsBackWithTheLocaleParser) {
    // The add/subtract panel parses this text back with the short-date parser.
    for (const FormatSettings& settings : {UnitedKingdomSettings(), UnitedStatesSettings()}) {
        const TVorlanDates dates(settings);
        for (int serial = kSerialOf1Jan1752; serial <= kSerialOf31Dec3000; serial += 97) {
            ASSERT_EQ(TryStrToDate(dates.FormatDateLongYear(serial), settings), serial) << serial;
        }
    }
}

} // namespace
} // namespace kalendo
