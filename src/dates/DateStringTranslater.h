#pragma once

#include "dates/DateTime.h"
#include "dates/HolidayTable.h"
#include "dates/NamedDatesFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo {

// Which section of the named-dates file a translator reads. The misspelt section name
// "Austrailia" is the one the file uses.
enum TVorlanCountry : int { coAuto = 0, coAustrailia = 1, coNewZealand = 2 };

// The first entry whose name matches the search text, ignoring case: the whole name when
// exactMatch is set or the text is shorter than four characters, else the name's first
// characters, as many as the text has. Null when none does.
const TVorlanNamedDate* FindNamedDate(const std::vector<TVorlanNamedDate>& dates, std::string_view search,
                                      bool exactMatch);

// Looks a name up in the named-dates file "DateScan.DAT" for the current year. The directory
// holding the file and the user's country name are inputs (the program supplies them). The
// section comes from the shared NamedDatesCache, read once; the list of the current year's rows
// is rebuilt only when the section, the file or the year changes. A damaged file never throws:
// its bad rows are skipped and reported once through the named-dates message hook.
class TVorlanDateStringTranslater {
public:
    TVorlanCountry Country() const { return country_; }
    void SetCountry(TVorlanCountry country) { country_ = country; }
    // Relative to the data directory.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string_view fileName) { fileName_.assign(fileName); }
    bool ExactMatch() const { return exactMatch_; }
    void SetExactMatch(bool exactMatch) { exactMatch_ = exactMatch; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    const std::string& Search() const { return search_; }
    // Performs the lookup.
    void SetSearch(std::string_view text);

    bool Found() const { return found_; }
    DateTime FoundDate() const { return foundDate_; }
    std::uint16_t FoundYear() const { return foundYear_; }
    std::uint16_t FoundMonth() const { return foundMonth_; }
    std::uint16_t FoundDay() const { return foundDay_; }

    // The folder that holds the file; empty means there is none, so nothing is ever found.
    const std::string& DataDirectory() const { return dataDirectory_; }
    void SetDataDirectory(std::string directory) { dataDirectory_ = std::move(directory); }
    // The section that coAuto reads; when empty, the country name of the current locale settings.
    // Australia reads the file's "Austrailia" section.
    const std::string& CountryName() const { return countryName_; }
    void SetCountryName(std::string countryName) { countryName_ = std::move(countryName); }
    std::string SectionName() const;
    // A place's holidays to look names up in instead of the file (a place of the shipped data);
    // null, the default, reads the file.
    const std::shared_ptr<const HolidayTable>& PlaceHolidays() const { return placeHolidays_; }
    void SetPlaceHolidays(std::shared_ptr<const HolidayTable> table) { placeHolidays_ = std::move(table); }

    // The list holds a section read from the file.
    bool Loaded() const { return listTable_ != nullptr; }
    const std::vector<TVorlanNamedDate>& NamedDates() const { return list_; }
    // How often named-dates files have been opened and read (by the shared cache, for every
    // translator): a cached section costs none.
    int FileReads() const;

private:
    void RefreshList(const std::string& sectionName, int year);

    TVorlanCountry country_ = coAuto;
    std::string fileName_;
    std::string search_;
    bool exactMatch_ = false;
    bool enabled_ = true;

    bool found_ = false;
    DateTime foundDate_ = 0.0;
    std::uint16_t foundYear_ = 0;
    std::uint16_t foundMonth_ = 0;
    std::uint16_t foundDay_ = 0;

    std::string dataDirectory_;
    std::string countryName_;
    std::shared_ptr<const HolidayTable> placeHolidays_;

    std::vector<TVorlanNamedDate> list_;
    // What the list was made from; a change of either rebuilds it.
    std::shared_ptr<const HolidayTable> listTable_;
    int listYear_ = 0;
};

// The one translator shared by every decoder, created on first use and kept to the end.
TVorlanDateStringTranslater& SharedDateStringTranslater();

// Tells the shared translator where "DateScan.DAT" lives and which section coAuto reads (an empty
// country name means the country of the current locale settings). The holiday look-ups below
// read the same file.
void SetNamedDatesSource(std::string directory, std::string countryName);

// The holidays of a country (its English name; Australia reads the "Austrailia" section) from
// the shared source's file, read once and kept. Null when there is no file; a table without a
// section when the file has none for the country. An empty country name means the user's: the
// shared source's country, else the current locale settings' one.
std::shared_ptr<const HolidayTable> NamedDatesHolidays(std::string_view countryName = {});

} // namespace kalendo
