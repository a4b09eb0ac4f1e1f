#include "dates/NamedDatesFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#ifdef __linux__
#include <sys/resource.h>
#endif

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

// Reads section [Here] of a file whose third line is "Long " and rowLength NUL bytes, a hole
// that takes no disk space, so a row of any length costs no time to make.
NamedDatesFileSection ReadWithLongRow(std::size_t rowLength) {
    const std::string prefix = "[Here]\nGood Day, 2026/01/02\nLong ";
    const auto path =
        std::filesystem::temp_directory_path() / ("kalendo-long-row-" + std::to_string(::getpid()));
    std::ofstream(path, std::ios::binary) << prefix;
    std::filesystem::resize_file(path, prefix.size() + rowLength);
    std::ofstream(path, std::ios::binary | std::ios::app) << "\nAlso Good, 2027/03/04\n[There]\n";
    NamedDatesFileSection section;
    {
        // Closed before the file is removed, which Windows refuses for an open file.
        std::ifstream in(path, std::ios::binary);
        section = ReadNamedDatesFileSection(in, "Here", "DateScan.DAT");
    }
    std::filesystem::remove(path);
    return section;
}

TEST(NamedDatesFile, aRowLongerThanTheLimitIsOneBadRowQuotedShort) {
    for (const std::size_t length : {std::size_t{5000}, std::size_t{50} << 20}) {
        const NamedDatesFileSection section = ReadWithLongRow(length);
        ASSERT_EQ(section.Rows.size(), 2U) << length;
        EXPECT_EQ(section.Rows[1].Line, 4) << "lines after the long one keep their numbers";
        ASSERT_EQ(section.Problems.size(), 1U) << length;
        EXPECT_EQ(section.Problems[0], "DateScan.DAT line 3: 'Long " + std::string(55, ' ') +
                                           "...' is longer than 4096 characters");
    }
    EXPECT_EQ(ReadWithLongRow(kMaxNamedDatesRowLength - 5).Problems,
              std::vector<std::string>{"DateScan.DAT line 3: 'Long " + std::string(55, ' ') +
                                       "...' has no comma before its date"})
        << "a row of the longest length allowed is read as a row";
}

TEST(NamedDatesFile, messagesQuoteAtMostSixtyCharactersNeverCuttingOneInHalf) {
    std::string accents;
    for (int i = 0; i < 70; ++i)
        accents += "\xC3\xA9"; // é
    const NamedDatesFileSection section = Read("[Here]\n" + accents + "\nTab\there\n", "Here");
    ASSERT_EQ(section.Problems.size(), 2U);
    EXPECT_EQ(section.Problems[0],
              "DateScan.DAT line 2: '" + accents.substr(0, 120) + "...' has no comma before its date");
    EXPECT_EQ(section.Problems[1], "DateScan.DAT line 3: 'Tab here' has no comma before its date");
}

TEST(NamedDatesFile, onlyTheFirstProblemsAreKeptAndTheRestCounted) {
    std::string content = "[Here]\n";
    for (int i = 0; i < 1000; ++i)
        content += "bad\n";
    const NamedDatesFileSection section = Read(content, "Here");
    EXPECT_EQ(section.Problems.size(), kMaxKeptNamedDatesProblems);
    EXPECT_EQ(section.Problems.size() + section.MoreProblems, 1000U);
}

#ifdef __linux__
// Run in a child process: the address space is capped at what the process holds plus 32 MB, so a
// reader that keeps the whole file or row dies of it.
[[noreturn]] void ReadALongRowUnderAMemoryLimit() {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const auto limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (32 << 20);
    const rlimit bound{limit, limit};
    ::setrlimit(RLIMIT_AS, &bound);
    const NamedDatesFileSection section = ReadWithLongRow(std::size_t{256} << 20);
    std::exit(section.Rows.size() == 2 && section.Problems.size() == 1 ? 0 : 1);
}

TEST(NamedDatesFileDeathTest, aQuarterGigabyteRowIsReadWithinAFewMegabytes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ReadALongRowUnderAMemoryLimit(), ::testing::ExitedWithCode(0), "");
}
#endif

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
