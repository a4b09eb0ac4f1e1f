#include "dates/DateTime.h"
#include "dates/Error.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kalendo {
namespace {

TEST(DateTime, knownSerials) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1752, 1, 1), kSerialOf1Jan1752);
    EXPECT_EQ(EncodeDate(3000, 12, 31), kSerialOf31Dec3000);
    EXPECT_EQ(EncodeDate(2005, 9, 16), 38611.0);
}

TEST(DateTime, encodeRejectsImpossibleDatesWithTheEncoderMessage) {
    struct Row {
        const char* name;
        int y, m, d;
    };
    const Row rows[] = {
        {"29 February 1900 (not a leap year)", 1900, 2, 29},
        {"31 April", 2026, 4, 31},
        {"month 13", 2026, 13, 1},
        {"day 0", 2026, 1, 0},
        {"year 0", 0, 1, 1},
        {"year 10000", 10000, 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            EncodeDate(row.y, row.m, row.d);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Invalid argument to date encode");
        }
    }
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29).has_value());
    EXPECT_TRUE(TryEncodeDate(9999, 12, 31).has_value());
    EXPECT_TRUE(TryEncodeDate(1, 1, 1).has_value());
}

TEST(DateTime, negativeSerialKeepsTimeOfDayAsAbsoluteFraction) {
    // -1.25 is 29 December 1899 at 06:00.
    EXPECT_EQ(DecodeDate(-1.25), (CivilDate{1899, 12, 29}));
    EXPECT_EQ(DecodeTime(-1.25), (TimeOfDay{6, 0, 0, 0}));
    EXPECT_EQ(ComposeDateTime(-1, 0.25), -1.25);
    EXPECT_EQ(ComposeDateTime(1, 0.25), 1.25);
    EXPECT_EQ(DateOf(-1.25), -1.0);
    EXPECT_EQ(TimeOf(-1.25), 0.25);
}

TEST(DateTime, everyDayFrom1752To3000RoundTripsAndStepsItsWeekday) {
    using namespace std::chrono;
    int expectedWeekday = DayOfWeek(kSerialOf1Jan1752);
    EXPECT_EQ(expectedWeekday, 7); // 1 January 1752 was a Saturday
    for (int serial = kSerialOf1Jan1752; serial <= kSerialOf31Dec3000; ++serial) {
        const CivilDate date = DecodeDate(serial);
        ASSERT_EQ(EncodeDate(date.year, date.month, date.day), serial);
        ASSERT_EQ(DayOfWeek(serial), expectedWeekday);
        // Independent check against chrono's weekday (0 = Sunday).
        const year_month_day ymd{year{date.year}, month(static_cast<unsigned>(date.month)),
                                 day(static_cast<unsigned>(date.day))};
        ASSERT_EQ(static_cast<int>(weekday{sys_days{ymd}}.c_encoding()) + 1, expectedWeekday);
        expectedWeekday = expectedWeekday % 7 + 1;
    }
}

TEST(DateTime, timeEncodesAndDecodesToTheMillisecond) {
    EXPECT_EQ(DecodeTime(EncodeTime(10, 30, 0)), (TimeOfDay{10, 30, 0, 0}));
    EXPECT_EQ(DecodeTime(EncodeTime(23, 59, 59, 999)), (TimeOfDay{23, 59, 59, 999}));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0).has_value());
    EXPECT_FALSE(TryEncodeTime(0, 60, 0).has_value());
}

TEST(DateTime, leapYearsFollowTheGregorianRule) {
    EXPECT_FALSE(IsLeapYear(1800));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_TRUE(IsLeapYear(2400));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(MonthDays(2024, 2), 29);
    EXPECT_EQ(MonthDays(2023, 2), 28);
    EXPECT_EQ(MonthDays(2023, 12), 31);
}

} // namespace
} // namespace kalendo
