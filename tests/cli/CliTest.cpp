#include "cli/Cli.h"
#include "KalendoVersion.h"

#include "dates/DateEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <vector>

namespace kalendo::cli {
namespace {

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

Outcome RunLine(const std::vector<std::string>& args, std::string_view environmentLocale = "C.UTF-8") {
    std::ostringstream out, err;
    const int exitCode = RunCli(args, environmentLocale, out, err);
    return {exitCode, out.str(), err.str()};
}

TEST(Cli, globalOptionsComeBeforeTheCommand) {
    const Outcome us = RunLine({"--locale", "en_US", "--today", "2026-12-07", "--json", "longyear", "today"});
    EXPECT_EQ(us.exitCode, 0);
    EXPECT_EQ(us.out, "{\"text\":\"12/7/2026\"}\n");
    EXPECT_TRUE(us.err.empty());

    EXPECT_EQ(RunLine({"longyear", "2026-12-07"}, "en_US.UTF-8").out, "12/7/2026\n")
        << "locale from the environment";
    EXPECT_EQ(RunLine({"longyear", "2026-12-07"}, "POSIX").out, "07/12/2026\n")
        << "POSIX falls back to en_GB";
    EXPECT_EQ(RunLine({"--locale", "en-gb", "longyear", "2026-12-07"}, "en_US").out, "07/12/2026\n")
        << "--locale wins";
    EXPECT_EQ(RunLine({"--today", "2024-02-29", "add", "y", "1", "today"}).out, "2025-02-28\n");
    EXPECT_EQ(RunLine({"--locale", "ja_JP", "longyear", "2026-12-07"}).out, "07/12/2026\n")
        << "a country without a table of its own reads the United Kingdom formats";
    const Outcome help = RunLine({"--json", "--help", "frobnicate"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, UsageText());
}

TEST(Cli, helpAndVersionGoToStdoutAndExitZero) {
    const std::string kVersionLine = std::string("kalendo-cli ") + kVersion + "\n";
    const struct {
        const char* meaning;
        std::vector<std::string> args;
        std::string out;
    } rows[] = {
        {"--help", {"--help"}, UsageText()},
        {"-h", {"-h"}, UsageText()},
        {"--version", {"--version"}, kVersionLine},
        {"the first of the two wins", {"--version", "--help"}, kVersionLine},
        {"what follows --version is not read", {"--version", "--locale"}, kVersionLine},
        {"after other options", {"--locale", "en_US", "--version"}, kVersionLine},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        const Outcome outcome = RunLine(row.args);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_EQ(outcome.err, "");
    }
    const std::string usage = UsageText();
    EXPECT_EQ(usage.rfind("Usage: kalendo-cli ", 0), 0U);
    for (const char* option : {"--help", "--version", "--locale", "--today", "--json"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    EXPECT_EQ(RunLine({"--version", "--locale"}).exitCode, 0);
    EXPECT_EQ(RunLine({"easter", "--version"}).exitCode, 2) << "a command's arguments are its own";
}

TEST(Cli, badOptionsAndCommandsGiveExitTwoAndOneLineOnStderr) {
    const std::vector<std::vector<std::string>> rows = {
        {},
        {"--json"},
        {"frobnicate"},
        {"--locale"},
        {"--locale", "xx_YY", "easter", "2026"},
        {"--today"},
        {"--today", "today", "easter", "2026"},
        {"--today", "2026-02-30", "easter", "2026"},
        {"--verbose", "easter", "2026"},
        {"SPAN", "2026-01-01", "2026-01-02"},
        {"easter", "2026", "2027"},
    };
    for (const auto& args : rows) {
        const Outcome outcome = RunLine(args);
        const std::string shown = args.empty() ? "(nothing)" : args.front();
        EXPECT_EQ(outcome.exitCode, 2) << shown;
        EXPECT_TRUE(outcome.out.empty()) << shown;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1)
            << shown << ": " << outcome.err;
        EXPECT_EQ(outcome.err.rfind("kalendo-cli: ", 0), 0U) << shown;
        EXPECT_TRUE(outcome.err.ends_with(" (see kalendo-cli --help)\n")) << shown << ": " << outcome.err;
    }
}

TEST(Cli, orderErrorExitsOne) {
    const Outcome outcome = RunLine({"span", "2026-12-08", "2026-12-07", "--both"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "--- Date on Left must be before Date on Right ---\n");
}

TEST(Cli, theDateEnvironmentIsRestoredAfterTheRun) {
    const ScopedDateEnvironment before(UnitedKingdomSettings(), std::make_shared<FixedClock>(100.0));
    RunLine({"--locale", "en_US", "--today", "2026-12-07", "longyear", "today"});
    EXPECT_EQ(CurrentFormatSettings().shortDateFormat, UnitedKingdomSettings().shortDateFormat);
    EXPECT_EQ(CurrentClock().Now(), 100.0);
}

TEST(Cli, hostileArgumentsNeverCrashAndAlwaysGiveAKnownExit) {
    const std::vector<std::string> pool = {
        "span",
        "add",
        "easter",
        "week",
        "weekofyear",
        "format",
        "longyear",
        "--json",
        "--locale",
        "--today",
        "--both",
        "--first",
        "monday",
        "sunday",
        "en_US",
        "today",
        "2026-12-07",
        "1752-01-01",
        "3000-12-31",
        "9999-12-31",
        "0001-01-01",
        "0001-01-01T00:00:01",
        "2147483647",
        "-2147483648",
        "1000",
        "3000",
        "B",
        "q",
        "",
        "-",
        "--",
        "W",
        "Z",
        "'",
        "\"",
        "dddd",
        "yyyyyyyy",
        "99999-01-01",
        "\xff\xfe",
        std::string(1, '\0'),
        std::string(5000, 'W'),
    };
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    std::uniform_int_distribution<int> length(0, 6);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::string> args;
        for (int n = length(random); n > 0; --n) {
            std::string arg = pool[pick(random)];
            if (round % 3 == 0 && !arg.empty())
                arg[static_cast<std::size_t>(byte(random)) % arg.size()] = static_cast<char>(byte(random));
            args.push_back(arg);
        }
        const Outcome outcome = RunLine(args);
        ASSERT_TRUE(outcome.exitCode >= 0 && outcome.exitCode <= 2) << round;
        if (outcome.exitCode == 2) {
            ASSERT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << round;
        }
    }
}

} // namespace
} // namespace kalendo::cli
