#include "dates/DateStringTranslater.h"

#include "dates/DateEnvironment.h"
#include "dates/Error.h"
#include "dates/VorlanDates.h"
#include "dates/VorlanDecodeDate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kalendo {
namespace {

namespace fs = std::filesystem;

DateTime Day(int y, int m, int d) { return EncodeDate(y, m, d); }
DateTime At(int y, int m, int d, int h, int mi) {
    return ComposeDateTime(Day(y, m, d), EncodeTime(h, mi, 0));
}

const char* const kFile = "[Austrailia]\n"
                          "Christmas Day, 2026/12/25\n"
                          "Australia Day, 2026/01/26\n"
                          "[New Zealand]\n"
                          "Christmas Day, 2025/12/25\n"
                          "Christmas Day, 2026-12-25 holiday\n"
                          "Waitangi Day, 2026/02/06\n"
                          "Mother's Day, 2026/05/10\n"
                          "Mon, 2026/03/02\n"
                          "Boxing Day, 2027/12/26\n"
                          "[United Kingdom]\n"
                          "Boxing Day, 2026/12/26\n";

// A folder of its own for each test, holding DateScan.DAT, with the shared translator and the
// date environment pointed at it (New Zealand, Wednesday 9 December 2026) for the test's length.
class NamedDates : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        directory_ = fs::temp_directory_path() /
                     ("kalendo-named-dates-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::create_directories(directory_);
        SetNamedDatesSource(directory_.string(), "New Zealand");
    }
    void TearDown() override {
        SetNamedDatesSource("", "");
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }

    void WriteFile(const std::string& content) {
        std::ofstream out(directory_ / "DateScan.DAT", std::ios::binary | std::ios::trunc);
        out << content;
    }

    struct Result {
        bool valid = false;
        DateTime date = 0.0;
    };
    Result Decode(std::string_view text) {
        TVorlanDecodeDate decoder;
        decoder.SetDateToDecode(text);
        return {decoder.ValidDateTime(), decoder.DecodedDate()};
    }

    TVorlanDateStringTranslater& Shared() { return SharedDateStringTranslater(); }

    fs::path directory_;
    std::shared_ptr<FixedClock> clock_ = std::make_shared<FixedClock>(At(2026, 12, 9, 14, 25));
    ScopedDateEnvironment environment_{UnitedKingdomSettings(), clock_};
};

TEST_F(NamedDates, missingFile_findsNothingAndTheOtherRulesStillWork) {
    EXPECT_FALSE(Decode("Christmas").valid);
    const int readsBefore = Shared().FileReads();
    EXPECT_EQ(Decode("15").date, Day(2026, 12, 15));
    EXPECT_EQ(Shared().FileReads(), readsBefore);
}

TEST_F(NamedDates, decoder_findsNamedDatesOfTheCurrentYearInTheUsersSection) {
    WriteFile(kFile);
    const struct {
        const char* meaning;
        const char* text;
        bool valid;
        DateTime date;
    } rows[] = {
        {"prefix of the name", "Christmas", true, Day(2026, 12, 25)},
        {"the whole name", "Christmas Day", true, Day(2026, 12, 25)},
        {"relative words still apply", "3 days after Christmas", true, Day(2026, 12, 28)},
        {"a weekday after a named date", "Monday after Waitangi Day", true, Day(2026, 2, 9)},
        {"case does not matter", "WAITANGI", true, Day(2026, 2, 6)},
        {"Mother's Day is stored as Mother Day", "Mother's Day", true, Day(2026, 5, 10)},
        {"three letters must match exactly", "Mon", true, Day(2026, 3, 2)},
        {"a short prefix is no match", "Wai", false, 0.0},
        {"another year's entry is never found", "Boxing Day", false, 0.0},
        {"another section's entry is never found", "Australia Day", false, 0.0},
        {"a name followed by another word is no prefix", "Christmas Eve", false, 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        const Result result = Decode(row.text);
        EXPECT_EQ(result.valid, row.valid);
        EXPECT_EQ(result.date, row.date);
    }
}

TEST_F(NamedDates, translater_matchesByPrefixFromFourCharactersAndExactlyBelow) {
    WriteFile(kFile);
    TVorlanDateStringTranslater translater;
    translater.SetDataDirectory(directory_.string());
    translater.SetFileName("DateScan.DAT");
    translater.SetCountry(coNewZealand);

    translater.SetSearch("CHRI");
    EXPECT_TRUE(translater.Found());
    EXPECT_EQ(translater.FoundYear(), 2026);
    EXPECT_EQ(translater.FoundMonth(), 12);
    EXPECT_EQ(translater.FoundDay(), 25);
    EXPECT_EQ(translater.FoundDate(), Day(2026, 12, 25));
    translater.SetSearch("CHR");
    EXPECT_FALSE(translater.Found());

    translater.SetExactMatch(true);
    translater.SetSearch("CHRISTMAS");
    EXPECT_FALSE(translater.Found());
    translater.SetSearch("christmas day");
    EXPECT_TRUE(translater.Found());

    translater.SetEnabled(false);
    translater.SetSearch("christmas day");
    EXPECT_FALSE(translater.Found());
    EXPECT_EQ(translater.Search(), "christmas day");

    translater.SetEnabled(true);
    translater.SetCountry(coAustrailia);
    translater.SetExactMatch(false);
    translater.SetSearch("AUSTRALIA");
    EXPECT_TRUE(translater.Found());
    EXPECT_EQ(translater.FoundDate(), Day(2026, 1, 26));
    EXPECT_EQ(translater.NamedDates().size(), 2U);
}

TEST_F(NamedDates, sections_areMatchedIgnoringCaseAndTextAfterTheBracket) {
    WriteFile("[NEW ZEALAND] the islands\nLabour Day, 2026/10/26\n[Other]\n");
    EXPECT_EQ(Decode("Labour Day").date, Day(2026, 10, 26));
}

TEST_F(NamedDates, autoCountry_fallsBackToTheLocalesCountryName) {
    WriteFile(kFile);
    SetNamedDatesSource(directory_.string(), "");
    EXPECT_FALSE(Decode("Christmas").valid) << "no United Kingdom Christmas in the file";
    EXPECT_EQ(Shared().SectionName(), "United Kingdom");
    FormatSettings settings = UnitedKingdomSettings();
    settings.countryName = "New Zealand";
    const ScopedDateEnvironment newZealand(settings, clock_);
    EXPECT_EQ(Decode("Christmas").date, Day(2026, 12, 25));
}

TEST_F(NamedDates, australia_readsTheFilesAustrailiaSection) {
    WriteFile(kFile);
    SetNamedDatesSource(directory_.string(), "Australia");
    EXPECT_EQ(Shared().SectionName(), "Austrailia");
    EXPECT_EQ(Decode("Australia Day").date, Day(2026, 1, 26));
}

TEST_F(NamedDates, cachedSection_isNotReadAgain) {
    WriteFile(kFile);
    const int readsBefore = Shared().FileReads();
    EXPECT_TRUE(Decode("Christmas").valid);
    EXPECT_TRUE(Decode("Waitangi").valid);
    EXPECT_TRUE(Decode("Mother's Day").valid);
    EXPECT_EQ(Shared().FileReads() - readsBefore, 1);
    EXPECT_TRUE(Shared().Loaded());
    EXPECT_TRUE(Decode("15 December").valid) << "nothing left over, no lookup";
    EXPECT_EQ(Shared().FileReads() - readsBefore, 1);
}

TEST_F(NamedDates, lastSection_isReadOnceAndAgainOnlyWhenTheFileChanges) {
    WriteFile("[Other]\nX Day, 2026/01/01\n[New Zealand]\nWaitangi Day, 2026/02/06\nAnzac Day, 2026/04/25");
    const int readsBefore = Shared().FileReads();
    EXPECT_EQ(Decode("Anzac").date, Day(2026, 4, 25)) << "the last row has no line end";
    EXPECT_EQ(Decode("Waitangi").date, Day(2026, 2, 6));
    EXPECT_TRUE(Shared().Loaded());
    EXPECT_EQ(Shared().FileReads() - readsBefore, 1);
    WriteFile("[New Zealand]\nAnzac Day, 2026/04/26\n");
    EXPECT_EQ(Decode("Anzac").date, Day(2026, 4, 26)) << "a file of another size is read again";
    EXPECT_EQ(Shared().FileReads() - readsBefore, 2);
}

TEST_F(NamedDates, missingSection_findsNothing) {
    WriteFile("[Austrailia]\nChristmas Day, 2026/12/25\n");
    EXPECT_FALSE(Decode("Christmas").valid);
}

TEST_F(NamedDates, cache_followsTheCountryTheFolderAndTheYear) {
    WriteFile(kFile);
    EXPECT_EQ(Decode("Christmas").date, Day(2026, 12, 25));
    SetNamedDatesSource(directory_.string(), "United Kingdom");
    EXPECT_FALSE(Decode("Christmas").valid);
    EXPECT_TRUE(Decode("Boxing").valid);
    SetNamedDatesSource(directory_.string(), "New Zealand");
    clock_->Set(At(2027, 1, 2, 9, 0));
    EXPECT_EQ(Decode("Boxing Day").date, Day(2027, 12, 26)) << "a new year reads the new year's rows";
    SetNamedDatesSource((directory_ / "elsewhere").string(), "New Zealand");
    EXPECT_FALSE(Decode("Boxing Day").valid);
}

TEST_F(NamedDates, fileGoneAfterAnIncompleteRead_keepsTheListItHad) {
    WriteFile("[New Zealand]\nAnzac Day, 2026/04/25\n");
    EXPECT_TRUE(Decode("Anzac").valid);
    fs::remove(directory_ / "DateScan.DAT");
    EXPECT_TRUE(Decode("Anzac").valid);
}

TEST_F(NamedDates, rowsWithEmptyNames_doNotTakeOverOtherTexts) {
    WriteFile("[New Zealand]\n, 2026/01/01\n");
    EXPECT_EQ(Decode("15").date, Day(2026, 12, 15));
    EXPECT_EQ(Decode("tomorrow").date, Day(2026, 12, 10));
}

TEST_F(NamedDates, windowsLineEndsByteOrderMarkAndBlankLines_areRead) {
    WriteFile("\xEF\xBB\xBF[New Zealand]\r\n\r\nMatariki, 2026/07/10\r\n   \r\n[Other]\r\n");
    EXPECT_EQ(Decode("Matariki").date, Day(2026, 7, 10));
}

TEST_F(NamedDates, malformedRows_areSkippedAndReportedOnceWithTheFileAndLine) {
    std::vector<std::string> reports;
    const NamedDatesMessageHook previous =
        SetNamedDatesMessageHook([&](const std::string& message) { reports.push_back(message); });
    const struct {
        const char* meaning;
        const char* row;
        const char* message;
    } rows[] = {
        {"a year that is no number", "Waitangi Day, 20x6/02/06",
         "line 4: '20x6' is not a valid integer value"},
        {"a month that is no number in another year's row", "Waitangi Day, 2025/0x/06",
         "line 4: '0x' is not a valid integer value"},
        {"a row cut short", "Waitangi Day, 2026", "line 4: '' is not a valid integer value"},
        {"a row without a comma", "Waitangi Day 2026/02/06",
         "line 4: 'Waitangi Day 2026/02/06' has no comma"},
        {"an impossible date", "Waitangi Day, 2026/02/30", "line 4: '2026/02/30' is no date"},
    };
    std::string lineBeforeTheSections;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.meaning);
        reports.clear();
        // Each file one byte longer than the one before, so the change shows even within the
        // file system's time-stamp granularity. The rows around the bad one still work, on every look-up.
        lineBeforeTheSections += ';';
        WriteFile(lineBeforeTheSections + "\n[New Zealand]\nAnzac Day, 2026/04/25\n" + row.row +
                  "\nMatariki, 2026/07/10\n");
        for (int lookup = 0; lookup < 3; ++lookup) {
            EXPECT_FALSE(Decode("Waitangi").valid);
            EXPECT_EQ(Decode("Anzac").date, Day(2026, 4, 25));
            EXPECT_EQ(DecodeDateText("Matariki"), Day(2026, 7, 10));
        }
        ASSERT_EQ(reports.size(), 1U) << "reported once, not on every look-up";
        EXPECT_NE(reports[0].find((directory_ / "DateScan.DAT").string()), std::string::npos) << reports[0];
        EXPECT_NE(reports[0].find(row.message), std::string::npos) << reports[0];
    }
    reports.clear();
    WriteFile("[Other]\nbroken row\n[New Zealand]\nWaitangi Day, 2026/02/06\n[Next]\nbroken, row\n");
    EXPECT_EQ(DecodeDateText("Waitangi"), Day(2026, 2, 6));
    EXPECT_TRUE(reports.empty()) << "rows of other sections are never read";
    SetNamedDatesMessageHook(previous);
}

TEST_F(NamedDates, decoderWithoutLeftoverWords_neverTouchesTheFile) {
    WriteFile("[New Zealand]\nbroken row\n");
    const int readsBefore = Shared().FileReads();
    EXPECT_EQ(DecodeDateText("3 days ago"), Day(2026, 12, 6));
    EXPECT_EQ(Shared().FileReads(), readsBefore);
    EXPECT_THROW(DecodeDateText("Waitangi"), Error) << "no such date, and the broken row is skipped";
    EXPECT_EQ(Shared().FileReads(), readsBefore + 1);
}

TEST(NamedDatesReader, readsOneSectionForOneYear) {
    std::istringstream in(kFile);
    TVorlanNamedDatesSection section;
    ReadNamedDatesSection(in, "new zealand", 2026, "test", section);
    EXPECT_TRUE(section.Complete);
    ASSERT_EQ(section.Dates.size(), 4U);
    EXPECT_EQ(section.Dates[0], (TVorlanNamedDate{"Christmas Day", Day(2026, 12, 25)}));
    EXPECT_EQ(section.Dates[2].Name, "Mother Day");
    EXPECT_EQ(section.Dates[3].Name, "Mon");

    std::istringstream last(kFile);
    ReadNamedDatesSection(last, "United Kingdom", 2026, "test", section);
    EXPECT_FALSE(section.Complete);
    ASSERT_EQ(section.Dates.size(), 1U);
    EXPECT_EQ(section.Dates[0].Name, "Boxing Day");
}

} // namespace
} // namespace kalendo
