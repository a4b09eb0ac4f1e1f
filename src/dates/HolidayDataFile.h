#pragma once

#include "dates/DateTime.h"
#include "dates/NamedDatesFile.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo {

// The shipped holiday data, a folder "holidays" of plain UTF-8 text files:
//  - places.txt, the index: one place a line, "CODE<tab>Name<tab>Other name...", each country
//    (GB) before its subdivisions (GB-ENG, DE-BY-A); "partial<tab>CODE<tab>Note" says what the
//    list of the place lacks. Lines starting with ";" are comments.
//  - CODE.txt for each country: "name N h|o Name" numbers the country's names (h a day off, o a
//    named day that is worked; a lower number is found first by a typed name), then "[CODE]"
//    starts a place: the country's own lines "YYYY MMDD:N MMDD:N ..." list every day of a year;
//    a subdivision's lines list only "+MMDD:N" added to and "-MMDD:N" taken from the country's days
//    of that year. So one place costs the reading of one country's file.

inline constexpr const char* kHolidayDataFolderName = "holidays";
inline constexpr const char* kHolidayPlacesFileName = "places.txt";

struct HolidayPlaceEntry {
    std::string code;                    // "GB-ENG", as the library writes it
    std::string name;                    // "England": English where known, else the local name
    std::vector<std::string> otherNames; // names it is also found by ("Bayern")
    std::string partialNote;             // what the list lacks; empty when it is complete
};

struct HolidayCountryEntry : HolidayPlaceEntry {
    std::vector<HolidayPlaceEntry> regions; // index order
};

struct HolidayPlacesIndex {
    std::vector<HolidayCountryEntry> countries; // index order
    std::vector<std::string> problems;          // "<source> line <n>: <what is wrong>"
};
HolidayPlacesIndex ReadHolidayPlaces(std::istream& in, std::string_view sourceName);

// What the user changes on top of a place's list: days off of their own (a company closure) and
// listed days off they work. Both act within 1752 to 3000 only.
struct OwnDayOff {
    DateTime date = 0.0; // whole day
    std::string name;
    friend bool operator==(const OwnDayOff&, const OwnDayOff&) = default;
};
struct HolidayChanges {
    std::vector<OwnDayOff> ownDaysOff;
    std::vector<DateTime> workedDays; // listed days off that become working days, still named
    bool Empty() const { return ownDaysOff.empty() && workedDays.empty(); }
    friend bool operator==(const HolidayChanges&, const HolidayChanges&) = default;
};

// One country's file as read: the country's own days and the place of each subdivision's lines,
// which are read only when that place is asked for.
struct CountryHolidayFile {
    struct Name {
        std::string text;
        bool dayOff = false;
    };
    struct Day {
        std::int32_t date = 0;  // whole days, as DateTime
        std::uint16_t name = 0; // index into names
        bool added = true;      // a subdivision's change: added to, or else taken from, the country's
    };
    struct Line {
        int number = 0; // 1 for the file's first line
        std::size_t offset = 0, length = 0;
    };
    std::string source; // the file's name for reports
    std::string text;   // the whole file
    std::vector<Name> names;
    std::vector<Day> days;                           // the country's own
    std::map<std::string, std::vector<Line>> places; // a subdivision's lines, by upper-case code
    std::vector<std::string> problems;               // bad lines of the names and the country, skipped

    bool HasPlace(std::string_view code) const;
};
CountryHolidayFile ReadCountryHolidayFile(std::istream& in, std::string_view sourceName);

// The named days of one place of the file (the country's code or a subdivision's, any case) with
// the user's changes, as the holiday table takes them: within a year in the order a typed name
// finds them (own days off last), worked days kept as named days that are no day off. Problems
// holds the bad lines of the subdivision, skipped.
NamedDatesFileSection PlaceHolidaySection(const CountryHolidayFile& file, std::string_view placeCode,
                                          const HolidayChanges& changes = {});

} // namespace kalendo
