#include "dates/HolidayTable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

namespace kalendo {
namespace {

namespace fs = std::filesystem;

DateTime Day(int y, int m, int d) { return EncodeDate(y, m, d); }

// Rows over 1990 to 1999 from a fixed pseudo-random walk: runs of neighbouring days, several
// rows on one date, a year with none (1995), observances among them, lines out of date order.
std::vector<NamedDay> ScatteredRows() {
    std::vector<NamedDay> rows;
    std::uint32_t state = 12345;
    const auto next = [&] { return state = state * 1103515245U + 12345U; };
    int line = 1;
    for (DateTime day = Day(1990, 1, 1); day <= Day(1999, 12, 31); day += 1) {
        if (DecodeDate(day).year == 1995) continue;
        const std::uint32_t draw = next() >> 16;
        const int rowsOnTheDay = draw % 11 == 0 ? 2 : (draw % 5 == 0 ? 1 : 0);
        for (int k = 0; k < rowsOnTheDay; ++k)
            rows.push_back({day, "Day " + std::to_string(line), (next() >> 16) % 3 == 0, line++});
    }
    // File order need not be date order.
    std::reverse(rows.begin() + 10, rows.begin() + 40);
    return rows;
}

TEST(HolidayIndex, monthsAndDaysMatchAFilterOverEveryRow) {
    const std::vector<NamedDay> rows = ScatteredRows();
    const HolidayIndex index(rows);
    for (int year = 1988; year <= 2001; ++year) {
        for (int month = 1; month <= 12; ++month) {
            std::vector<NamedDay> expected;
            for (const NamedDay& row : rows)
                if (DecodeDate(row.Date).year == year && DecodeDate(row.Date).month == month)
                    expected.push_back(row);
            std::sort(expected.begin(), expected.end(), [](const NamedDay& a, const NamedDay& b) {
                return a.Date != b.Date ? a.Date < b.Date : a.Line < b.Line;
            });
            const std::span<const NamedDay> found = index.InMonth(year, month);
            ASSERT_EQ(std::vector<NamedDay>(found.begin(), found.end()), expected) << year << "-" << month;
        }
    }
    for (DateTime day = Day(1989, 12, 1); day <= Day(2000, 1, 31); day += 1) {
        std::vector<NamedDay> expected;
        for (const NamedDay& row : rows)
            if (row.Date == day) expected.push_back(row);
        std::sort(expected.begin(), expected.end(),
                  [](const NamedDay& a, const NamedDay& b) { return a.Line < b.Line; });
        const std::span<const NamedDay> found = index.On(day + 0.75);
        ASSERT_EQ(std::vector<NamedDay>(found.begin(), found.end()), expected) << day;
        ASSERT_EQ(index.Contains(day), !expected.empty());
    }
}

TEST(HolidayIndex, askingOutsideTheTableOrTheCalendarFindsNothing) {
    const HolidayIndex index({{Day(2026, 12, 25), "Christmas Day", false, 1}});
    EXPECT_EQ(index.InMonth(2026, 12).size(), 1U);
    EXPECT_TRUE(index.InMonth(2026, 11).empty());
    EXPECT_TRUE(index.InMonth(2027, 1).empty());
    EXPECT_TRUE(index.InMonth(2026, 0).empty());
    EXPECT_TRUE(index.InMonth(2026, 13).empty());
    EXPECT_TRUE(index.InMonth(-5, 12).empty());
    EXPECT_TRUE(index.InMonth(std::numeric_limits<int>::max(), 12).empty());
    EXPECT_TRUE(index.On(std::nan("")).empty());
    EXPECT_TRUE(index.On(1e12).empty());
    EXPECT_TRUE(index.On(-1e12).empty());
    EXPECT_TRUE(HolidayIndex().InMonth(2026, 12).empty());
    EXPECT_TRUE(HolidayIndex().On(Day(2026, 12, 25)).empty());
}

NamedDatesFileSection Section(std::vector<NamedDay> rows) {
    NamedDatesFileSection section;
    section.Found = true;
    section.Rows = std::move(rows);
    return section;
}

TEST(HolidayTable, holidaysAreTheDaysOffAndObservancesStandApart) {
    // 2026-12-26 is a Saturday, 2026-05-10 a Sunday.
    const HolidayTable table(Section({
        {Day(2026, 12, 25), "Christmas Day", false, 1},
        {Day(2026, 12, 26), "Boxing Day", false, 2},
        {Day(2026, 12, 28), "Boxing Day (substitute day)", false, 3},
        {Day(2026, 5, 10), "Mother's Day", true, 4},
        {Day(2026, 2, 14), "Valentine's Day", true, 5},
        {Day(2031, 2, 14), "Valentine's Day", true, 6},
    }));
    EXPECT_TRUE(table.SectionFound());
    EXPECT_TRUE(table.IsHoliday(Day(2026, 12, 28)));
    EXPECT_FALSE(table.IsHoliday(Day(2026, 2, 14))) << "an observance is no day off";
    EXPECT_EQ(table.Holidays().InMonth(2026, 12).size(), 3U);
    ASSERT_EQ(table.Observances().On(Day(2026, 5, 10)).size(), 1U);
    EXPECT_EQ(table.Observances().On(Day(2026, 5, 10))[0].Name, "Mother's Day");
    EXPECT_EQ(table.DaysOff().Days(),
              (std::vector<std::int64_t>{static_cast<std::int64_t>(Day(2026, 12, 25)),
                                         static_cast<std::int64_t>(Day(2026, 12, 28))}))
        << "a Saturday holiday and observances move no business day";
    EXPECT_EQ(table.CoveredYears(), (YearRange{2026, 2031})) << "observances count for the years covered";
}

TEST(HolidayTable, namedDatesOfAYearKeepFileOrderAndDropPossessives) {
    const HolidayTable table(Section({
        {Day(2026, 12, 25), "Christmas Day", false, 1},
        {Day(2026, 1, 1), "New Year's Day", false, 2},
        {Day(2026, 12, 24), "Christmas Eve", true, 3},
        {Day(2027, 1, 1), "New Year's Day", false, 4},
        {Day(2026, 12, 28), "Christmas Day (substitute day)", false, 5},
    }));
    const std::vector<TVorlanNamedDate> expected = {
        {"Christmas Day", Day(2026, 12, 25)},
        {"New Year Day", Day(2026, 1, 1)},
        {"Christmas Eve", Day(2026, 12, 24)},
        {"Christmas Day (substitute day)", Day(2026, 12, 28)},
    };
    EXPECT_EQ(table.NamedDatesOfYear(2026), expected);
    EXPECT_TRUE(table.NamedDatesOfYear(2030).empty());
}

TEST(HolidayTable, anEmptyOrMissingSectionCoversNoYears) {
    EXPECT_FALSE(HolidayTable().SectionFound());
    EXPECT_FALSE(HolidayTable().CoveredYears());
    EXPECT_FALSE(HolidayTable(Section({})).CoveredYears());
    EXPECT_TRUE(HolidayTable(Section({})).SectionFound());
}

TEST(HolidayTable, problemReportsNameTheFirstBadRowAndCountTheRest) {
    EXPECT_EQ(NamedDatesProblemReport({}, "Here"), "");
    EXPECT_EQ(NamedDatesProblemReport({"f line 3: 'x' is not a valid integer value"}, "Here"),
              "f line 3: 'x' is not a valid integer value. The row is skipped.");
    EXPECT_EQ(NamedDatesProblemReport({"f line 3: bad", "f line 9: bad", "f line 12: bad"}, "Here"),
              "f line 3: bad. This row and 2 more of section [Here] are skipped.");
}

// A folder of its own holding DateScan.DAT, and a hook that records what is reported.
class NamedDatesCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        directory_ = fs::temp_directory_path() /
                     ("kalendo-holidays-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::create_directories(directory_);
        previous_ =
            SetNamedDatesMessageHook([this](const std::string& message) { reports_.push_back(message); });
    }
    void TearDown() override {
        SetNamedDatesMessageHook(previous_);
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }
    std::string Path() const { return (directory_ / "DateScan.DAT").string(); }
    void WriteFile(const std::string& content) {
        std::ofstream(Path(), std::ios::binary | std::ios::trunc) << content;
    }

    fs::path directory_;
    NamedDatesCache cache_;
    std::vector<std::string> reports_;
    NamedDatesMessageHook previous_;
};

TEST_F(NamedDatesCacheTest, eachSectionIsReadOnceWhileTheFileStaysAsItWas) {
    WriteFile("[A]\nOne, 2026/01/01\n[B]\nTwo, 2026/01/02\n");
    const std::shared_ptr<const HolidayTable> a = cache_.Section(Path(), "A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Holidays().All().size(), 1U);
    EXPECT_EQ(cache_.Section(Path(), "a"), a) << "headers are compared ignoring case";
    EXPECT_EQ(cache_.FileReads(), 1);
    EXPECT_EQ(cache_.Section(Path(), "B")->Holidays().All()[0].Name, "Two");
    EXPECT_EQ(cache_.FileReads(), 2);
    for (int lookup = 0; lookup < 5; ++lookup) {
        cache_.Section(Path(), "A");
        cache_.Section(Path(), "B");
    }
    EXPECT_EQ(cache_.FileReads(), 2);
}

TEST_F(NamedDatesCacheTest, aChangedFileIsReadAgainAndAVanishedOneKeepsItsTable) {
    EXPECT_EQ(cache_.Section(Path(), "A"), nullptr) << "no file yet";
    WriteFile("[A]\nOne, 2026/01/01\n");
    const std::shared_ptr<const HolidayTable> first = cache_.Section(Path(), "A");
    ASSERT_NE(first, nullptr);
    WriteFile("[A]\nOne, 2026/01/01\nTwo, 2026/01/02\n");
    const std::shared_ptr<const HolidayTable> second = cache_.Section(Path(), "A");
    EXPECT_NE(second, first);
    EXPECT_EQ(second->Holidays().All().size(), 2U);
    fs::remove(Path());
    EXPECT_EQ(cache_.Section(Path(), "A"), second);
    EXPECT_EQ(cache_.FileReads(), 2);
}

TEST_F(NamedDatesCacheTest, aFolderWhereTheFileShouldBeIsNoFile) {
    fs::create_directories(Path());
    EXPECT_EQ(cache_.Section(Path(), "A"), nullptr);
    EXPECT_EQ(cache_.FileReads(), 0);
    EXPECT_TRUE(reports_.empty());
}

TEST_F(NamedDatesCacheTest, badRowsAreReportedOncePerReadingWithTheFileAndLine) {
    WriteFile("[A]\nOne, 2026/01/01\nTwo, 2026/0x/02\nThree, 2026/01/03\n[B]\nbroken\n");
    const std::shared_ptr<const HolidayTable> a = cache_.Section(Path(), "A");
    EXPECT_EQ(a->Holidays().All().size(), 2U) << "the rows around the bad one still work";
    for (int lookup = 0; lookup < 3; ++lookup)
        cache_.Section(Path(), "A");
    ASSERT_EQ(reports_.size(), 1U);
    EXPECT_EQ(reports_[0], Path() + " line 3: '0x' is not a valid integer value. The row is skipped.");
    EXPECT_EQ(a->Problems().size(), 1U);
    cache_.Section(Path(), "B");
    EXPECT_EQ(reports_.size(), 2U) << "another section, another reading";
    WriteFile("[A]\nTwo, 2026/0x/02\n; now longer\n");
    cache_.Section(Path(), "A");
    EXPECT_EQ(reports_.size(), 3U) << "a changed file is read, and reported, again";
}

TEST_F(NamedDatesCacheTest, theHookIsReplacedAndGivenBack) {
    int calls = 0;
    const NamedDatesMessageHook mine = [&](const std::string&) { ++calls; };
    const NamedDatesMessageHook recorder = SetNamedDatesMessageHook(mine);
    WriteFile("[A]\nbroken\n");
    cache_.Section(Path(), "A");
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(reports_.empty());
    SetNamedDatesMessageHook(recorder);
    SetNamedDatesMessageHook(nullptr);
    WriteFile("[A]\nbroken too\n");
    cache_.Section(Path(), "A");
    EXPECT_EQ(calls, 1) << "an empty hook shows nothing";
    SetNamedDatesMessageHook(recorder);
}

TEST_F(NamedDatesCacheTest, aFileTooLargeToBeATableIsRefusedUnreadWithOneMessage) {
    WriteFile("[A]\nOne, 2026/01/01\n");
    fs::resize_file(Path(), std::uintmax_t{3} << 30); // sparse: no disk space, no time
    const std::shared_ptr<const HolidayTable> table = cache_.Section(Path(), "A");
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->SectionFound());
    ASSERT_EQ(reports_.size(), 1U);
    EXPECT_EQ(reports_[0], Path() + " is not read: at 3072 MB it is far larger than a named-dates file (at "
                                    "most 64 MB). Named days and public holidays are not shown.");
}

#ifdef __linux__
// In a child process that is no administrator, who could read the file anyway.
[[noreturn]] void ReadAnUnreadableFile(NamedDatesCache& cache, const std::string& path,
                                       const std::vector<std::string>& reports) {
    if (::geteuid() == 0 && ::setuid(65534) != 0) std::exit(2);
    cache.Section(path, "A");
    const std::string expected =
        path + " cannot be read (Permission denied). Named days and public holidays are not shown.";
    std::exit(reports == std::vector<std::string>{expected} ? 0 : 1);
}

TEST_F(NamedDatesCacheTest, anUnreadableFileIsReportedAsUnreadableWithTheReason) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteFile("[A]\nOne, 2026/01/01\n");
    fs::permissions(Path(), fs::perms::none);
    fs::permissions(directory_, fs::perms::all);
    EXPECT_EXIT(ReadAnUnreadableFile(cache_, Path(), reports_), ::testing::ExitedWithCode(0), "");
}
#endif

} // namespace
} // namespace kalendo
