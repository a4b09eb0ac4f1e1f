#include "easter/Easter.h"

#include "dates/Error.h"

#include <gtest/gtest.h>

namespace kalendo {
namespace {

// The anonymous Gregorian algorithm (Meeus/Jones/Butcher), written out independently.
CivilDate AnonymousGregorianEaster(int year) {
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return {year, month, day};
}

TEST(Easter, everyYearFrom1000To3000MatchesTheAnonymousGregorianAlgorithm) {
    for (int year = 1000; year <= 3000; ++year) {
        const DateTime easter = EasterSunday(year);
        ASSERT_EQ(DecodeDate(easter), AnonymousGregorianEaster(year)) << year;
        ASSERT_GE(easter, EncodeDate(year, 3, 22)) << year;
        ASSERT_LE(easter, EncodeDate(year, 4, 25)) << year;
    }
}

TEST(Easter, everyFeastFallsOnItsWeekday) {
    const int expectedWeekday[7] = {3, 4, 1, 6, 1, 2, 5}; // 1 = Sunday
    for (int year = 1000; year <= 3000; ++year) {
        const DateTime easter = EasterSunday(year);
        for (std::size_t n = 0; n < 7; ++n)
            ASSERT_EQ(DayOfWeek(easter + EasterFeasts()[n].offsetDays), expectedWeekday[n])
                << year << " " << EasterFeasts()[n].label;
    }
}

TEST(Easter, knownYears) {
    struct Row {
        const char* meaning;
        int year;
        CivilDate easter;
        CivilDate shroveTuesday;
    };
    const Row rows[] = {
        {"first year of the range", 1000, {1000, 3, 30}, {1000, 2, 11}},
        {"last year of the range", 3000, {3000, 4, 13}, {3000, 2, 25}},
        {"1752", 1752, {1752, 4, 2}, {1752, 2, 15}},
        {"2005", 2005, {2005, 3, 27}, {2005, 2, 8}},
        {"2024, a leap year", 2024, {2024, 3, 31}, {2024, 2, 13}},
        {"2025", 2025, {2025, 4, 20}, {2025, 3, 4}},
        {"earliest Easter, 1818", 1818, {1818, 3, 22}, {1818, 2, 3}},
        {"earliest Easter, 2285", 2285, {2285, 3, 22}, {2285, 2, 3}},
        {"latest Easter, 1943", 1943, {1943, 4, 25}, {1943, 3, 9}},
        {"latest Easter, 2038", 2038, {2038, 4, 25}, {2038, 3, 9}},
    };
    for (const Row& row : rows) {
        const DateTime easter = EasterSunday(row.year);
        EXPECT_EQ(DecodeDate(easter), row.easter) << row.meaning;
        EXPECT_EQ(DecodeDate(easter + EasterFeasts()[0].offsetDays), row.shroveTuesday) << row.meaning;
    }
}

TEST(Easter, linesFor2026InWindowOrder) {
    const std::array<std::string, 7> expected = {
        "Shrove Tuesday is on Tuesday 17 February", "Ash Wednesday is on Wednesday 18 February",
        "Palm Sunday is on Sunday 29 March",        "Good Friday is on Friday 3 April",
        "Easter Day is on Sunday 5 April",          "Easter Monday is on Monday 6 April",
        "Ascension Day is on Thursday 14 May",
    };
    EXPECT_EQ(EasterLines(2026, UnitedKingdomSettings()), expected);
    EXPECT_STREQ(EasterFeasts()[0].label, "ShroveTuesday");
    EXPECT_STREQ(EasterFeasts()[6].label, "AscensionDay");
}

TEST(Easter, linesUseTheLocaleNames) {
    FormatSettings settings = UnitedKingdomSettings();
    settings.longDayNames[0] = "Sonntag";
    settings.longMonthNames[3] = "April!";
    EXPECT_EQ(EasterLines(2026, settings)[4], "Easter Day is on Sonntag 5 April!");
}

TEST(Easter, yearsTheEncoderCannotHoldRaiseItsError) {
    for (const int year : {0, -1, -19, 10000})
        EXPECT_THROW(EasterSunday(year), Error) << year;
    EXPECT_EQ(DecodeDate(EasterSunday(1)), AnonymousGregorianEaster(1));
}

} // namespace
} // namespace kalendo
