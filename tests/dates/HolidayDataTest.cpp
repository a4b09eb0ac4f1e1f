// The shipped holiday data, data/holidays/, read as the program reads it, against the days off
// the governments publish and the decisions of scripts/make-datescan/rules.json.
#include "dates/DateEnvironment.h"
#include "dates/DateStringTranslater.h"
#include "dates/HolidayPlaces.h"
#include "dates/NamedDatesLocation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kalendo {
namespace {

HolidayLibrary& Shipped() {
    static HolidayLibrary library(SourceTreeDataDirectory() / kHolidayDataFolderName);
    return library;
}

const HolidayTable& Place(const std::string& code) {
    const std::optional<HolidayPlace> place = Shipped().FindPlace(code);
    EXPECT_TRUE(place.has_value()) << code;
    static const HolidayTable none;
    if (!place) return none;
    return *Shipped().Holidays(*place);
}

// The days off of a year that fall on Monday to Friday, as "MMDD".
std::string WeekdaysOff(const HolidayTable& table, int year) {
    std::string days;
    for (const PlaceDay& day : DaysOfYear(table, year)) {
        if (!day.dayOff || DayOfWeek(day.date) == 1 || DayOfWeek(day.date) == 7) continue;
        const CivilDate date = DecodeDate(day.date);
        char text[8];
        std::snprintf(text, sizeof text, "%02d%02d ", date.month, date.day);
        if (days.find(text) == std::string::npos) days += text;
    }
    if (!days.empty()) days.pop_back();
    return days;
}

TEST(HolidayData, weekdayDaysOffAreThoseTheGovernmentsPublish) {
    // Written from the official lists, not from the library: gov.uk bank holidays (England and
    // Wales; Scotland), the Bavarian Feiertagsgesetz (days of the whole state), Ontario's
    // Employment Standards Act public holidays, the NSW Public Holidays Act 2010 (with its
    // additional days), US OPM federal holidays, the Japanese Cabinet Office's national holidays
    // with the year-end closure of the Act on Holidays of Administrative Organs,
    // citizensinformation.ie, service-public.fr jours fériés, Sweden's helgdagar with the eves
    // kept off (rules.json), the German national holidays, and employment.govt.nz.
    const struct {
        const char* place;
        int year;
        const char* days;
    } rows[] = {
        {"GB-ENG", 2026, "0101 0403 0406 0504 0525 0831 1225 1228"},
        {"GB-ENG", 2027, "0101 0326 0329 0503 0531 0830 1227 1228"},
        {"GB-SCT", 2026, "0101 0102 0403 0504 0525 0803 1130 1225 1228"},
        {"GB-SCT", 2027, "0101 0104 0326 0503 0531 0802 1130 1227 1228"},
        {"DE-BY", 2026, "0101 0106 0403 0406 0501 0514 0525 0604 1225"},
        {"DE-BY", 2027, "0101 0106 0326 0329 0506 0517 0527 1101"},
        {"DE", 2026, "0101 0403 0406 0501 0514 0525 1225"},
        {"DE", 2027, "0101 0326 0329 0506 0517"},
        {"CA-ON", 2026, "0101 0216 0403 0518 0701 0907 1012 1225"},
        {"CA-ON", 2027, "0101 0215 0326 0524 0701 0906 1011"},
        {"AU-NSW", 2026, "0101 0126 0403 0406 0608 1005 1225 1228"},
        {"AU-NSW", 2027, "0101 0126 0326 0329 0614 1004 1227 1228"},
        {"US", 2026, "0101 0119 0216 0525 0619 0703 0907 1012 1111 1126 1225"},
        {"US", 2027, "0101 0118 0215 0531 0618 0705 0906 1011 1111 1125 1224 1231"},
        {"JP", 2026,
         "0101 0102 0112 0211 0223 0320 0429 0504 0505 0506 0720 0811 0921 0922 0923 1012 1103 1123 "
         "1229 1230 1231"},
        {"JP", 2027,
         "0101 0111 0211 0223 0322 0429 0503 0504 0505 0719 0811 0920 0923 1011 1103 1123 1229 1230 "
         "1231"},
        {"IE", 2026, "0101 0202 0317 0406 0504 0601 0803 1026 1225"},
        {"IE", 2027, "0101 0201 0317 0329 0503 0607 0802 1025"},
        {"FR", 2026, "0101 0406 0501 0508 0514 0525 0714 1111 1225"},
        {"FR", 2027, "0101 0329 0506 0517 0714 1101 1111"},
        {"SE", 2026, "0101 0106 0403 0406 0501 0514 0619 1224 1225 1231"},
        {"SE", 2027, "0101 0106 0326 0329 0506 0625 1224 1231"},
        {"NZ", 2026, "0101 0102 0206 0403 0406 0427 0601 0710 1026 1225 1228"},
        {"NZ", 2027, "0101 0104 0208 0326 0329 0426 0607 0625 1025 1227 1228"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WeekdaysOff(Place(row.place), row.year), row.days) << row.place << " " << row.year;
}

TEST(HolidayData, theRulesDecideWhichNamedDaysAreDaysOff) {
    const struct {
        const char* place;
        int year, month, day;
        const char* name;
        bool dayOff;
    } rows[] = {
        {"DE", 2026, 12, 24, "Christmas Eve", false},  {"DE", 2026, 12, 31, "New Year's Eve", false},
        {"NL", 2026, 12, 31, "New Year's Eve", false}, {"IE", 2026, 4, 3, "Good Friday", false},
        {"SE", 2026, 6, 19, "Midsummer Eve", true},    {"FI", 2026, 12, 24, "Christmas Eve", true},
        {"JP", 2026, 1, 2, "January 2nd", true},       {"JP", 2026, 12, 29, "Year-end holiday", true},
        {"US", 2026, 9, 7, "Labor Day", true},         {"DE", 2026, 10, 3, "German Unity Day", true},
        {"GB", 2026, 4, 5, "Easter Sunday", false},    {"BR", 2026, 2, 16, "Carnival", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.place) + " " + row.name);
        bool found = false;
        for (const PlaceDay& day : DaysOfYear(Place(row.place), row.year)) {
            if (day.date != EncodeDate(row.year, row.month, row.day) || day.name != row.name) continue;
            found = true;
            EXPECT_EQ(day.dayOff, row.dayOff);
        }
        EXPECT_TRUE(found);
    }
}

TEST(HolidayData, typedNamesFindTheDayPeopleMean) {
    const ScopedDateEnvironment environment(UnitedKingdomSettings(),
                                            std::make_shared<FixedClock>(EncodeDate(2026, 6, 1)));
    TVorlanDateStringTranslater& translater = SharedDateStringTranslater();
    const std::shared_ptr<const HolidayTable> saved = translater.PlaceHolidays();
    const struct {
        const char* place;
        const char* text;
        DateTime date;
    } rows[] = {
        {"GB-ENG", "easter", EncodeDate(2026, 4, 5)},
        {"GB-ENG", "christmas", EncodeDate(2026, 12, 25)},
        {"GB-ENG", "summer bank holiday", EncodeDate(2026, 8, 31)},
        {"GB-SCT", "summer bank holiday", EncodeDate(2026, 8, 3)},
        {"GB-SCT", "st andrew's day", EncodeDate(2026, 11, 30)},
        {"SE", "christmas", EncodeDate(2026, 12, 25)},
        {"DE", "easter", EncodeDate(2026, 4, 5)},
        {"DE", "German Unity Day", EncodeDate(2026, 10, 3)},
        {"US", "labor day", EncodeDate(2026, 9, 7)},
        {"US", "independence day", EncodeDate(2026, 7, 4)},
        {"CA-ON", "victoria day", EncodeDate(2026, 5, 18)},
        {"JP", "new year", EncodeDate(2026, 1, 1)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.place) + ": " + row.text);
        translater.SetPlaceHolidays(
            std::shared_ptr<const HolidayTable>(&Place(row.place), [](const HolidayTable*) {}));
        EXPECT_EQ(DecodeDateText(row.text), row.date);
    }
    translater.SetPlaceHolidays(saved);
}

TEST(HolidayData, everyPlaceReadsWithoutAProblemAndHasDaysOffEveryYear) {
    std::vector<std::string> reports;
    const NamedDatesMessageHook previous =
        SetNamedDatesMessageHook([&](const std::string& message) { reports.push_back(message); });
    HolidayLibrary library(SourceTreeDataDirectory() / kHolidayDataFolderName);
    int places = 0;
    for (const HolidayCountryEntry& country : library.Countries()) {
        std::vector<std::string> codes{country.code};
        for (const HolidayPlaceEntry& region : country.regions)
            codes.push_back(region.code);
        for (const std::string& code : codes) {
            ++places;
            const std::shared_ptr<const HolidayTable> table = library.Holidays(*library.FindPlace(code));
            ASSERT_TRUE(table->SectionFound()) << code;
            EXPECT_EQ(table->CoveredYears(), (YearRange{1990, 2100})) << code;
        }
    }
    SetNamedDatesMessageHook(previous);
    EXPECT_EQ(reports, std::vector<std::string>{});
    EXPECT_EQ(library.Countries().size(), 207U) << "every country of date-holidays";
    EXPECT_EQ(places, 628) << "and every subdivision";
}

} // namespace
} // namespace kalendo
