#pragma once

#include "dates/DateTime.h"
#include "dates/HolidayDataFile.h"
#include "dates/HolidayTable.h"
#include "dates/NamedDatesLocation.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo {

// A place whose holidays the data holds: a whole country or one of its subdivisions.
struct HolidayPlace {
    std::string code;        // "GB-ENG"; the country's code alone for the whole country
    std::string name;        // "United Kingdom/England"; the country's name alone for the whole country
    std::string countryCode; // "GB"
    std::string partialNote; // what the place's list lacks; empty when it is complete
    bool WholeCountry() const { return code == countryCode; }
    friend bool operator==(const HolidayPlace&, const HolidayPlace&) = default;
};

// One day of a place's year as a list shows it.
struct PlaceDay {
    DateTime date = 0.0;
    std::string name;
    bool dayOff = false;
    friend bool operator==(const PlaceDay&, const PlaceDay&) = default;
};

// The named days of one year of a table, in date order (days of one date in the table's order).
std::vector<PlaceDay> DaysOfYear(const HolidayTable& table, int year);

// The holidays of every place of the shipped data: the index read once on first use, each
// country's file read when one of its places is first asked for and kept (the last few), so
// changing the place costs one country's file at most. A damaged file's bad lines are skipped and reported
// once through the named-dates message hook; a country whose file is missing gives a table without a section,
// also reported.
class HolidayLibrary {
public:
    // directory: the "holidays" folder; empty means there is no data, so no place is known.
    explicit HolidayLibrary(std::filesystem::path directory = {});

    const std::filesystem::path& Directory() const { return directory_; }
    // Every country with its subdivisions, in the index's order.
    const std::vector<HolidayCountryEntry>& Countries();
    // The place of a code ("GB-ENG", "us", any case) or an English name, "Country" or
    // "Country/Region" ("United Kingdom/Scotland", "Germany/Bayern"), or an older name the data
    // keeps for it ("Austrailia"). None when the data has no such place.
    std::optional<HolidayPlace> FindPlace(std::string_view codeOrName);
    // The place's holidays with the user's changes on top. Null when there is no data at all.
    std::shared_ptr<const HolidayTable> Holidays(const HolidayPlace& place,
                                                 const HolidayChanges& changes = {});
    // How often a file has been opened and read.
    int FileReads() const { return fileReads_; }

private:
    std::shared_ptr<const CountryHolidayFile> CountryFile(const std::string& countryCode);
    HolidayPlace PlaceOf(const HolidayCountryEntry& country, const HolidayPlaceEntry* region) const;

    std::filesystem::path directory_;
    bool indexRead_ = false;
    std::vector<HolidayCountryEntry> countries_;
    std::map<std::string, std::shared_ptr<const CountryHolidayFile>> files_;
    // The last few tables made without changes, by place code: going back to a place is free.
    std::map<std::string, std::shared_ptr<const HolidayTable>> tables_;
    int fileReads_ = 0;
};

// The "holidays" folder of the first folder of the named-dates search order that has one;
// empty when none does.
std::filesystem::path FindHolidayDataDirectory(const NamedDatesFolders& folders);

// The library the program and the command line share; SetHolidayDataDirectory replaces it.
HolidayLibrary& SharedHolidayLibrary();
void SetHolidayDataDirectory(std::filesystem::path directory);

} // namespace kalendo
