#include "cli/CliCommands.h"

#include "dates/NamedDatesLocation.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace kalendo::cli {
namespace {

CliOptions Options(bool json = false, FormatSettings settings = UnitedKingdomSettings()) {
    CliOptions options;
    options.settings = std::move(settings);
    options.clock = std::make_shared<FixedClock>(EncodeDate(2026, 12, 7) + 0.75);
    options.json = json;
    return options;
}

CommandResult RunCommand(CommandFunction command, std::vector<std::string> args,
                         const CliOptions& options = Options()) {
    // --holidays reads the shipped table, whatever the environment points at.
    test_support::SetEnvironmentValue("KALENDO_DATA_DIR", SourceTreeDataDirectory().string());
    return command(options, args);
}

struct Row {
    const char* meaning;
    CommandFunction command;
    std::vector<std::string> args;
    bool json;
    int exitCode;
    const char* output;
};

TEST(CliCommands, answersInTextAndJson) {
    // One row per call, the expected output on the line below it.
    // clang-format off
    const Row rows[] = {
        {"span, both dates", &SpanCommand, {"2024-01-15", "2024-02-14", "--both"}, false, 0,
         "31 Days\n4 Weeks and 3 Days\n0 Months, 4 Weeks and 3 Days\n"
         "0 Years, 1 Months, 0 Weeks and 0 Days\n"},
        {"span as JSON", &SpanCommand, {"2026-12-07", "today"}, true, 0,
         "{\"days\":\"0 Days\",\"weeks\":\"0 Weeks and 0 Days\",\"months\":\"0 Months, 0 Weeks and 0 Days\","
         "\"years\":\"0 Years, 0 Months, 0 Weeks and 0 Days\"}\n"},
        {"span order error", &SpanCommand, {"2026-12-08", "2026-12-07"}, false, 1,
         "--- Date on Left must be before Date on Right ---\n"},
        {"span order error as JSON", &SpanCommand, {"3000-12-31", "1752-01-01"}, true, 1,
         "{\"error\":\"--- Date on Left must be before Date on Right ---\"}\n"},
        {"span at both ends of the range", &SpanCommand, {"1752-01-01", "3000-12-31"}, false, 0,
         "456187 Days\n65169 Weeks and 4 Days\n14987 Months, 4 Weeks and 2 Days\n"
         "1248 Years, 11 Months, 4 Weeks and 2 Days\n"},
        {"add business days from a Saturday", &AddCommand, {"b", "1", "2026-12-05"}, false, 0,
         "2026-12-07\n"},
        {"add days keeps the time", &AddCommand, {"D", "-3", "2026-12-06T15:00:00"}, false, 0,
         "2026-12-03T15:00:00\n"},
        {"add months as JSON", &AddCommand, {"M", "1", "2024-01-31"}, true, 0,
         "{\"serial\":45351,\"iso\":\"2024-02-29\"}\n"},
        {"add with a time as JSON", &AddCommand, {"d", "+1", "1899-12-28T06:00:00"}, true, 0,
         "{\"serial\":-1.25,\"iso\":\"1899-12-29T06:00:00\"}\n"},
        {"add with an unknown unit gives the zero date", &AddCommand, {"days", "5", "2026-12-07"}, false, 0,
         "1899-12-30\n"},
        {"add from today", &AddCommand, {"W", "1", "today"}, false, 0,
         "2026-12-14\n"},
        {"add beyond year 9999", &AddCommand, {"Y", "1", "9999-01-01"}, false, 1,
         ""},
        {"add beyond year 9999 as JSON", &AddCommand, {"Q", "4", "9999-01-01"}, true, 1,
         "{\"error\":\"Invalid argument to date encode\"}\n"},
        {"business days beyond any calendar", &AddCommand, {"B", "2147483647", "2026-12-07"}, false, 1,
         ""},
        {"easter as JSON", &EasterCommand, {"2026"}, true, 0,
         "{\"easter\":\"2026-04-05\",\"lines\":[\"Shrove Tuesday is on Tuesday 17 February\","
         "\"Ash Wednesday is on Wednesday 18 February\",\"Palm Sunday is on Sunday 29 March\","
         "\"Good Friday is on Friday 3 April\",\"Easter Day is on Sunday 5 April\","
         "\"Easter Monday is on Monday 6 April\",\"Ascension Day is on Thursday 14 May\"]}\n"},
        {"week with Monday first is the ISO week", &WeekCommand, {"2021-01-03"}, false, 0,
         "53\n"},
        {"week with Monday first, later in the week", &WeekCommand, {"2026-12-10"}, true, 0,
         "{\"week\":50}\n"},
        {"week with Sunday first", &WeekCommand, {"--first", "sunday", "2026-01-04"}, false, 0,
         "1\n"},
        {"week of the format letter W", &WeekOfYearCommand, {"2000-12-31"}, true, 0,
         "{\"week\":54}\n"},
        {"format with ordinal and week", &FormatCommand, {"dZ mmmm yyyy 'week' W", "2026-03-21"}, false, 0,
         "21st March 2026 week 12\n"},
        {"format as JSON escapes", &FormatCommand, {R"("q""\")", "2026-03-21"}, true, 0,
         "{\"text\":\"q\\\\\"}\n"},
        {"long year", &LongYearCommand, {"2026-12-07"}, false, 0,
         "07/12/2026\n"},
        // Friday 25 December 2026 and Monday 28 December (for Boxing Day on the Saturday) are off.
        {"business days over Christmas", &AddCommand, {"B", "1", "2026-12-24"}, false, 0,
         "2026-12-25\n"},
        {"business days over the United Kingdom's Christmas", &AddCommand,
         {"B", "1", "2026-12-24", "--holidays", "United Kingdom"}, false, 0,
         "2026-12-29\n"},
        {"business days back over Christmas", &AddCommand,
         {"b", "-1", "--holidays", "United Kingdom", "2026-12-29"}, true, 0,
         "{\"serial\":46380,\"iso\":\"2026-12-24\"}\n"},
        {"business days over Australia's Christmas, its section spelt as the file spells it", &AddCommand,
         {"B", "5", "2026-12-21", "--holidays", "Australia"}, false, 0,
         "2026-12-30\n"},
        {"span with business days", &SpanCommand, {"2026-12-21", "2026-12-28", "--both", "--business"}, false, 0,
         "8 Days\n1 Weeks and 1 Days\n0 Months, 1 Weeks and 1 Days\n0 Years, 0 Months, 1 Weeks and 1 Days\n"
         "6 Business Days\n"},
        {"span with business days less holidays", &SpanCommand,
         {"2026-12-21", "2026-12-28", "--business", "--holidays", "United Kingdom"}, false, 0,
         "7 Days\n1 Weeks and 0 Days\n0 Months, 1 Weeks and 0 Days\n0 Years, 0 Months, 1 Weeks and 0 Days\n"
         "3 Business Days\n"},
        {"span with business days as JSON", &SpanCommand,
         {"2026-12-21", "2026-12-28", "--both", "--business", "--holidays", "United Kingdom"}, true, 0,
         "{\"days\":\"8 Days\",\"weeks\":\"1 Weeks and 1 Days\",\"months\":\"0 Months, 1 Weeks and 1 Days\","
         "\"years\":\"0 Years, 0 Months, 1 Weeks and 1 Days\",\"business_days\":4}\n"},
        {"span order error with business days", &SpanCommand, {"2026-12-08", "2026-12-07", "--business"}, false, 1,
         "--- Date on Left must be before Date on Right ---\n"},
    };
    // clang-format on
    for (const Row& row : rows) {
        const CommandResult result = RunCommand(row.command, row.args, Options(row.json));
        EXPECT_EQ(result.exitCode, row.exitCode) << row.meaning << ": " << result.error;
        EXPECT_EQ(result.output, row.output) << row.meaning;
    }
}

TEST(CliCommands, badArgumentsGiveExitTwoAndOneLine) {
    struct BadRow {
        const char* meaning;
        CommandFunction command;
        std::vector<std::string> args;
    };
    // clang-format off
    const BadRow rows[] = {
        {"span without an end", &SpanCommand, {"2026-12-07"}},
        {"span before 1752", &SpanCommand, {"1751-12-31", "2026-12-07"}},
        {"span after 3000", &SpanCommand, {"2026-12-07", "3001-01-01"}},
        {"span with a stray argument", &SpanCommand, {"2026-12-07", "2026-12-08", "--bothe"}},
        {"add without a date", &AddCommand, {"D", "1"}},
        {"add with a count too big for 32 bits", &AddCommand, {"D", "2147483648", "2026-12-07"}},
        {"add with a malformed date", &AddCommand, {"D", "1", "2026-02-30"}},
        {"easter before 1000", &EasterCommand, {"999"}},
        {"easter after 3000", &EasterCommand, {"3001"}},
        {"easter with a word", &EasterCommand, {"year"}},
        {"week with a bad first day", &WeekCommand, {"2026-12-07", "--first", "friday"}},
        {"week with a dangling option", &WeekCommand, {"2026-12-07", "--first"}},
        {"weekofyear without a date", &WeekOfYearCommand, {}},
        {"format without a date", &FormatCommand, {"dd"}},
        {"longyear with two dates", &LongYearCommand, {"2026-12-07", "2026-12-08"}},
        {"holidays for calendar days", &AddCommand, {"D", "1", "2026-12-07", "--holidays", "United Kingdom"}},
        {"holidays of a country the table lacks", &AddCommand, {"B", "1", "2026-12-07", "--holidays", "Atlantis"}},
        {"holidays without their country", &AddCommand, {"B", "1", "2026-12-07", "--holidays"}},
        {"span holidays without business days", &SpanCommand,
         {"2026-12-07", "2026-12-08", "--holidays", "United Kingdom"}},
        {"span holidays of a country the table lacks", &SpanCommand,
         {"2026-12-07", "2026-12-08", "--business", "--holidays", "Atlantis"}},
    };
    // clang-format on
    for (const BadRow& row : rows) {
        const CommandResult result = RunCommand(row.command, row.args);
        EXPECT_EQ(result.exitCode, 2) << row.meaning;
        EXPECT_TRUE(result.output.empty()) << row.meaning;
        EXPECT_FALSE(result.error.empty()) << row.meaning;
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << row.meaning;
    }
}

TEST(CliCommands, holidaysBeyondTheTablesYearsGiveAWarning) {
    const CommandResult far =
        RunCommand(&AddCommand, {"B", "99999", "2026-12-07", "--holidays", "United Kingdom"});
    EXPECT_EQ(far.exitCode, 0);
    EXPECT_EQ(far.warnings,
              std::vector<std::string>{"the holidays of United Kingdom are known from 1990 to 2100 only"});
    const CommandResult span =
        RunCommand(&SpanCommand, {"1989-12-01", "1990-01-02", "--business", "--holidays", "Ireland"});
    EXPECT_EQ(span.warnings,
              std::vector<std::string>{"the holidays of Ireland are known from 1990 to 2100 only"});
    EXPECT_TRUE(RunCommand(&AddCommand, {"B", "-9", "2100-12-31", "--holidays", "Japan"}).warnings.empty());
    EXPECT_TRUE(RunCommand(&AddCommand, {"B", "99999", "2026-12-07"}).warnings.empty())
        << "no holidays asked for";
}

TEST(CliCommands, weekNumbersTheRowThatHoldsTheDate) {
    // Every day of one Monday-first row gets the same number: that of the row's Monday.
    for (int day = 28; day <= 31; ++day)
        EXPECT_EQ(RunCommand(&WeekCommand, {"2026-12-" + std::to_string(day)}).output, "53\n") << day;
    EXPECT_EQ(RunCommand(&WeekCommand, {"2027-01-03"}).output, "53\n");
    EXPECT_EQ(RunCommand(&WeekCommand, {"2027-01-04"}).output, "1\n");
}

} // namespace
} // namespace kalendo::cli
