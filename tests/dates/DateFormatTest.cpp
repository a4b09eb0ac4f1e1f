#include "dates/DateFormat.h"
#include "dates/Error.h"

#include <gtest/gtest.h>

namespace kalendo {
namespace {

const DateTime k7Dec2026 = EncodeDate(2026, 12, 7);

TEST(DateFormat, standardFormatterLetters) {
    const FormatSettings uk = UnitedKingdomSettings();
    struct Row {
        const char* format;
        const char* expected;
    };
    const Row rows[] = {
        {"dddd d mmmm yyyy", "Monday 7 December 2026"},
        {"DDDD D MMMM YYYY", "Monday 7 December 2026"},
        {"ddd dd mmm yy", "Mon 07 Dec 26"},
        {"d/m/yyyy", "7/12/2026"},
        {"dd/mm/yyyy", "07/12/2026"},
        {"'day' d", "day 7"},
        {"\"month\" m", "month 12"},
        {"d 123 x", "7 123 x"},
        {"yyy", "2026"},
        {"y", "26"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatDateTime(row.format, k7Dec2026, uk), row.expected) << row.format;

    FormatSettings dotted = uk;
    dotted.dateSeparator = ".";
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy", k7Dec2026, dotted), "07.12.2026");
}

TEST(DateFormat, timeFormatterGivesTheRollOverTexts) {
    const DateTime t = EncodeTime(23, 59, 58);
    EXPECT_EQ(FormatTime(UnitedKingdomSettings().longTimeFormat, t, UnitedKingdomSettings()), "23:59:58");
    EXPECT_EQ(FormatTime(UnitedStatesSettings().longTimeFormat, t, UnitedStatesSettings()), "11:59:58 PM");
    EXPECT_EQ(FormatTime("h:nn AMPM", EncodeTime(0, 5, 0), UnitedStatesSettings()), "12:05 AM");
    EXPECT_EQ(FormatTime("hh:mm:ss", EncodeTime(7, 8, 9), UnitedKingdomSettings()), "07:08:09");
}

TEST(DateFormat, shortDateParserFollowsTheLocaleOrder) {
    const FormatSettings uk = UnitedKingdomSettings();
    const FormatSettings us = UnitedStatesSettings();
    FormatSettings iso = uk;
    iso.shortDateFormat = "yyyy-mm-dd";
    iso.dateSeparator = "-";

    EXPECT_EQ(TryStrToDate("07/12/2026", uk), k7Dec2026);
    EXPECT_EQ(TryStrToDate(" 7/12/2026", uk), k7Dec2026); // a blank mask position
    EXPECT_EQ(TryStrToDate("12/7/2026", us), k7Dec2026);
    EXPECT_EQ(TryStrToDate("2026-12-07", iso), k7Dec2026);
    EXPECT_EQ(TryStrToDate("7/12/26", uk), k7Dec2026);
    EXPECT_EQ(TryStrToDate("1/1/29", uk), EncodeDate(2029, 1, 1));
    EXPECT_EQ(TryStrToDate("1/1/30", uk), EncodeDate(1930, 1, 1));

    for (const char* bad : {"31/02/2020", "29/02/2023", "  /12/2026", "07/12/", "07/12", "07-12-2026",
                            "7/12/2026x", "", "99999999999/1/2026", "1/13/2026"}) {
        EXPECT_FALSE(TryStrToDate(bad, uk).has_value()) << bad;
    }
    EXPECT_THROW(StrToDate("31/02/2020", uk), Error);
}

TEST(DateFormat, shortDateParserReadsFormatsWithTextOfTheirOwnBack) {
    const struct {
        const char* meaning;
        const char* format;
        const char* separator;
    } rows[] = {
        {"a dot after the last field (Hungarian)", "yyyy/mm/dd.", ". "},
        {"a dot after an unpadded day (Korean)", "yyyy/m/d.", ". "},
        {"a dot after the year (Croatian)", "dd/mm/yyyy.", ". "},
        {"the separator after the year (Serbian)", "d/m/yyyy/", "."},
        {"a quoted word and the separator after the year (Bulgarian)", "d/mm/yyyy \"Ð³\"/", "."},
        {"a blank of its own before the year (Kako)", "dd/mm yyyy", "/"},
    };
    const DateTime samples[] = {EncodeDate(1752, 1, 1), EncodeDate(2028, 2, 29), k7Dec2026,
                                EncodeDate(3000, 12, 31)};
    for (const auto& row : rows) {
        FormatSettings settings = UnitedKingdomSettings();
        settings.shortDateFormat = row.format;
        settings.dateSeparator = row.separator;
        for (const DateTime d : samples) {
            const std::string text = DateToStr(d, settings);
            EXPECT_EQ(TryStrToDate(text, settings), d) << row.meaning << ": " << text;
        }
        EXPECT_EQ(TryStrToDate(DateToStr(k7Dec2026, settings) + "x", settings), std::nullopt) << row.meaning;
    }
}

TEST(DateFormat, longDateReaderReadsEveryDayOfTheCalendarsBack) {
    FormatSettings prefixed = UnitedKingdomSettings();
    prefixed.longDayNames[2] = "Monday 2"; // a Tuesday that begins with Monday's name and a number
    prefixed.longMonthNames[4] = "May 5";  // a month name that ends with a number
    for (const FormatSettings& settings : {UnitedKingdomSettings(), prefixed}) {
        int failures = 0;
        for (DateTime d = kSerialOf1Jan1752; d <= kSerialOf31Dec3000; ++d) {
            const std::string text = FormatDateTime("dddd d mmmm yyyy", d, settings);
            if (TryReadLongDateForm(text, settings) != d && failures++ < 3) ADD_FAILURE() << text;
        }
        EXPECT_EQ(failures, 0);
    }
}

TEST(DateFormat, longDateReaderDeclinesEveryOtherText) {
    const FormatSettings uk = UnitedKingdomSettings();
    const struct {
        const char* meaning;
        std::string text;
    } rows[] = {
        {"another weekday's name", "Tuesday 7 December 2026"},
        {"a day with a leading zero", "Monday 07 December 2026"},
        {"a two-digit year", "Monday 7 December 26"},
        {"a year below 100", FormatDateTime("dddd d mmmm yyyy", EncodeDate(50, 1, 1), uk)},
        {"a five-digit year", "Monday 7 December 12026"},
        {"other case", "monday 7 december 2026"},
        {"two blanks", "Monday  7 December 2026"},
        {"a leading blank", " Monday 7 December 2026"},
        {"a trailing blank", "Monday 7 December 2026 "},
        {"short names", "Mon 7 Dec 2026"},
        {"a comma", "Monday, 7 December 2026"},
        {"day 0", "Monday 0 December 2026"},
        {"day 32", "Monday 32 December 2026"},
        {"31 November", "Tuesday 31 November 2026"},
        {"29 February of a common year", "Monday 29 February 2027"},
        {"a time after it", "Monday 7 December 2026 10:30"},
        {"the month first", "Monday December 7 2026"},
        {"no day", "Monday December 2026"},
        {"only a year", " 2026"},
        {"empty", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TryReadLongDateForm(row.text, uk), std::nullopt) << row.meaning << ": " << row.text;

    FormatSettings oneName = uk;
    oneName.longMonthNames.fill("Month");
    EXPECT_EQ(TryReadLongDateForm("Monday 7 Month 2026", oneName), std::nullopt)
        << "7 September and 7 December 2026 are both Mondays";
    EXPECT_EQ(TryReadLongDateForm("Tuesday 31 Month 2026", oneName), EncodeDate(2026, 3, 31))
        << "of the 31sts of 2026 only 31 March is a Tuesday";
}

TEST(DateFormat, timeParserReads24HourAndDesignators) {
    const FormatSettings uk = UnitedKingdomSettings();
    EXPECT_EQ(TryStrToTime("10:30", uk), EncodeTime(10, 30, 0));
    EXPECT_EQ(TryStrToTime("10:30:15", uk), EncodeTime(10, 30, 15));
    EXPECT_EQ(TryStrToTime("10:30pm", uk), EncodeTime(22, 30, 0));
    EXPECT_EQ(TryStrToTime("12:00 AM", uk), EncodeTime(0, 0, 0));
    EXPECT_EQ(TryStrToTime("12:00 PM", uk), EncodeTime(12, 0, 0));
    for (const char* bad : {"24:00", "10:60", ":30", "10:", "10", "13:00 PM", "10:30 XM", "10:30:"})
        EXPECT_FALSE(TryStrToTime(bad, uk).has_value()) << bad;
}

TEST(DateFormat, dateOrderIsDecidedByTheFirstLetter) {
    EXPECT_EQ(DateOrderOf("dd/MM/yyyy"), doDayMonthYear);
    EXPECT_EQ(DateOrderOf("M/d/yyyy"), doMonthDayYear);
    EXPECT_EQ(DateOrderOf("yyyy-MM-dd"), doYearMonthDay);
    EXPECT_EQ(DateOrderOf("--"), doMonthDayYear);
}

} // namespace
} // namespace kalendo
