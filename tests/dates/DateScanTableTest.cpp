// The shipped named-dates table, data/DateScan.DAT, read as the program reads it.
#include "dates/DateEnvironment.h"
#include "dates/DateStringTranslater.h"
#include "dates/HolidayTable.h"
#include "dates/NamedDatesFile.h"
#include "dates/NamedDatesLocation.h"
#include "dates/VorlanDates.h"
#include "easter/Easter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kalendo {
namespace {

constexpr int kFirstYear = 1990;
constexpr int kLastYear = 2100;

const char* const kSections[] = {"United Kingdom", "Ireland",      "United States", "Canada",  "Austrailia",
                                 "New Zealand",    "South Africa", "India",         "Germany", "France",
                                 "Netherlands",    "Sweden",       "Japan"};

const std::string& TableText() {
    static const std::string text = [] {
        std::ifstream in(SourceTreeDataDirectory() / kNamedDatesFileName, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }();
    return text;
}

// Each section read once, with the program's own loader.
const HolidayTable& Section(const std::string& name) {
    static std::map<std::string, HolidayTable> tables;
    auto found = tables.find(name);
    if (found == tables.end()) {
        std::istringstream in(TableText());
        found = tables.emplace(name, HolidayTable(ReadNamedDatesFileSection(in, name, kNamedDatesFileName)))
                    .first;
    }
    return found->second;
}

std::vector<NamedDay> Named(const HolidayTable& table, std::string_view name) {
    std::vector<NamedDay> days;
    for (const HolidayIndex* index : {&table.Holidays(), &table.Observances()})
        for (const NamedDay& day : index->All())
            if (day.Name == name) days.push_back(day);
    return days;
}

TEST(DateScanTable, everySectionParsesWithoutABadRowAndHasHolidaysInEveryYear) {
    ASSERT_FALSE(TableText().empty()) << "data/DateScan.DAT is missing";
    for (const char* name : kSections) {
        SCOPED_TRACE(name);
        const HolidayTable& table = Section(name);
        EXPECT_TRUE(table.SectionFound());
        EXPECT_EQ(table.Problems(), std::vector<std::string>{});
        EXPECT_EQ(table.CoveredYears(), (YearRange{kFirstYear, kLastYear}));
        for (int year = kFirstYear; year <= kLastYear; ++year) {
            int holidays = 0;
            for (int month = 1; month <= 12; ++month)
                holidays += static_cast<int>(table.Holidays().InMonth(year, month).size());
            EXPECT_GE(holidays, 3) << year;
        }
    }
}

TEST(DateScanTable, theDecodersYearReaderTakesEveryYearOfEverySection) {
    // The reader the file format began with throws on any bad row of the section, any year.
    for (const char* name : kSections) {
        for (const int year : {kFirstYear, 2026, kLastYear}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(year));
            std::istringstream in(TableText());
            TVorlanNamedDatesSection section;
            ASSERT_NO_THROW(ReadNamedDatesSection(in, name, year, kNamedDatesFileName, section));
            EXPECT_EQ(section.Dates, Section(name).NamedDatesOfYear(year));
            EXPECT_TRUE(section.Complete || std::string(name) == "Japan")
                << "only the last section runs to the end";
        }
    }
}

TEST(DateScanTable, everyEasterMondayIsTheDayAfterEasterSunday) {
    int sectionsWithEasterMonday = 0;
    for (const char* name : kSections) {
        const std::vector<NamedDay> easterMondays = Named(Section(name), "Easter Monday");
        if (easterMondays.empty()) continue;
        ++sectionsWithEasterMonday;
        EXPECT_EQ(easterMondays.size(), static_cast<std::size_t>(kLastYear - kFirstYear + 1)) << name;
        for (const NamedDay& day : easterMondays) {
            const int year = DecodeDate(day.Date).year;
            EXPECT_EQ(day.Date, EasterSunday(year) + 1) << name << " " << year;
            EXPECT_FALSE(day.Observance) << name << " " << year;
        }
        for (const NamedDay& day : Named(Section(name), "Good Friday"))
            EXPECT_EQ(day.Date, EasterSunday(DecodeDate(day.Date).year) - 2) << name;
    }
    EXPECT_EQ(sectionsWithEasterMonday, 8)
        << "United Kingdom, Ireland, Austrailia, New Zealand, Germany, France, "
           "Netherlands, Sweden";
}

TEST(DateScanTable, everyChristmasDayIsThe25thOfDecember) {
    for (const char* name : kSections) {
        const std::vector<NamedDay> christmasDays = Named(Section(name), "Christmas Day");
        EXPECT_EQ(christmasDays.size(), static_cast<std::size_t>(kLastYear - kFirstYear + 1)) << name;
        for (const NamedDay& day : christmasDays) {
            const CivilDate date = DecodeDate(day.Date);
            EXPECT_EQ(date.month, 12) << name << " " << date.year;
            EXPECT_EQ(date.day, 25) << name << " " << date.year;
        }
    }
}

TEST(DateScanTable, everyRowIsANameACommaAndTheDateOnly) {
    std::istringstream in(TableText());
    std::string line;
    int lineNumber = 0;
    bool inSection = false;
    while (std::getline(in, line)) {
        ++lineNumber;
        SCOPED_TRACE("line " + std::to_string(lineNumber) + ": " + line);
        if (line.starts_with('[')) {
            inSection = true;
            continue;
        }
        if (!inSection) {
            EXPECT_TRUE(line.starts_with(';')) << "only comments before the first section";
            continue;
        }
        const std::size_t comma = line.find(',');
        ASSERT_NE(comma, std::string::npos);
        EXPECT_EQ(line.find(',', comma + 1), std::string::npos) << "a name has no comma";
        EXPECT_GT(comma, 0U);
        const std::string_view name = std::string_view(line).substr(0, comma);
        EXPECT_EQ(name.find_first_of("./\r\t"), std::string_view::npos) << "the decoder splits words there";
        for (const char c : line)
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "plain ASCII";
        const std::string_view rest = std::string_view(line).substr(comma);
        EXPECT_TRUE(rest.size() == 12 || rest.substr(12) == " observance") << "the date and at most the mark";
        EXPECT_EQ(rest[6], '/');
        EXPECT_EQ(rest[9], '/');
    }
}

TEST(DateScanTable, theDecoderFindsEachSectionsMainHolidays) {
    const ScopedDateEnvironment environment(UnitedKingdomSettings(),
                                            std::make_shared<FixedClock>(EncodeDate(2026, 6, 1)));
    const std::string savedDirectory = SharedDateStringTranslater().DataDirectory();
    const std::string savedCountry = SharedDateStringTranslater().CountryName();
    const DateTime easter = EasterSunday(2026);
    const struct {
        const char* country;
        const char* text;
        DateTime date;
    } rows[] = {
        {"United Kingdom", "christmas day", EncodeDate(2026, 12, 25)},
        {"United Kingdom", "boxing day", EncodeDate(2026, 12, 26)},
        {"United Kingdom", "easter monday", easter + 1},
        {"United Kingdom", "good friday", easter - 2},
        {"United Kingdom", "new year's day", EncodeDate(2026, 1, 1)},
        {"Ireland", "st patrick's day", EncodeDate(2026, 3, 17)},
        {"Ireland", "St. Stephen's Day", EncodeDate(2026, 12, 26)},
        {"United States", "thanksgiving", EncodeDate(2026, 11, 26)},
        {"United States", "independence day", EncodeDate(2026, 7, 4)},
        {"United States", "martin luther king jr. day", EncodeDate(2026, 1, 19)},
        {"Canada", "canada day", EncodeDate(2026, 7, 1)},
        {"Australia", "australia day", EncodeDate(2026, 1, 26)},
        {"Australia", "anzac day", EncodeDate(2026, 4, 25)},
        {"New Zealand", "waitangi day", EncodeDate(2026, 2, 6)},
        {"South Africa", "freedom day", EncodeDate(2026, 4, 27)},
        {"India", "republic day", EncodeDate(2026, 1, 26)},
        {"India", "gandhi jayanti", EncodeDate(2026, 10, 2)},
        {"Germany", "christmas", EncodeDate(2026, 12, 25)},
        {"Germany", "whit monday", easter + 50},
        {"France", "bastille day", EncodeDate(2026, 7, 14)},
        {"Netherlands", "king's day", EncodeDate(2026, 4, 27)},
        {"Sweden", "christmas", EncodeDate(2026, 12, 25)},
        {"Sweden", "midsummer day", EncodeDate(2026, 6, 20)},
        {"Japan", "culture day", EncodeDate(2026, 11, 3)},
        {"Japan", "children's day", EncodeDate(2026, 5, 5)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.country) + ": " + row.text);
        SetNamedDatesSource(SourceTreeDataDirectory().string(), row.country);
        EXPECT_EQ(DecodeDateText(row.text), row.date);
    }
    SetNamedDatesSource(savedDirectory, savedCountry);
}

} // namespace
} // namespace kalendo
