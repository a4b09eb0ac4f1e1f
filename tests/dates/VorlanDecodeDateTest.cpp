#include "dates/VorlanDecodeDate.h"

#include "dates/DateEnvironment.h"
#include "dates/DateStringTranslater.h"
#include "dates/Error.h"
#include "dates/VorlanDates.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kalendo {
namespace {

DateTime Day(int y, int m, int d) { return EncodeDate(y, m, d); }
DateTime At(int y, int m, int d, int h, int mi, int s = 0) {
    return ComposeDateTime(Day(y, m, d), EncodeTime(h, mi, s));
}

// Wednesday 9 December 2026, in the afternoon.
const DateTime kNow = At(2026, 12, 9, 14, 25, 30);

FormatSettings YearMonthDaySettings() {
    FormatSettings settings = UnitedKingdomSettings();
    settings.shortDateFormat = "yyyy-mm-dd";
    return settings;
}

struct Outcome {
    DateTime date = -1;
    bool validDate = false;
    bool validTime = false;
    bool validDateTime = false;
};

Outcome Decode(std::string_view text, const FormatSettings& settings, DateTime now = kNow) {
    const FixedClock clock(now);
    TVorlanDecodeDate decoder(settings, clock);
    decoder.SetDateToDecode(text);
    return {decoder.DecodedDate(), decoder.ValidDate(), decoder.ValidTime(), decoder.ValidDateTime()};
}

Outcome DecodeUk(std::string_view text, DateTime now = kNow) {
    return Decode(text, UnitedKingdomSettings(), now);
}

enum Validity { kNone, kDateOnly, kTimeOnly, kDateTimeOnly };

struct Row {
    const char* meaning;
    const char* text;
    DateTime expected;
    Validity validity;
};

void ExpectRows(const std::vector<Row>& rows, const FormatSettings& settings, DateTime now = kNow) {
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.meaning) + ": \"" + row.text + "\"");
        const Outcome outcome = Decode(row.text, settings, now);
        EXPECT_DOUBLE_EQ(outcome.date, row.expected);
        EXPECT_EQ(outcome.validDate, row.validity == kDateOnly);
        EXPECT_EQ(outcome.validTime, row.validity == kTimeOnly);
        EXPECT_EQ(outcome.validDateTime, row.validity != kNone);
    }
}

std::vector<std::string> TokensOf(std::string_view text,
                                  const FormatSettings& settings = UnitedKingdomSettings()) {
    const FixedClock clock(kNow);
    TVorlanDecodeDate decoder(settings, clock);
    decoder.SetDateToDecode(text);
    return decoder.Tokens();
}

using Words = std::vector<std::string>;
using FieldFlags = TVorlanDecodeDateDecodedFieldsFoundFlags;

TEST(VorlanDecodeDate, examples_decodeAsTheyReadOnWednesday9December2026) {
    const DateTime today = Day(2026, 12, 9);
    ExpectRows(
        {
            {"the main window's long date", "Monday 7 December 2026", Day(2026, 12, 7), kDateOnly},
            {"a day name moves to the next such day", "Tuesday 7 December 2026", Day(2026, 12, 8), kDateOnly},
            {"ordinal day", "21st December 2026", Day(2026, 12, 21), kDateOnly},
            {"number word and noise words", "the first of May", Day(2026, 5, 1), kDateOnly},
            {"short date with separators", "31/12/2026", Day(2026, 12, 31), kDateOnly},
            {"a lone small number is a day", "15", Day(2026, 12, 15), kDateOnly},
            {"end of a named month", "end May", Day(2026, 5, 31), kDateOnly},
            {"tomorrow", "tomorrow", Day(2026, 12, 10), kDateOnly},
            {"day after an anchor", "day after tomorrow", Day(2026, 12, 11), kDateOnly},
            {"days ago", "3 days ago", Day(2026, 12, 6), kDateOnly},
            {"days after today", "3 days after today", Day(2026, 12, 12), kDateOnly},
            {"bare count of weeks", "2 weeks", Day(2026, 12, 23), kDateOnly},
            {"next week", "next week", Day(2026, 12, 16), kDateOnly},
            {"last month", "last month", Day(2026, 11, 9), kDateOnly},
            {"month name with last year", "December last year", Day(2025, 12, 9), kDateOnly},
            {"a later weekday this week", "Friday", Day(2026, 12, 11), kDateOnly},
            {"an earlier weekday wraps to next week", "Monday", Day(2026, 12, 14), kDateOnly},
            {"next Friday is in the next Monday-to-Sunday week", "next Friday", Day(2026, 12, 18), kDateOnly},
            {"last Friday is in the previous Sunday-to-Saturday week", "last Friday", Day(2026, 12, 4),
             kDateOnly},
            {"Friday week", "Friday week", Day(2026, 12, 18), kDateOnly},
            {"a time alone is today at that time", "10:30", At(2026, 12, 9, 10, 30), kTimeOnly},
            {"pm written onto the time", "10:30pm", At(2026, 12, 9, 22, 30), kTimeOnly},
            {"now is the clock's date and time", "now", kNow, kDateTimeOnly},
            {"none decodes to zero and is valid", "none", 0.0, kDateOnly},
            {"tomorrow is never consumed before a time", "tomorrow 10:30", 0.0, kNone},
            {"month-day-year text in a day-month-year locale", "12/31/2026", 0.0, kNone},
            {"an empty text is today without any flag", "", today, kNone},
        },
        UnitedKingdomSettings());
}

TEST(VorlanDecodeDate, edgeCases_ofTheResolution) {
    ExpectRows(
        {
            {"a text outside the vocabulary", "hello", 0.0, kNone},
            {"only one relative rule is applied", "3 days 2 weeks ago", 0.0, kNone},
            {"the day rule has no NEXT row", "next day", 0.0, kNone},
            {"a leading comma is a separator word", ",next Friday", Day(2026, 12, 18), kDateOnly},
            {"a comma and a blank before next Friday", ", next Friday", Day(2026, 12, 18), kDateOnly},
            {"all spaces", "    ", Day(2026, 12, 9), kNone},
            {"only separators", "/ , .", Day(2026, 12, 9), kNone},
            {"possessive day names", "Friday's", Day(2026, 12, 11), kDateOnly},
            {"plural day names", "Fridays", Day(2026, 12, 11), kDateOnly},
            {"day before yesterday", "day before yesterday", Day(2026, 12, 7), kDateOnly},
            {"yesterday", "yesterday", Day(2026, 12, 8), kDateOnly},
            {"today", "today", Day(2026, 12, 9), kDateOnly},
            {"today's weekday is today", "Wednesday", Day(2026, 12, 9), kDateOnly},
            {"a lone number above 31 is a two-digit year", "32", Day(1932, 12, 9), kDateOnly},
            {"a lone four-digit year", "2027", Day(2027, 12, 9), kDateOnly},
            {"a lone zero is no day", "0", 0.0, kNone},
            {"day 31 in a 30-day month", "31 November", 0.0, kNone},
            {"30 February", "30 February 2028", 0.0, kNone},
            {"29 February of a leap year", "29 February 2028", Day(2028, 2, 29), kDateOnly},
            {"two-digit years below the pivot", "1/2/29", Day(2029, 2, 1), kDateOnly},
            {"two-digit years above the pivot", "1/2/30", Day(1930, 2, 1), kDateOnly},
            {"dashes after digits split", "7-12-2026", Day(2026, 12, 7), kDateOnly},
            {"month name with a dash", "12-Dec-2026", Day(2026, 12, 12), kDateOnly},
            {"month and year", "Dec-2027", Day(2027, 12, 9), kDateOnly},
            {"end of a month in a leap year", "end of February 2028", Day(2028, 2, 29), kDateOnly},
            {"end alone is the end of this month", "end", Day(2026, 12, 31), kDateOnly},
            {"start of the week is one week on", "start of the week", Day(2026, 12, 16), kDateOnly},
            {"number words joined", "twenty one December", Day(2026, 12, 21), kDateOnly},
            {"hyphenated ordinal", "twenty-first of June", Day(2026, 6, 21), kDateOnly},
            {"thirty first", "thirty first December", Day(2026, 12, 31), kDateOnly},
            {"three number words make a year", "1 January nineteen ninety nine", Day(1999, 1, 1), kDateOnly},
            {"twenty twenty six", "9 May twenty twenty six", Day(2026, 5, 9), kDateOnly},
            {"a named month only", "March", Day(2026, 3, 9), kDateOnly},
            {"unknown word beside a date", "7 December 2026 please", 0.0, kNone},
            {"none with another word", "none today", 0.0, kNone},
            {"none with a time", "none 10:30", 0.0, kNone},
            {"an impossible day in the working date skips the relative rules", "week after 31 April", 0.0,
             kNone},
        },
        UnitedKingdomSettings());
}

TEST(VorlanDecodeDate, februaryLastYear_failsOnThe30thBecauseTheDayIsNotClamped) {
    ExpectRows({{"on the 9th", "February last year", Day(2025, 2, 9), kDateOnly}}, UnitedKingdomSettings());
    ExpectRows({{"on the 30th", "February last year", 0.0, kNone}}, UnitedKingdomSettings(),
               At(2026, 12, 30, 9, 0));
    ExpectRows({{"on the 28th", "February next year", Day(2027, 2, 28), kDateOnly}}, UnitedKingdomSettings(),
               At(2026, 12, 28, 9, 0));
}

TEST(VorlanDecodeDate, countRules_monthYearWeekAndDay) {
    ExpectRows(
        {
            {"months ago", "2 months ago", Day(2026, 10, 9), kDateOnly},
            {"a bare count of months", "2 months", Day(2027, 2, 9), kDateOnly},
            {"month after", "month after", Day(2027, 1, 9), kDateOnly},
            {"month before", "month before", Day(2026, 11, 9), kDateOnly},
            {"next month", "next month", Day(2027, 1, 9), kDateOnly},
            {"previous month", "previous month", Day(2026, 11, 9), kDateOnly},
            {"prior month", "prior month", Day(2026, 11, 9), kDateOnly},
            {"month alone fails", "month", 0.0, kNone},
            {"a word before the unit that is no count", "soon month", 0.0, kNone},
            {"month arithmetic clamps to the month end", "1 month after 31 January", Day(2026, 2, 28),
             kDateOnly},
            {"years ago", "2 years ago", Day(2024, 12, 9), kDateOnly},
            {"year after", "year after", Day(2027, 12, 9), kDateOnly},
            {"next year", "next year", Day(2027, 12, 9), kDateOnly},
            {"month name with next year", "June next year", Day(2027, 6, 9), kDateOnly},
            {"a non-month before last year", "soon last year", 0.0, kNone},
            {"a year after a leap day", "1 year after 29 February 2028", Day(2029, 2, 28), kDateOnly},
            {"weeks after a date", "2 weeks after 1/1/2027", Day(2027, 1, 15), kDateOnly},
            {"week before", "week before", Day(2026, 12, 2), kDateOnly},
            {"last week", "last week", Day(2026, 12, 2), kDateOnly},
            {"wks", "3 wks", Day(2026, 12, 30), kDateOnly},
            {"day after", "day after", Day(2026, 12, 10), kDateOnly},
            {"days since a date", "10 days since 25/12/2026", Day(2027, 1, 4), kDateOnly},
            {"days from today", "5 days from today", Day(2026, 12, 14), kDateOnly},
            {"days beforehand", "2 days beforehand", Day(2026, 12, 7), kDateOnly},
            {"number words count in the relative part", "three days ago", Day(2026, 12, 6), kDateOnly},
            {"days after now keeps the time", "3 days after now", At(2026, 12, 12, 14, 25, 30),
             kDateTimeOnly},
            {"months past the year 9999 fail", "8000 years after today", 0.0, kNone},
            {"weeks past the year 9999 fail", "9000 weeks after 1/1/9999", 0.0, kNone},
            {"days before the year 1 fail", "60000 days before 1/1/100", 0.0, kNone},
            {"months after the last month fail", "1 month after 31/12/9999", 0.0, kNone},
        },
        UnitedKingdomSettings());
}

TEST(VorlanDecodeDate, dayNameRules_everyRow) {
    ExpectRows(
        {
            {"first such day after the anchor", "Friday after", Day(2026, 12, 11), kDateOnly},
            {"after skips the anchor's own weekday", "Wednesday after", Day(2026, 12, 16), kDateOnly},
            {"first such day before the anchor", "Wednesday before", Day(2026, 12, 2), kDateOnly},
            {"the second Friday after today", "2 Fridays after today", Day(2026, 12, 18), kDateOnly},
            {"the second Friday before today", "2 Fridays before today", Day(2026, 11, 27), kDateOnly},
            {"a word before the day name that is no count", "soon Friday after", 0.0, kNone},
            {"Friday next", "Friday next", Day(2026, 12, 18), kDateOnly},
            {"Friday next week", "Friday next week", Day(2026, 12, 18), kDateOnly},
            {"Friday last", "Friday last", Day(2026, 11, 27), kDateOnly},
            {"Friday previous week", "Friday previous week", Day(2026, 11, 27), kDateOnly},
            {"Friday week after", "Friday week after", Day(2026, 12, 18), kDateOnly},
            {"Friday week before", "Friday week before", Day(2026, 11, 27), kDateOnly},
            {"next Monday", "next Monday", Day(2026, 12, 14), kDateOnly},
            {"next Sunday ends the next Monday-to-Sunday week", "next Sunday", Day(2026, 12, 20), kDateOnly},
            {"last Sunday starts the previous week", "last Sunday", Day(2026, 11, 29), kDateOnly},
            {"last Saturday", "last Saturday", Day(2026, 12, 5), kDateOnly},
            {"a day name that matches the date keeps it", "Friday 1 January 2027", Day(2027, 1, 1),
             kDateOnly},
            {"a day name moves an absolute date", "Saturday 1 January 2027", Day(2027, 1, 2), kDateOnly},
        },
        UnitedKingdomSettings());
    // From a Sunday, next Monday is the day after and next Sunday a week on.
    const DateTime sunday = At(2026, 12, 13, 8, 0);
    ExpectRows({{"next Monday from a Sunday", "next Monday", Day(2026, 12, 14), kDateOnly},
                {"next Sunday from a Sunday", "next Sunday", Day(2026, 12, 20), kDateOnly}},
               UnitedKingdomSettings(), sunday);
}

TEST(VorlanDecodeDate, timePart_readsTimesAndDesignators) {
    ExpectRows(
        {
            {"am as its own word", "10:30 am", At(2026, 12, 9, 10, 30), kTimeOnly},
            {"midnight hour with am", "12:15am", At(2026, 12, 9, 0, 15), kTimeOnly},
            {"noon hour with pm", "12:15pm", At(2026, 12, 9, 12, 15), kTimeOnly},
            {"pm on a 24-hour time fails", "13:00pm", 0.0, kNone},
            {"am on an afternoon time moves it back", "13:00 am", At(2026, 12, 9, 1, 0), kTimeOnly},
            {"a designator before the time stays unused", "pm 10:30", 0.0, kNone},
            {"seconds", "10:30:45", At(2026, 12, 9, 10, 30, 45), kTimeOnly},
            {"a word that starts with the separator", ":30", 0.0, kNone},
            {"a word that ends with the separator", "10:", 0.0, kNone},
            {"an hour beyond 23", "25:00", 0.0, kNone},
            {"the later of two times wins", "10:30 11:45", At(2026, 12, 9, 11, 45), kTimeOnly},
            {"an unreadable second time fails the text", "10:30 25:99", 0.0, kNone},
            {"at is a noise word", "at 10:30", At(2026, 12, 9, 10, 30), kTimeOnly},
            {"a date and a time", "7/12/2026 10:30", At(2026, 12, 7, 10, 30), kDateTimeOnly},
            {"relative date and a time", "3 days ago 9:05pm", At(2026, 12, 6, 21, 5), kDateTimeOnly},
            {"a word after the time stays unused", "10:30 please", 0.0, kNone},
            {"a date before 1900 with a time", "31/12/1800 06:00", At(1800, 12, 31, 6, 0), kDateTimeOnly},
            {"hours without minutes are a day number", "10pm", Day(2026, 12, 10), kDateOnly},
        },
        UnitedKingdomSettings());
}

TEST(VorlanDecodeDate, dateOrder_changesTheOutcomeWhereNumbersAlone) {
    ExpectRows(
        {
            {"month first", "12/31/2026", Day(2026, 12, 31), kDateOnly},
            {"day and month swap", "7/12/2026", Day(2026, 7, 12), kDateOnly},
            {"the long date still reads", "Monday 7 December 2026", Day(2026, 12, 7), kDateOnly},
            {"the month is the first number that can be one", "31/12/2026", Day(2026, 12, 31), kDateOnly},
            {"pm designator", "9:15 PM", At(2026, 12, 9, 21, 15), kTimeOnly},
        },
        UnitedStatesSettings());
    ExpectRows(
        {
            {"year first", "2026-12-31", Day(2026, 12, 31), kDateOnly},
            {"the long date gives 7 as the year and leaves 2026 over", "Monday 7 December 2026", 0.0, kNone},
            {"year first with a month name", "2027 March 4", Day(2027, 3, 4), kDateOnly},
            {"a lone small number is still a day", "15", Day(2026, 12, 15), kDateOnly},
        },
        YearMonthDaySettings());
}

TEST(VorlanDecodeDate, decodeDateText_returnsTheDateOrRaisesWithTheText) {
    const ScopedDateEnvironment environment(UnitedKingdomSettings(), std::make_shared<FixedClock>(kNow));
    EXPECT_EQ(DecodeDateText("Monday 7 December 2026"), Day(2026, 12, 7));
    EXPECT_EQ(DecodeDateText("10:30pm"), At(2026, 12, 9, 22, 30));
    EXPECT_EQ(DecodeDateText("none"), 0.0);
    const struct {
        const char* meaning;
        std::string text;
    } failures[] = {{"empty", ""}, {"unknown word", "hello"}, {"untrimmed", "  tomorrow 10:30 "}};
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.meaning);
        try {
            DecodeDateText(failure.text);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to decode the date time : " + failure.text);
        }
    }
}

TEST(VorlanDecodeDate, decodeDateText_followsTheServiceSettings) {
    const ScopedDateEnvironment environment(UnitedKingdomSettings(), std::make_shared<FixedClock>(kNow));
    const FormatSettings us = UnitedStatesSettings();
    EXPECT_EQ(TVorlanDates(us).DecodeDateText("7/12/2026"), Day(2026, 7, 12));
    EXPECT_EQ(TVorlanDates().DecodeDateText("7/12/2026"), Day(2026, 12, 7));
}

TEST(VorlanDecodeDate, splitter_wordsAsTheTextIsWritten) {
    const struct {
        const char* meaning;
        const char* text;
        Words words;
    } rows[] = {
        {"separators after words become SEPERATOR",
         "7/12/2026",
         {"7", "SEPERATOR", "12", "SEPERATOR", "2026"}},
        {"separators after blanks are skipped", "7 / 12 / 2026", {"7", "12", "2026"}},
        {"two separators in a row", "7//12", {"7", "SEPERATOR", "SEPERATOR", "12"}},
        {"dashes after digits", "7-12-2026", {"7", "12", "2026"}},
        {"dash after a short month name", "Dec-2026", {"DEC", "2026"}},
        {"dash after a long month name", "December-2026", {"DEC", "2026"}},
        {"dashes around a month", "12-Dec-2026", {"12", "DEC", "2026"}},
        {"a dash inside a word stays", "mid-week", {"MID-WEEK"}},
        {"hyphenated ordinal is one number", "twenty-first", {"21"}},
        {"pm moves to the end", "10:30pm today", {"10:30", "TODAY", "PM"}},
        {"am moves to the end", "9:05AM", {"9:05", "AM"}},
        {"a suffix without a time is dropped", "10pm", {"10"}},
        {"ordinal suffix", "21st", {"21"}},
        {"noise words are dropped", "the first of May", {"1", "MAY"}},
        {"all seven noise words", "of the in into this time at", {}},
        {"start becomes first, then 1", "Start of the week", {"1", "WEEK"}},
        {"plural day name", "Mondays", {"MON"}},
        {"possessive day name", "Monday's", {"MON"}},
        {"possessive cuts the last two characters wherever 'S is", "it's x'sy", {"IT", "X'"}},
        {"leading separator", ",next Friday", {"SEPERATOR", "NEXT", "FRI"}},
        {"a tab is an ordinary character", "a\tb", {"A\tB"}},
        {"dashes and separators only", "-- , -", {}},
        {"synonyms",
         "days weeks wk's months years ending starting following ago previous",
         {"DAY", "WEEK", "WK", "MONTH", "YEAR", "END", "1", "AFTER", "BEFORE", "PREV"}},
        {"digits with letters keep every digit", "1a2b", {"12"}},
        {"non-ASCII bytes pass through",
         "D\xc3\xa9"
         "cembre",
         {"D\xc3\xa9"
          "CEMBRE"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        EXPECT_EQ(TokensOf(row.text), row.words);
    }
    EXPECT_TRUE(TokensOf("").empty());
    EXPECT_TRUE(TokensOf("     ").empty());
}

TEST(VorlanDecodeDate, fields_classesValuesAndFoundFlags) {
    const FixedClock clock(kNow);
    const FormatSettings settings = UnitedKingdomSettings();
    TVorlanDecodeDate decoder(settings, clock);

    decoder.SetDateToDecode("3 weeks ago");
    ASSERT_EQ(decoder.DecodedFields().Count(), 3);
    EXPECT_EQ(decoder.DecodedFields()[0].FoundFlags, (FieldFlags{dfoNumber}));
    EXPECT_EQ(decoder.DecodedFields()[0].Extra, 3);
    EXPECT_EQ(decoder.DecodedFields()[1].FoundFlags, (FieldFlags{dfoWeek}));
    EXPECT_EQ(decoder.DecodedFields()[2].FoundFlags, (FieldFlags{dfoBefore}));
    EXPECT_EQ(decoder.FoundFlags(), (TVorlanDecodeDateFoundFlags{ddWeeks, ddBefore}));

    decoder.SetDateToDecode("10:30pm");
    ASSERT_EQ(decoder.DecodedFields().Count(), 2);
    EXPECT_EQ(decoder.DecodedFields()[0].Item, "10:30");
    EXPECT_EQ(decoder.DecodedFields()[0].FoundFlags, (FieldFlags{dfoTime}));
    EXPECT_EQ(decoder.DecodedFields()[1].FoundFlags, (FieldFlags{dfoPM}));

    decoder.SetDateToDecode("none");
    ASSERT_EQ(decoder.DecodedFields().Count(), 1);
    EXPECT_EQ(decoder.DecodedFields()[0].FoundFlags, (FieldFlags{dfoNone}));
    EXPECT_EQ(decoder.FoundFlags(), (TVorlanDecodeDateFoundFlags{ddNone}));

    decoder.SetDateToDecode("none today");
    ASSERT_EQ(decoder.DecodedFields().Count(), 2);
    EXPECT_EQ(decoder.DecodedFields()[0].FoundFlags, (FieldFlags{dfoNone}));
    EXPECT_EQ(decoder.DecodedFields()[1].FoundFlags, (FieldFlags{dfoNone}));

    decoder.SetDateToDecode("70000");
    EXPECT_EQ(decoder.DecodedFields()[0].Extra, 4464) << "stored modulo 65536";
    decoder.SetDateToDecode("123456789012345678901234567890");
    EXPECT_EQ(decoder.DecodedFields()[0].FoundFlags, (FieldFlags{dfoNumber}));
    EXPECT_EQ(decoder.DecodedFields()[0].Extra, 0) << "a number beyond 32 bits keeps the value 0";
    decoder.SetDateToDecode("000000000000000000000000000007");
    EXPECT_EQ(decoder.DecodedFields()[0].Extra, 7);

    decoder.SetDateToDecode("Friday May");
    EXPECT_EQ(decoder.DecodedFields()[0].FoundFlags, (FieldFlags{dfoDayName}));
    EXPECT_EQ(decoder.DecodedFields()[0].Extra, 6);
    EXPECT_EQ(decoder.DecodedFields()[1].FoundFlags, (FieldFlags{dfoMonthName}));
    EXPECT_EQ(decoder.DecodedFields()[1].Extra, 5);

    decoder.SetDateToDecode("beginning");
    EXPECT_EQ(decoder.FoundFlags(), (TVorlanDecodeDateFoundFlags{ddStart, ddFirst}));
    decoder.SetDateToDecode("now yesterday tomorrow since prior next last");
    EXPECT_EQ(decoder.FoundFlags(),
              (TVorlanDecodeDateFoundFlags{ddNow, ddYesterday, ddTomorrow, ddAfter, ddPrev, ddNext, ddLast}));
    EXPECT_FALSE(decoder.FoundFlags().Contains(ddTime));
}

TEST(VorlanDecodeDate, properties_areRebuiltOnEveryDecodeAndCopiedOnWrite) {
    const FixedClock clock(kNow);
    const FormatSettings settings = UnitedKingdomSettings();
    TVorlanDecodeDate decoder(settings, clock);
    decoder.SetDateToDecode("   3 weeks ago  ");
    EXPECT_EQ(decoder.DateToDecode(), "3 weeks ago");
    const TVorlanDecodeDateDecodedFieldsCollection saved = decoder.DecodedFields();

    decoder.SetDateToDecode("");
    EXPECT_TRUE(decoder.Tokens().empty());
    EXPECT_EQ(decoder.DecodedFields().Count(), 0);
    EXPECT_TRUE(decoder.FoundFlags().Empty());

    decoder.SetDecodedFields(saved);
    ASSERT_EQ(decoder.DecodedFields().Count(), 3);
    EXPECT_EQ(decoder.DecodedFields()[1].Item, "WEEK");
    EXPECT_EQ(decoder.DecodedFields().Owner(), &decoder);
    const Words tokens = {"A", "B"};
    decoder.SetTokens(tokens);
    EXPECT_EQ(decoder.Tokens(), tokens);
}

// Builds a decoder whose fields are the given words as field building leaves them, so that
// CombineNumberWords can be run on its own. A trailing "w" marks a number word ("20w"), digits
// alone a plain number, "DEC" a month name, "SEPERATOR" a separator; other words have no class.
struct FieldsUnderTest {
    FixedClock clock{kNow};
    FormatSettings settings = UnitedKingdomSettings();
    TVorlanDecodeDate decoder{settings, clock};

    explicit FieldsUnderTest(const std::string& words) {
        TVorlanDecodeDateDecodedFieldsCollection collection;
        std::istringstream in(words);
        for (std::string item; in >> item;) {
            FieldFlags flags;
            std::int32_t value = 0;
            if (item.size() > 1 && item.back() == 'w') {
                item.pop_back();
                flags.Include(dfoWordNumber);
            }
            if (std::isdigit(static_cast<unsigned char>(item[0]))) {
                flags.Include(dfoNumber);
                value = std::stoi(item);
            }
            if (item == "DEC") {
                flags.Include(dfoMonthName);
                value = 12;
            }
            if (item == "SEPERATOR") flags.Include(dfoSeperator);
            collection.AddField(item, flags, value);
        }
        decoder.SetDecodedFields(collection);
    }
    Words Items() const {
        Words items;
        for (const auto& field : decoder.DecodedFields())
            items.push_back(field.Item);
        return items;
    }
};

TEST(VorlanDecodeDate, combineNumberWords_mergesRunsAsTheyStand) {
    const struct {
        const char* meaning;
        std::string fields;
        int first, last;
        Words items;
        int deleted;
    } rows[] = {
        {"two words add", "20w 1w", 0, 2, {"21"}, 1},
        {"three words make hundreds", "19w 90w 9w", 0, 3, {"1999"}, 2},
        {"a lone word becomes a number", "3w", 0, 1, {"3"}, 0},
        {"a value that is not combinable ends the run", "1w 20w", 0, 2, {"1", "20"}, 0},
        {"a separator ends a run", "20w SEPERATOR 1w", 0, 3, {"20", "SEPERATOR", "1"}, 0},
        {"a month name ends a run", "20w DEC 1w", 0, 3, {"20", "DEC", "1"}, 0},
        {"other words are stepped over", "20w FOO 1w", 0, 3, {"21", "FOO"}, 1},
        {"plain numbers are stepped over", "20w 7 1w", 0, 3, {"21", "7"}, 1},
        {"fields outside the range stay", "20w 20w 1w", 1, 3, {"20", "21"}, 1},
        {"several runs", "20w 1w DEC 30w 1w", 0, 5, {"21", "DEC", "31"}, 2},
        {"a range without numbers or month names is left alone", "FOOw", 0, 1, {"FOO"}, 0},
        {"an empty or reversed range", "20w 1w", 2, 1, {"20", "1"}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        FieldsUnderTest under(row.fields);
        EXPECT_EQ(under.decoder.CombineNumberWords(row.first, row.last), row.deleted);
        EXPECT_EQ(under.Items(), row.items);
    }
    FieldsUnderTest merged("20w 1w");
    merged.decoder.CombineNumberWords(0, 2);
    EXPECT_EQ(merged.decoder.DecodedFields()[0].FoundFlags, (FieldFlags{dfoNumber}));
    EXPECT_EQ(merged.decoder.DecodedFields()[0].Extra, 21);
}

struct MessageCollector {
    std::vector<std::string> messages;
    MessageCollector() {
        SetDecoderMessageHook([this](const std::string& message) { messages.push_back(message); });
    }
    ~MessageCollector() { SetDecoderMessageHook(nullptr); }
};

TEST(VorlanDecodeDate, tooManyNumberWords_reportsOnceAndStopsCombining) {
    MessageCollector collector;
    FieldsUnderTest under("20w 20w 20w 20w DEC 20w 1w");
    EXPECT_EQ(under.decoder.CombineNumberWords(0, 7), 0);
    EXPECT_EQ(collector.messages, Words{"Too many words - can't decode"});
    EXPECT_EQ(under.Items(), (Words{"20", "20", "20", "20", "DEC", "20", "1"}));

    collector.messages.clear();
    const Outcome outcome = DecodeUk("twenty twenty twenty twenty December");
    EXPECT_EQ(collector.messages.size(), 1U);
    EXPECT_FALSE(outcome.validDateTime);
}

std::string Repeated(std::string_view pattern, std::size_t atLeast) {
    std::string text;
    while (text.size() < atLeast)
        text += pattern;
    return text;
}

TEST(VorlanDecodeDate, hostileText_getsAnAnswerInLinearTime) {
    MessageCollector collector;
    constexpr std::size_t kMegabyte = 1U << 20;
    const struct {
        const char* meaning;
        std::string text;
    } rows[] = {
        {"a megabyte of words", Repeated("next Friday 3 days ago ", kMegabyte)},
        {"a megabyte of one word", std::string(kMegabyte, 'x')},
        {"a megabyte of dashes", std::string(kMegabyte, '-')},
        {"a megabyte of separators", std::string(kMegabyte, '/')},
        {"a word with a megabyte of inner dashes", "a" + std::string(kMegabyte, '-') + "b"},
        {"digits joined by dashes", Repeated("1-", kMegabyte)},
        {"many number words", Repeated("one twenty one ", kMegabyte / 2)},
        {"many combinable words", Repeated("twenty ", kMegabyte / 2)},
        {"many day names", Repeated("Friday ", kMegabyte / 2)},
        {"many times", Repeated("10:30pm ", kMegabyte / 2)},
        {"hundreds of digits", std::string(300, '9') + " December " + std::string(300, '1')},
        {"a long ordinal", std::string(300, '9') + "th"},
        {"embedded NULs", std::string("7\0/12/2026\0", 11)},
        {"only NULs", std::string(64, '\0')},
        {"non-ASCII bytes", "\xff\xfe\x80 \xe2\x80\x99s D\xc3\xa9"
                            "cembre"},
        {"separators and dashes only", "-,-.-/-"},
        {"apostrophe S alone", "'s 's"},
        {"time separators only", ":::: : ::"},
        {"a count beyond 16 bits in a merged year", "1 January twenty twenty 65535th"},
        {"a huge merged count", "twenty twenty 65535th days ago"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        Outcome outcome;
        ASSERT_NO_THROW(outcome = DecodeUk(row.text));
        if (!outcome.validDateTime) {
            EXPECT_TRUE(outcome.date == 0.0 || outcome.date == Day(2026, 12, 9));
        }
    }
    EXPECT_LE(collector.messages.size(), 1U);
}

TEST(VorlanDecodeDate, mergedNumbersBeyond16Bits_doNotWrapIntoAPlausibleYear) {
    // 20 * 100 + 20 + 65535 = 67555, which 16 bits would wrap to 2019.
    EXPECT_FALSE(DecodeUk("1 January twenty twenty 65535th").validDateTime);
}

// Locale shapes the long date form must survive: the order of the short date, and day and month
// names with blanks, dots, digits, accents, or spelt like the decoder's own words.
struct LocaleShape {
    const char* meaning;
    const char* shortDateFormat;
    const char* dateSeparator;
    std::array<std::string, 7> longDayNames; // Sunday first
    std::array<std::string, 7> shortDayNames;
    std::array<std::string, 12> longMonthNames;
    std::array<std::string, 12> shortMonthNames;
};

FormatSettings SettingsOfShape(const LocaleShape& shape) {
    FormatSettings settings = UnitedKingdomSettings();
    settings.shortDateFormat = shape.shortDateFormat;
    settings.dateSeparator = shape.dateSeparator;
    settings.longDayNames = shape.longDayNames;
    settings.shortDayNames = shape.shortDayNames;
    settings.longMonthNames = shape.longMonthNames;
    settings.shortMonthNames = shape.shortMonthNames;
    return settings;
}

// clang-format off
const LocaleShape kLocaleShapes[] = {
    {"year first (Swedish)", "yyyy/mm/dd", "-",
     {"söndag", "måndag", "tisdag", "onsdag", "torsdag", "fredag", "lördag"},
     {"sön", "mån", "tis", "ons", "tors", "fre", "lör"},
     {"januari", "februari", "mars", "april", "maj", "juni", "juli", "augusti", "september", "oktober",
      "november", "december"},
     {"jan.", "feb.", "mars", "apr.", "maj", "juni", "juli", "aug.", "sep.", "okt.", "nov.", "dec."}},
    {"year first, month names with digits (Japanese)", "yyyy/mm/dd", "/",
     {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"},
     {"日", "月", "火", "水", "木", "金", "土"},
     {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"},
     {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"}},
    {"year first, a dot after the day (Hungarian)", "yyyy/mm/dd.", ". ",
     {"vasárnap", "hétfő", "kedd", "szerda", "csütörtök", "péntek", "szombat"},
     {"V", "H", "K", "Sze", "Cs", "P", "Szo"},
     {"január", "február", "március", "április", "május", "június", "július", "augusztus",
      "szeptember", "október", "november", "december"},
     {"jan.", "febr.", "márc.", "ápr.", "máj.", "jún.", "júl.", "aug.", "szept.", "okt.", "nov.", "dec."}},
    {"year first, month names like M01 (the root locale)", "yyyy/mm/dd", "-",
     {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
     {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
     {"M01", "M02", "M03", "M04", "M05", "M06", "M07", "M08", "M09", "M10", "M11", "M12"},
     {"M01", "M02", "M03", "M04", "M05", "M06", "M07", "M08", "M09", "M10", "M11", "M12"}},
    {"day names of two words, one a month name (Welsh)", "dd/mm/yyyy", "/",
     {"Dydd Sul", "Dydd Llun", "Dydd Mawrth", "Dydd Mercher", "Dydd Iau", "Dydd Gwener", "Dydd Sadwrn"},
     {"Sul", "Llun", "Maw", "Mer", "Iau", "Gwen", "Sad"},
     {"Ionawr", "Chwefror", "Mawrth", "Ebrill", "Mai", "Mehefin", "Gorffennaf", "Awst", "Medi", "Hydref",
      "Tachwedd", "Rhagfyr"},
     {"Ion", "Chwef", "Maw", "Ebr", "Mai", "Meh", "Gorff", "Awst", "Medi", "Hyd", "Tach", "Rhag"}},
    {"month names with a preposition and an apostrophe (Catalan)", "d/m/yyyy", "/",
     {"diumenge", "dilluns", "dimarts", "dimecres", "dijous", "divendres", "dissabte"},
     {"dg.", "dl.", "dt.", "dc.", "dj.", "dv.", "ds."},
     {"de gener", "de febrer", "de març", "d’abril", "de maig", "de juny", "de juliol", "d’agost",
      "de setembre", "d’octubre", "de novembre", "de desembre"},
     {"de gen.", "de febr.", "de març", "d’abr.", "de maig", "de juny", "de jul.", "d’ag.", "de set.",
      "d’oct.", "de nov.", "de des."}},
    {"a short day name that is a short month name (Spanish)", "d/m/yyyy", "/",
     {"domingo", "lunes", "martes", "miércoles", "jueves", "viernes", "sábado"},
     {"dom", "lun", "mar", "mié", "jue", "vie", "sáb"},
     {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre", "octubre",
      "noviembre", "diciembre"},
     {"ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sept", "oct", "nov", "dic"}},
    {"names that are the decoder's own words", "m/d/yyyy", "/",
     {"Yesterday", "At", "Of", "End", "Start", "First", "Ago"},
     {"Now", "The", "In", "Time", "This", "Last", "Prev"},
     {"None", "Next", "Last", "Prev", "Day", "Week", "Month", "Year", "Today", "Tomorrow", "After",
      "Before"},
     {"May", "Jan", "Twenty", "One", "Sun", "10:30", "PM", "Into", "Since", "From", "Wks", "Third"}},
};
// clang-format on

// Every day of a leap year (month ends, 29 February and every weekday) and the calendars' ends.
std::vector<DateTime> LongDateSamples() {
    std::vector<DateTime> dates;
    for (DateTime d = Day(2028, 1, 1); d <= Day(2028, 12, 31); ++d)
        dates.push_back(d);
    for (const DateTime d : {Day(1752, 1, 1), Day(1752, 12, 31), Day(1900, 2, 28), Day(2000, 2, 29),
                             Day(3000, 1, 1), Day(3000, 12, 31)})
        dates.push_back(d);
    return dates;
}

TEST(VorlanDecodeDate, decodeDateText_readsBackTheLongDateFormInEveryLocaleShape) {
    const std::vector<DateTime> dates = LongDateSamples();
    for (const LocaleShape& shape : kLocaleShapes) {
        SCOPED_TRACE(shape.meaning);
        const FormatSettings settings = SettingsOfShape(shape);
        const ScopedDateEnvironment environment(settings, std::make_shared<FixedClock>(kNow));
        int failures = 0;
        for (const DateTime date : dates) {
            const std::string text = FormatDateTime("dddd d mmmm yyyy", date, settings);
            DateTime decoded = 0.0;
            try {
                decoded = DecodeDateText(text);
            } catch (const Error&) {
                decoded = -1;
            }
            if (decoded != date && failures++ < 3) ADD_FAILURE() << text << " decodes to " << decoded;
        }
        EXPECT_EQ(failures, 0);
    }
}

// What DecodeDateText answers and what a decoder alone answers: the date, or the error text.
std::string DecodeDateTextAnswer(std::string_view text) {
    try {
        return std::to_string(DecodeDateText(text));
    } catch (const Error& error) {
        return error.what();
    }
}
std::string DecoderAnswer(std::string_view text) {
    TVorlanDecodeDate decoder;
    decoder.SetDateToDecode(text);
    return decoder.ValidDateTime() ? std::to_string(decoder.DecodedDate())
                                   : kUnableToDecodeMessage + std::string(text);
}

TEST(VorlanDecodeDate, decodeDateText_answersAsTheDecoderInDayAndMonthFirstLocales) {
    std::vector<std::string> texts = {
        "Monday 7 December 2026",
        "Tuesday 7 December 2026",
        "monday 7 december 2026",
        "MONDAY 7 DECEMBER 2026",
        " Monday 7 December 2026 ",
        "Monday  7 December 2026",
        "Monday 07 December 2026",
        "Mon 7 Dec 2026",
        "Monday 7 December 26",
        "Monday December 7 2026",
        "Monday, 7 December 2026",
        "Monday 7 December 2026 10:30",
        "Monday 7 December 2026 please",
        "Tuesday 29 February 2028",
        "Tuesday 29 February 2027",
        "Monday 31 November 2026",
        "Saturday 1 January 0050",
        "Friday 1 January 0999",
        "Sunday 1 January 10000",
        "7 December 2026",
        "December 7 2026",
        "21st December 2026",
        "31/12/2026",
        "12/31/2026",
        "tomorrow",
        "3 days ago",
        "next Friday",
        "10:30pm",
        "now",
        "none",
        "",
        "hello",
    };
    // Long dates across the calendars' range with every weekday, each also with the wrong day name.
    const FormatSettings uk = UnitedKingdomSettings();
    for (DateTime d = kSerialOf1Jan1752; d <= kSerialOf31Dec3000; d += 31) {
        texts.push_back(FormatDateTime("dddd d mmmm yyyy", d, uk));
        texts.push_back(uk.longDayNames[static_cast<std::size_t>(DayOfWeek(d) % 7)] +
                        FormatDateTime(" d mmmm yyyy", d, uk));
    }
    for (const FormatSettings& settings : {UnitedKingdomSettings(), UnitedStatesSettings()}) {
        SCOPED_TRACE(settings.shortDateFormat);
        const ScopedDateEnvironment environment(settings, std::make_shared<FixedClock>(kNow));
        int differences = 0;
        for (const std::string& text : texts) {
            const std::string expected = DecoderAnswer(text);
            if (DecodeDateTextAnswer(text) != expected && differences++ < 3)
                ADD_FAILURE() << "\"" << text << "\": " << DecodeDateTextAnswer(text) << " instead of "
                              << expected;
        }
        EXPECT_EQ(differences, 0);
    }
}

// A named-dates file of the test's own, in a temporary folder, read by the shared translator for
// the test's length: the United Kingdom section, on Wednesday 9 December 2026. Its first rows are
// spelt like the short day names (Sun is 1 March 2026, a Sunday, ... Sat is 7 March).
class DecoderWithNamedDates : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        directory_ =
            std::filesystem::temp_directory_path() /
            ("kalendo-decoder-named-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(directory_);
        std::ofstream(directory_ / kNamedDatesFileName)
            << "[United Kingdom]\n"
               "Sun, 2026/03/01\nMon, 2026/03/02\nTue, 2026/03/03\n"
               "Wed, 2026/03/04\nThu, 2026/03/05\nFri, 2026/03/06\n"
               "Sat, 2026/03/07\n"
               "Christmas Day, 2026/12/25\n";
        SetNamedDatesSource(directory_.string(), "United Kingdom");
    }
    void TearDown() override {
        SetNamedDatesSource("", "");
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }

    std::filesystem::path directory_;
    ScopedDateEnvironment environment_{UnitedKingdomSettings(), std::make_shared<FixedClock>(kNow)};
};

TEST_F(DecoderWithNamedDates, aDayNameBesideADate_isLeftToTheDayNameRule) {
    const struct {
        const char* meaning;
        const char* text;
        DateTime expected;
    } rows[] = {
        {"the main window's long date of a Sunday", "Sunday 13 December 2026", Day(2026, 12, 13)},
        {"of a Monday", "Monday 7 December 2026", Day(2026, 12, 7)},
        {"of a Tuesday", "Tuesday 8 December 2026", Day(2026, 12, 8)},
        {"of a Wednesday", "Wednesday 9 December 2026", Day(2026, 12, 9)},
        {"of a Thursday", "Thursday 10 December 2026", Day(2026, 12, 10)},
        {"of a Friday", "Friday 11 December 2026", Day(2026, 12, 11)},
        {"of a Saturday", "Saturday 12 December 2026", Day(2026, 12, 12)},
        {"of a leap day", "Tuesday 29 February 2028", Day(2028, 2, 29)},
        {"a short day name", "Mon 7 December 2026", Day(2026, 12, 7)},
        {"a day name before a short date", "Tue 8/12/2026", Day(2026, 12, 8)},
        {"a day name still moves a date to that weekday", "Saturday 1 January 2027", Day(2027, 1, 2)},
        {"a day name with a day number only", "Fri 18", Day(2026, 12, 18)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.meaning) + ": \"" + row.text + "\"");
        TVorlanDecodeDate decoder;
        decoder.SetDateToDecode(row.text);
        EXPECT_TRUE(decoder.ValidDateTime());
        EXPECT_EQ(decoder.DecodedDate(), row.expected);
        EXPECT_EQ(DecodeDateText(row.text), row.expected);
    }
}

TEST_F(DecoderWithNamedDates, genuineNames_andADayNameAlone_areStillLookedUp) {
    const struct {
        const char* meaning;
        const char* text;
        DateTime expected;
    } rows[] = {
        {"a prefix of the name", "Christmas", Day(2026, 12, 25)},
        {"the whole name", "Christmas Day", Day(2026, 12, 25)},
        {"relative words apply to the named date", "3 days after Christmas", Day(2026, 12, 28)},
        {"a day name before a named date", "Monday after Christmas", Day(2026, 12, 28)},
        {"an entry spelt like a day name, typed alone", "Tue", Day(2026, 3, 3)},
        {"and with a time", "Tue 10:30", At(2026, 3, 3, 10, 30)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.meaning) + ": \"" + row.text + "\"");
        EXPECT_EQ(DecodeDateText(row.text), row.expected);
    }
}

} // namespace
} // namespace kalendo
