#include "span/DateSpan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kalendo {
namespace {

struct SpanRow {
    const char* meaning;
    CivilDate start, end;
    bool bothDates;
    const char* days;
    const char* weeks;
    const char* months;
    const char* years;
};

DateTime Serial(CivilDate d) { return EncodeDate(d.year, d.month, d.day); }

TEST(DateSpan, workedExamplesAndEdgeCases) {
    // One row per span, its four texts on the lines below it.
    // clang-format off
    const SpanRow rows[] = {
        {"a month less a day", {2024, 1, 15}, {2024, 2, 14}, false,
         "30 Days", "4 Weeks and 2 Days", "0 Months, 4 Weeks and 2 Days",
         "0 Years, 0 Months, 4 Weeks and 2 Days"},
        {"a month less a day counting both: the panels differ", {2024, 1, 15}, {2024, 2, 14}, true,
         "31 Days", "4 Weeks and 3 Days", "0 Months, 4 Weeks and 3 Days",
         "0 Years, 1 Months, 0 Weeks and 0 Days"},
        {"the borrow uses the start month's length", {2023, 1, 31}, {2023, 3, 1}, false,
         "29 Days", "4 Weeks and 1 Days", "1 Months, 0 Weeks and 1 Days",
         "0 Years, 1 Months, 0 Weeks and 1 Days"},
        {"from a leap day to the next 28 February", {2020, 2, 29}, {2021, 2, 28}, false,
         "365 Days", "52 Weeks and 1 Days", "11 Months, 4 Weeks and 0 Days",
         "0 Years, 11 Months, 4 Weeks and 0 Days"},
        {"from a leap day to the next 28 February counting both", {2020, 2, 29}, {2021, 2, 28}, true,
         "366 Days", "52 Weeks and 2 Days", "11 Months, 4 Weeks and 1 Days",
         "1 Years, 0 Months, 0 Weeks and 0 Days"},
        {"a whole leap year counting both", {2000, 1, 1}, {2000, 12, 31}, true,
         "366 Days", "52 Weeks and 2 Days", "11 Months, 4 Weeks and 3 Days",
         "0 Years, 11 Months, 4 Weeks and 3 Days"},
        {"equal dates", {2026, 12, 7}, {2026, 12, 7}, false,
         "0 Days", "0 Weeks and 0 Days", "0 Months, 0 Weeks and 0 Days",
         "0 Years, 0 Months, 0 Weeks and 0 Days"},
        {"equal dates counting both", {2026, 12, 7}, {2026, 12, 7}, true,
         "1 Days", "0 Weeks and 1 Days", "0 Months, 0 Weeks and 1 Days",
         "0 Years, 0 Months, 0 Weeks and 1 Days"},
        {"across the 1752 change with no gap", {1752, 9, 14}, {2026, 12, 7}, false,
         "100160 Days", "14308 Weeks and 4 Days", "3290 Months, 3 Weeks and 2 Days",
         "274 Years, 2 Months, 3 Weeks and 2 Days"},
        {"one day", {2026, 12, 7}, {2026, 12, 8}, false,
         "1 Days", "0 Weeks and 1 Days", "0 Months, 0 Weeks and 1 Days",
         "0 Years, 0 Months, 0 Weeks and 1 Days"},
        {"the whole range of the calendars", {1752, 1, 1}, {3000, 12, 31}, false,
         "456187 Days", "65169 Weeks and 4 Days", "14987 Months, 4 Weeks and 2 Days",
         "1248 Years, 11 Months, 4 Weeks and 2 Days"},
        {"month borrow across the year end", {2025, 12, 20}, {2026, 1, 5}, false,
         "16 Days", "2 Weeks and 2 Days", "0 Months, 2 Weeks and 2 Days",
         "0 Years, 0 Months, 2 Weeks and 2 Days"},
        {"both dates lift the Months days to 31", {2024, 1, 31}, {2024, 3, 30}, true,
         "60 Days", "8 Weeks and 4 Days", "1 Months, 4 Weeks and 3 Days",
         "0 Years, 2 Months, 0 Weeks and 0 Days"},
        {"a whole year", {2023, 3, 1}, {2024, 3, 1}, false,
         "366 Days", "52 Weeks and 2 Days", "12 Months, 0 Weeks and 0 Days",
         "1 Years, 0 Months, 0 Weeks and 0 Days"},
    };
    // clang-format on
    for (const SpanRow& row : rows) {
        const SpanTexts texts = ComputeSpan(Serial(row.start), Serial(row.end), row.bothDates);
        EXPECT_FALSE(texts.orderError) << row.meaning;
        EXPECT_EQ(texts.days, row.days) << row.meaning;
        EXPECT_EQ(texts.weeks, row.weeks) << row.meaning;
        EXPECT_EQ(texts.months, row.months) << row.meaning;
        EXPECT_EQ(texts.years, row.years) << row.meaning;
        EXPECT_EQ(FormatMonthsSpan(Serial(row.start), Serial(row.end), row.bothDates), row.months)
            << row.meaning;
        EXPECT_EQ(FormatYearsSpan(Serial(row.start), Serial(row.end), row.bothDates), row.years)
            << row.meaning;
    }
}

TEST(DateSpan, endBeforeStartGivesOnlyTheOrderError) {
    for (const bool bothDates : {false, true}) {
        const SpanTexts texts = ComputeSpan(EncodeDate(2026, 12, 8), EncodeDate(2026, 12, 7), bothDates);
        EXPECT_TRUE(texts.orderError);
        EXPECT_EQ(texts.years, "--- Date on Left must be before Date on Right ---");
        EXPECT_TRUE(texts.days.empty() && texts.weeks.empty() && texts.months.empty());
    }
}

TEST(DateSpan, spansBefore1900UseWholeDays) {
    // Negative serials: the whole part is taken toward zero, so a time of day does not shift the date.
    const DateTime start = ComposeDateTime(EncodeDate(1899, 12, 1), 0.75);
    const SpanTexts texts = ComputeSpan(start, EncodeDate(1899, 12, 29), false);
    EXPECT_EQ(texts.days, "28 Days");
    EXPECT_EQ(texts.years, "0 Years, 0 Months, 4 Weeks and 0 Days");
}

TEST(DateSpan, monthLengthsFollowTheGregorianRule) {
    for (int year = 1752; year <= 3000; ++year)
        for (int month = 1; month <= 12; ++month)
            ASSERT_EQ(MonthLength(year, month), MonthDays(year, month)) << year << "-" << month;
    EXPECT_EQ(MonthLength(1900, 2), 28);
    EXPECT_EQ(MonthLength(2000, 2), 29);
    EXPECT_EQ(MonthLength(2026, 0), 0);
    EXPECT_EQ(MonthLength(2026, 13), 0);
}

TEST(DateSpan, businessDaysCountLikeTheDaysPanel) {
    // Friday 4, Saturday 5, Sunday 6, Monday 7 December 2026; Friday 25 December a holiday.
    const BusinessDayHolidays christmas({static_cast<std::int64_t>(EncodeDate(2026, 12, 25))});
    const struct {
        const char* meaning;
        CivilDate start, end;
        bool bothDates;
        std::int64_t plain, withHolidays;
    } rows[] = {
        {"one day, the same date", {2026, 12, 7}, {2026, 12, 7}, false, 0, 0},
        {"the same business date counting both", {2026, 12, 7}, {2026, 12, 7}, true, 1, 1},
        {"the same Saturday counting both", {2026, 12, 5}, {2026, 12, 5}, true, 0, 0},
        {"Friday to Monday: the Monday", {2026, 12, 4}, {2026, 12, 7}, false, 1, 1},
        {"Friday to Monday counting both", {2026, 12, 4}, {2026, 12, 7}, true, 2, 2},
        {"Saturday to Monday, as adding one business day to the Saturday",
         {2026, 12, 5},
         {2026, 12, 7},
         false,
         1,
         1},
        {"a week of December with Christmas", {2026, 12, 21}, {2026, 12, 28}, false, 5, 4},
        {"from Christmas counting both: the start is no business day",
         {2026, 12, 25},
         {2026, 12, 28},
         true,
         2,
         1},
        {"the end before the start", {2026, 12, 8}, {2026, 12, 7}, true, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        EXPECT_EQ(SpanBusinessDays(Serial(row.start), Serial(row.end), row.bothDates), row.plain);
        EXPECT_EQ(SpanBusinessDays(Serial(row.start), Serial(row.end), row.bothDates, christmas),
                  row.withHolidays);
    }
}

TEST(DateSpan, businessDaysMatchADayByDayCountOverEveryPairOfTwoMonths) {
    const DateTime first = EncodeDate(2026, 11, 30);
    const std::vector<std::int64_t> listed = {static_cast<std::int64_t>(EncodeDate(2026, 12, 25)),
                                              static_cast<std::int64_t>(EncodeDate(2026, 12, 26)),
                                              static_cast<std::int64_t>(EncodeDate(2026, 12, 28)),
                                              static_cast<std::int64_t>(EncodeDate(2027, 1, 1))};
    const BusinessDayHolidays holidays(listed);
    const auto isBusinessDay = [&](DateTime day) {
        const int weekday = DayOfWeek(day);
        return weekday != 1 && weekday != 7 &&
               std::find(listed.begin(), listed.end(), static_cast<std::int64_t>(day)) == listed.end();
    };
    for (int a = 0; a < 62; ++a) {
        for (int b = a; b < 62; ++b) {
            for (const bool bothDates : {false, true}) {
                // The days the Days panel counts: after the start up to the end, and the start too
                // when both dates count.
                std::int64_t expected = 0;
                for (int day = bothDates ? a : a + 1; day <= b; ++day)
                    expected += isBusinessDay(first + day) ? 1 : 0;
                ASSERT_EQ(SpanBusinessDays(first + a, first + b, bothDates, holidays), expected)
                    << a << " " << b << " " << bothDates;
            }
        }
    }
}

} // namespace
} // namespace kalendo
