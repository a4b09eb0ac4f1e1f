#include "cli/HolidaysCommand.h"
#include "cli/CliCommands.h"
#include "cli/DecodeCommand.h"

#include "dates/NamedDatesLocation.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace kalendo::cli {
namespace {

CommandResult RunCommandLine(CommandFunction command, std::vector<std::string> args, bool json = false) {
    test_support::SetEnvironmentValue("KALENDO_DATA_DIR", SourceTreeDataDirectory().string());
    CliOptions options;
    options.clock = std::make_shared<FixedClock>(EncodeDate(2026, 12, 7));
    options.json = json;
    return command(options, args);
}

TEST(HolidaysCommand, aLocalesCountryOutsideTheNamedDatesFileIsItsPlaceByDefault) {
    test_support::SetEnvironmentValue("KALENDO_DATA_DIR", SourceTreeDataDirectory().string());
    CliOptions options;
    options.clock = std::make_shared<FixedClock>(EncodeDate(2026, 6, 1));
    options.settings = *SettingsForLocaleName("pt_BR");
    EXPECT_NE(
        HolidaysCommand(options, std::vector<std::string>{"2026"}).output.find("2026-04-21  Tiradentes"),
        std::string::npos);
    const std::vector<std::string> words{"tiradentes"};
    EXPECT_TRUE(DecodeCommand(options, words).output.starts_with("2026-04-21")) << "Brazil's named days";
}

TEST(HolidaysCommand, everyFormOfAPlaceNamesTheSamePlace) {
    const std::pair<const char*, const char*> rows[] = {
        {"GB-ENG", "GB-ENG"},
        {"gb-eng", "GB-ENG"},
        {"United Kingdom/England", "GB-ENG"},
        {"united kingdom/scotland", "GB-SCT"},
        {"United Kingdom", "GB"},
        {"Austrailia", "AU"},
        {"Australia/New South Wales", "AU-NSW"},
        {"Germany/Bayern", "DE-BY"},
        {"Germany/Bavaria/Augsburg", "DE-BY-A"},
        {"United States", "US"},
    };
    for (const auto& [place, code] : rows) {
        const CommandResult result = RunCommandLine(&HolidaysCommand, {"2026", "--in", place}, true);
        EXPECT_EQ(result.exitCode, 0) << place << ": " << result.error;
        EXPECT_TRUE(result.output.starts_with("{\"place\":{\"code\":\"" + std::string(code) + "\""))
            << place << ": " << result.output.substr(0, 80);
    }
}

TEST(HolidaysCommand, listsAPlacesYearInDateOrderAsTextAndJson) {
    const CommandResult text = RunCommandLine(&HolidaysCommand, {"2026", "--in", "GB-ENG"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.output.find("2026-08-31  Summer Bank Holiday\n"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("2026-04-05  Easter Sunday (not a day off)\n"), std::string::npos);
    const CommandResult json = RunCommandLine(&HolidaysCommand, {"2026", "--in", "GB-SCT"}, true);
    EXPECT_TRUE(
        json.output.starts_with("{\"place\":{\"code\":\"GB-SCT\",\"name\":\"United Kingdom/Scotland\"},"
                                "\"year\":2026,\"days\":[{\"date\":\"2026-01-01\",\"name\":\"New "
                                "Year's Day\",\"day_off\":true},{\"date\":\"2026-01-02\","))
        << json.output.substr(0, 200);
    EXPECT_TRUE(json.output.ends_with("\"day_off\":true}]}\n"));
    const CommandResult india = RunCommandLine(&HolidaysCommand, {"2026", "--in", "IN"}, true);
    EXPECT_NE(india.output.find(",\"partial\":\"Only India's national holidays"), std::string::npos);
    ASSERT_EQ(india.warnings.size(), 1U);
    EXPECT_TRUE(india.warnings[0].starts_with("the list of India is partial."));
}

TEST(HolidaysCommand, businessDaysSkipTheRegionsDaysOff) {
    EXPECT_EQ(RunCommandLine(&AddCommand, {"B", "10", "2026-08-24", "--holidays", "GB-ENG"}).output,
              "2026-09-08\n");
    EXPECT_EQ(RunCommandLine(&AddCommand, {"B", "10", "2026-08-24", "--holidays", "GB-SCT"}).output,
              "2026-09-07\n")
        << "Scotland's summer holiday is in early August";
    const CommandResult ontario =
        RunCommandLine(&SpanCommand, {"2026-05-15", "2026-05-19", "--business", "--holidays", "CA-ON"}, true);
    EXPECT_NE(ontario.output.find("\"business_days\":1}"), std::string::npos) << "Victoria Day";
}

TEST(HolidaysCommand, placesListsEveryCountryAndRegion) {
    const CommandResult all = RunCommandLine(&PlacesCommand, {});
    EXPECT_EQ(std::count(all.output.begin(), all.output.end(), '\n'), 628);
    EXPECT_NE(all.output.find("\nDE  Germany\n"), std::string::npos);
    EXPECT_NE(all.output.find("\n  DE-BY  Bavaria\n"), std::string::npos);
    EXPECT_EQ(
        RunCommandLine(&PlacesCommand, {"GB"}, true).output,
        "{\"places\":[{\"code\":\"GB\",\"name\":\"United Kingdom\",\"regions\":["
        "{\"code\":\"GB-ALD\",\"name\":\"Alderney\"},{\"code\":\"GB-ENG\",\"name\":\"England\"},"
        "{\"code\":\"GB-NIR\",\"name\":\"Northern Ireland\"},{\"code\":\"GB-SCT\",\"name\":\"Scotland\"},"
        "{\"code\":\"GB-WLS\",\"name\":\"Wales\"}]}]}\n");
}

TEST(HolidaysCommand, anUnknownPlaceIsABadArgumentThatSuggestsPlaces) {
    for (const std::string place : {"Atlantis", "GB-XYZ", "United Kingdom/Atlantis"}) {
        const CommandResult result = RunCommandLine(&HolidaysCommand, {"2026", "--in", place});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.error.find("unknown place '" + place + "'"), std::string::npos) << result.error;
        EXPECT_NE(result.error.find("places"), std::string::npos);
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
    }
    EXPECT_EQ(RunCommandLine(&AddCommand, {"B", "1", "2026-12-07", "--holidays", "Atlantis"}).exitCode, 2);
    EXPECT_EQ(RunCommandLine(&PlacesCommand, {"GB-ENG"}).exitCode, 2) << "a region is no country";
    EXPECT_EQ(RunCommandLine(&HolidaysCommand, {"1751"}).exitCode, 2);
}

} // namespace
} // namespace kalendo::cli
