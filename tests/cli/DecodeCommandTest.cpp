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

Outcome RunLine(const std::vector<std::string>& args) {
    // No named-dates file unless a test brings its own.
    test_support::SetEnvironmentValue("KALENDO_DATA_DIR", "/nonexistent/kalendo-data");
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

    std::ofstream(directory / "DateScan.DAT") << "[New Zealand]\nWaitangi Day, 2026/0x/06\n";
    const Outcome malformed = RunLine(
        On9December({"decode", "--datescan", directory.string(), "--country", "New Zealand", "Waitangi"}));
    EXPECT_EQ(malformed.exitCode, 1);
    EXPECT_NE(malformed.err.find("'0x' is not a valid integer value"), std::string::npos) << malformed.err;
    fs::remove_all(directory);
}

} // namespace
} // namespace kalendo::cli
