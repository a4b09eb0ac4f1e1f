#include "cli/DecodeCommand.h"

#include "cli/Cli.h"
#include "dates/DateStringTranslater.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kalendo::cli {
namespace {

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

Outcome RunLine(const std::vector<std::string>& args,
                const std::string& dataDirectory = "/nonexistent/kalendo-data") {
    // A folder without the file: the search goes on to the shipped table of the source tree.
    test_support::SetEnvironmentValue("KALENDO_DATA_DIR", dataDirectory.c_str());
    std::ostringstream out, err;
    const int exitCode = RunCli(args, "en_GB.UTF-8", out, err);
    return {exitCode, out.str(), err.str()};
}

std::vector<std::string> On9December(std::vector<std::string> rest) {
    std::vector<std::string> args = {"--today", "2026-12-09"};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
}

TEST(DecodeCommand, printsTheDateAndTheThreeFlags) {
    const struct {
        const char* meaning;
        std::vector<std::string> args;
        int exitCode;
        const char* out;
    } rows[] = {
        {"words joined by single spaces", On9December({"decode", "next", "Friday"}), 0,
         "2026-12-18\nValidDate=true ValidTime=false ValidDateTime=true\n"},
        {"one quoted argument", On9December({"decode", "3 days ago"}), 0,
         "2026-12-06\nValidDate=true ValidTime=false ValidDateTime=true\n"},
        {"a time", On9December({"decode", "10:30pm"}), 0,
         "2026-12-09T22:30:00\nValidDate=false ValidTime=true ValidDateTime=true\n"},
        {"--now fixes the time of day", On9December({"decode", "--now", "14:25:30", "now"}), 0,
         "2026-12-09T14:25:30\nValidDate=false ValidTime=false ValidDateTime=true\n"},
        {"now without --now is the start of --today", On9December({"decode", "now"}), 0,
         "2026-12-09\nValidDate=false ValidTime=false ValidDateTime=true\n"},
        {"the locale's date order", On9December({"--locale", "en_US", "decode", "7/12/2026"}), 0,
         "2026-07-12\nValidDate=true ValidTime=false ValidDateTime=true\n"},
        {"none", On9December({"decode", "none"}), 0,
         "1899-12-30\nValidDate=true ValidTime=false ValidDateTime=true\n"},
        {"no valid date", On9December({"decode", "tomorrow", "10:30"}), 1,
         "1899-12-30\nValidDate=false ValidTime=false ValidDateTime=false\n"},
        {"JSON", On9December({"--json", "decode", "10:30"}), 0,
         "{\"serial\":46365.4375,\"iso\":\"2026-12-09T10:30:00\",\"valid_date\":false,\"valid_time\":true,"
         "\"valid_datetime\":true}\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        const Outcome outcome = RunLine(row.args);
        EXPECT_EQ(outcome.exitCode, row.exitCode);
        EXPECT_EQ(outcome.out, row.out);
        if (row.exitCode == 0) {
            EXPECT_EQ(outcome.err, "");
        }
    }
    EXPECT_EQ(RunLine(On9December({"decode", "tomorrow", "10:30"})).err,
              "kalendo-cli: Unable to decode the date time : tomorrow 10:30\n");
}

TEST(DecodeCommand, badArgumentsExitWithTwo) {
    const std::vector<std::vector<std::string>> rows = {
        {"decode"},
        {"decode", "--now"},
        {"decode", "--now", "25:00", "now"},
        {"decode", "--now", "10", "now"},
        {"decode", "--now", "10:60", "now"},
        {"decode", "--now", "1:2:3:4", "now"},
        {"decode", "--now", "+1:30", "now"},
        {"decode", "--now", "10::30", "now"},
        {"decode", "--datescan"},
        {"decode", "now", "--country"},
    };
    for (const auto& args : rows) {
        const Outcome outcome = RunLine(args);
        EXPECT_EQ(outcome.exitCode, 2) << args.size();
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("kalendo-cli: "), std::string::npos);
    }
}

TEST(DecodeCommand, namedDatesComeFromTheGivenFolderAndCountry) {
    namespace fs = std::filesystem;
    const fs::path directory =
        fs::temp_directory_path() / ("kalendo-cli-datescan-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    std::ofstream(directory / "DateScan.DAT") << "[New Zealand]\nWaitangi Day, 2026/02/06\n[Austrailia]\n"
                                                 "Australia Day, 2026/01/26\n";
    const std::string before = SharedDateStringTranslater().DataDirectory();

    const Outcome found = RunLine(
        On9December({"decode", "--datescan", directory.string(), "--country", "New Zealand", "Waitangi"}));
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.out, "2026-02-06\nValidDate=true ValidTime=false ValidDateTime=true\n");
    EXPECT_EQ(SharedDateStringTranslater().DataDirectory(), before) << "the shared source is put back";
    EXPECT_EQ(RunLine(On9December({"decode", "--datescan", directory.string(), "Waitangi"})).exitCode, 1)
        << "the locale's country, United Kingdom, has no section";

    std::ofstream(directory / "DateScan.DAT")
        << "[New Zealand]\nWaitangi Day, 2026/0x/06\nAnzac Day, 2026/04/25\n";
    const Outcome malformed = RunLine(
        On9December({"decode", "--datescan", directory.string(), "--country", "New Zealand", "Waitangi"}));
    EXPECT_EQ(malformed.exitCode, 1);
    EXPECT_EQ(malformed.err, "kalendo-cli: " + (directory / "DateScan.DAT").string() +
                                 " line 2: '0x' is not a valid integer value. The row is skipped.\n"
                                 "kalendo-cli: Unable to decode the date time : Waitangi\n");
    const Outcome rest = RunLine(On9December(
        {"decode", "--datescan", directory.string(), "--country", "New Zealand", "Anzac", "Day"}));
    EXPECT_EQ(rest.out, "2026-04-25\nValidDate=true ValidTime=false ValidDateTime=true\n")
        << "the other rows still work";
    EXPECT_EQ(rest.err, "") << "reported once";
    fs::remove_all(directory);
}

TEST(DecodeCommand, theShippedTableIsFoundWithoutSetUp) {
    const Outcome christmas =
        RunLine({"--today", "2026-06-01", "decode", "--country", "United Kingdom", "christmas", "day"});
    EXPECT_EQ(christmas.exitCode, 0) << christmas.err;
    EXPECT_EQ(christmas.out, "2026-12-25\nValidDate=true ValidTime=false ValidDateTime=true\n");
    EXPECT_EQ(christmas.err, "");
}

TEST(DecodeCommand, theCountryDefaultsToTheLocales) {
    const struct {
        const char* locale;
        const char* text;
        const char* date;
    } rows[] = {
        {"en_GB", "boxing day", "2026-12-26"},       {"en_US", "thanksgiving", "2026-11-26"},
        {"en_IE", "st patrick's day", "2026-03-17"}, {"en_CA", "canada day", "2026-07-01"},
        {"en_AU", "australia day", "2026-01-26"},    {"en_NZ", "waitangi day", "2026-02-06"},
        {"en_ZA", "freedom day", "2026-04-27"},      {"en_IN", "republic day", "2026-01-26"},
        {"de_DE", "christmas", "2026-12-25"},        {"fr_FR", "bastille day", "2026-07-14"},
        {"nl_NL", "king's day", "2026-04-27"},       {"sv_SE", "midsummer day", "2026-06-20"},
        {"ja_JP", "culture day", "2026-11-03"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale);
        const Outcome outcome =
            RunLine({"--locale", row.locale, "--today", "2026-06-01", "decode", row.text});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(outcome.out.substr(0, 10), row.date);
    }
    EXPECT_EQ(RunLine({"--locale", "en_US", "--today", "2026-06-01", "decode", "boxing", "day"}).exitCode, 1)
        << "the United States keep no Boxing Day";
}

TEST(DecodeCommand, aUsersOwnTableInKalendoDataDirWinsOverTheShippedOne) {
    namespace fs = std::filesystem;
    const fs::path directory = fs::temp_directory_path() / ("kalendo-cli-own-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    std::ofstream(directory / "DateScan.DAT") << "[United Kingdom]\nChristmas Day, 2026/12/24\n";
    const Outcome own =
        RunLine({"--today", "2026-06-01", "decode", "--country", "United Kingdom", "christmas", "day"},
                directory.string());
    EXPECT_EQ(own.out.substr(0, 10), "2026-12-24");
    fs::remove_all(directory);
}

} // namespace
} // namespace kalendo::cli
