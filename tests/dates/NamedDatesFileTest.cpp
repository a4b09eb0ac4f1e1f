#include "dates/NamedDatesFile.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace kalendo {
namespace {

DateTime Day(int y, int m, int d) { return EncodeDate(y, m, d); }

NamedDatesFileSection Read(const std::string& content, std::string_view section) {
    std::istringstream in(content);
    return ReadNamedDatesFileSection(in, section, "DateScan.DAT");
}

TEST(NamedDatesFile, everyYearOfTheSectionIsReadWithItsLineAndKind) {
    const NamedDatesFileSection section = Read("; made by a script\n"
                                               "[Other]\n"
                                               "Other Day, 2026/01/01\n"
                                               "[new zealand] the islands\n"
                                               "Waitangi Day, 1990/02/06\n"
                                               "\n"
                                               "Mother's Day, 2026/05/10 observance\n"
                                               "Christmas Day, 2100-12-25 holiday\n"
                                               "Easter Sunday, 2026/04/05   OBSERVANCE  \n"
                                               "[Next]\n"
                                               "Next Day, 2026/01/01\n",
                                               "New Zealand");
    EXPECT_TRUE(section.Found);
    EXPECT_TRUE(section.Problems.empty());
    const std::vector<NamedDay> expected = {
        {Day(1990, 2, 6), "Waitangi Day", false, 5},
        {Day(2026, 5, 10), "Mother's Day", true, 7},
        {Day(2100, 12, 25), "Christmas Day", false, 8},
        {Day(2026, 4, 5), "Easter Sunday", true, 9},
    };
    EXPECT_EQ(section.Rows, expected);
}

TEST(NamedDatesFile, badRowsAreSkippedWithTheirProblemAndTheRestIsRead) {
    const NamedDatesFileSection section = Read("[Here]\n"
                                               "Good Day, 2026/01/02\n"
                                               "no comma 2026/01/03\n"
                                               "Bad Year, 20x6/01/04\n"
                                               "Bad Month, 2026/1/05\n"
                                               "Short, 2026/01\n"
                                               "Impossible, 2026/02/29\n"
                                               "Year Zero, 0000/01/01\n"
                                               "Also Good, 2027/03/04\n",
                                               "Here");
    ASSERT_EQ(section.Rows.size(), 2U);
    EXPECT_EQ(section.Rows[0].Name, "Good Day");
    EXPECT_EQ(section.Rows[1].Date, Day(2027, 3, 4));
    const std::vector<std::string> expected = {
        "DateScan.DAT line 3: 'no comma 2026/01/03' has no comma before its date",
        "DateScan.DAT line 4: '20x6' is not a valid integer value",
        "DateScan.DAT line 5: '1/' is not a valid integer value",
        "DateScan.DAT line 6: '' is not a valid integer value",
        "DateScan.DAT line 7: '2026/02/29' is no date",
        "DateScan.DAT line 8: '0000/01/01' is no date",
    };
    EXPECT_EQ(section.Problems, expected);
}

TEST(NamedDatesFile, aMissingSectionIsNotFound) {
    const NamedDatesFileSection section = Read("[Here]\nGood Day, 2026/01/02\n", "There");
    EXPECT_FALSE(section.Found);
    EXPECT_TRUE(section.Rows.empty());
    EXPECT_FALSE(Read("", "There").Found);
    EXPECT_TRUE(Read("[There]\n", "There").Found) << "an empty section is still there";
}

TEST(NamedDatesFile, sectionNamesFollowTheCountryExceptAustralia) {
    EXPECT_EQ(NamedDatesSectionName("Australia"), "Austrailia");
    EXPECT_EQ(NamedDatesSectionName("AUSTRALIA"), "Austrailia");
    EXPECT_EQ(NamedDatesSectionName("New Zealand"), "New Zealand");
    EXPECT_EQ(NamedDatesSectionName(""), "");
}

TEST(NamedDatesFile, searchNamesLoseTheirFirstPossessive) {
    EXPECT_EQ(NamedDateSearchName("Mother's Day"), "Mother Day");
    EXPECT_EQ(NamedDateSearchName("ST PATRICK'S DAY"), "ST PATRICK DAY");
    EXPECT_EQ(NamedDateSearchName("Saints' Day's Eve"), "Saints' Day Eve") << "only an apostrophe before s";
    EXPECT_EQ(NamedDateSearchName("'s"), "");
}

} // namespace
} // namespace kalendo
