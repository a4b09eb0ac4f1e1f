#include "dates/HolidayDataFile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kalendo {
namespace {

CountryHolidayFile Read(const std::string& text) {
    std::istringstream in(text);
    return ReadCountryHolidayFile(in, "XX.txt");
}

const char* const kFile = "; a comment\n"
                          "name 0 h New Year's Day\n"
                          "name 1 o Easter Sunday\n"
                          "name 2 h Regional Day\n"
                          "[XX]\n"
                          "2026 0101:0 0405:1\n"
                          "[XX-A]\n"
                          "2026 +0601:2 -0101:0\n";

TEST(HolidayDataFile, aRegionIsItsCountryWithItsDifferencesAndTheUsersChangesOnTop) {
    const CountryHolidayFile file = Read(kFile);
    EXPECT_EQ(file.problems, std::vector<std::string>{});
    const HolidayChanges changes{{{EncodeDate(2026, 7, 1), "Company Day"}}, {EncodeDate(2026, 6, 1)}};
    const struct {
        const char* place;
        HolidayChanges changes;
        std::vector<NamedDay> rows;
    } rows[] = {
        {"XX",
         {},
         {{EncodeDate(2026, 1, 1), "New Year's Day", false, 1},
          {EncodeDate(2026, 4, 5), "Easter Sunday", true, 2}}},
        {"xx-a",
         {},
         {{EncodeDate(2026, 4, 5), "Easter Sunday", true, 1},
          {EncodeDate(2026, 6, 1), "Regional Day", false, 2}}},
        {"XX-A",
         changes,
         {{EncodeDate(2026, 4, 5), "Easter Sunday", true, 1},
          {EncodeDate(2026, 6, 1), "Regional Day", true, 2},
          {EncodeDate(2026, 7, 1), "Company Day", false, 3}}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PlaceHolidaySection(file, row.place, row.changes).Rows, row.rows) << row.place;
}

TEST(HolidayDataFile, aDamagedLineIsSkippedAndTheRestRead) {
    const CountryHolidayFile file = Read(std::string(kFile) + "2026 0230:0\n"
                                                              "2027 +0101:9 +0102:0\n"
                                                              "name 7 h Out of Turn\n"
                                                              "[XX]\n"
                                                              "20x7 0101:0\n"
                                                              "2028 0101:0\n");
    EXPECT_EQ(file.problems, (std::vector<std::string>{
                                 "XX.txt line 11: 'name 7 h Out of Turn' is no name of the list",
                                 "XX.txt line 13: '20x7' is no year",
                             }));
    EXPECT_EQ(PlaceHolidaySection(file, "XX-A").Problems,
              (std::vector<std::string>{
                  "XX.txt line 9: '0230:0' is neither added (+) nor taken (-)",
                  "XX.txt line 10: '+0101:9' is no day of a known name",
              }))
        << "a subdivision's lines are read with the subdivision";
    EXPECT_EQ(PlaceHolidaySection(file, "XX").Rows.size(), 3U) << "2026's two days and 2028's";
}

} // namespace
} // namespace kalendo
