#include "dates/OperatingSystem.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace kalendo::os {
namespace {

namespace fs = std::filesystem;

TEST(OperatingSystem, namedDatesFolderFollowsTheInstalledTree) {
    const struct {
        const char* meaning;
        std::optional<fs::path> programFile;
        std::optional<std::string> configured;
        std::string expected;
    } rows[] = {
        {"installed under /usr", fs::path("/usr/bin/kalendo-cli"), std::nullopt, "/usr/share/kalendo"},
        {"an installed tree moved elsewhere", fs::path("/tmp/x/usr/bin/kalendo"), std::nullopt,
         "/tmp/x/usr/share/kalendo"},
        {"a program outside a bin folder (the build tree)", fs::path("/work/build/src/cli/kalendo-cli"),
         std::nullopt, "/usr/share/kalendo"},
        {"a folder merely ending in bin", fs::path("/opt/cabin/kalendo"), std::nullopt, "/usr/share/kalendo"},
        {"the system does not tell the program's file", std::nullopt, std::nullopt, "/usr/share/kalendo"},
        {"$KALENDO_DATA_DIR wins", fs::path("/usr/bin/kalendo"), std::string("/srv/dates"), "/srv/dates"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        EXPECT_EQ(fs::path(NamedDatesDirectoryFor(row.programFile, row.configured)), fs::path(row.expected));
    }
}

TEST(OperatingSystem, environmentValuesThatAreEmptyCountAsUnset) {
    test_support::SetEnvironmentValue("KALENDO_TEST_VALUE", "set");
    EXPECT_EQ(EnvironmentValue("KALENDO_TEST_VALUE"), "set");
    test_support::SetEnvironmentValue("KALENDO_TEST_VALUE", "");
    EXPECT_EQ(EnvironmentValue("KALENDO_TEST_VALUE"), std::nullopt);
    EXPECT_EQ(EnvironmentValue("KALENDO_TEST_NEVER_SET"), std::nullopt);
}

TEST(OperatingSystem, namedDatesFolderOfThisSystem) {
#if defined(_WIN32)
    test_support::SetEnvironmentValue("SystemRoot", "D:\\Win");
    EXPECT_EQ(NamedDatesDirectory(), "D:\\Win\\System32");
#else
    test_support::SetEnvironmentValue("KALENDO_DATA_DIR", "/srv/dates");
    EXPECT_EQ(NamedDatesDirectory(), "/srv/dates");
    test_support::SetEnvironmentValue("KALENDO_DATA_DIR", "");
    const std::optional<fs::path> program = ProgramFile();
    ASSERT_TRUE(program.has_value()) << "Linux tells the program's file";
    EXPECT_EQ(program->filename().string().rfind("dates_test", 0), 0U) << *program;
    EXPECT_EQ(NamedDatesDirectory(), NamedDatesDirectoryFor(program, std::nullopt));
#endif
}

TEST(OperatingSystem, localTimeIsTheMachinesZone) {
    // The test environment pins TZ=UTC.
    const std::tm local = LocalTime(1796601600); // 2026-12-07 00:00:00 UTC
    EXPECT_EQ(local.tm_year + 1900, 2026);
    EXPECT_EQ(local.tm_mon + 1, 12);
    EXPECT_EQ(local.tm_mday, 7);
    EXPECT_EQ(local.tm_hour, 0);
    EXPECT_EQ(local.tm_wday, 1) << "a Monday";
}

} // namespace
} // namespace kalendo::os
