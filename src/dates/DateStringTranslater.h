#pragma once

#include "dates/DateTime.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo {

// Which section of the named-dates file a translator reads. The misspelt section name
// "Austrailia" is the one the file uses.
enum TVorlanCountry : int { coAuto = 0, coAustrailia = 1, coNewZealand = 2 };

inline constexpr const char* kNamedDatesFileName = "DateScan.DAT";

// One row of the named-dates file kept for the current year: "Mother's Day" is kept as
// "Mother Day", since the decoder strips possessives from what the user types.
struct TVorlanNamedDate {
    std::string Name;
    DateTime Date = 0.0; // whole days
    friend bool operator==(const TVorlanNamedDate&, const TVorlanNamedDate&) = default;
};

// The rows of one section of a named-dates file that belong to one year, in file order.
// `complete` is true when another section's header ended the wanted one; a section that runs to
// the end of the file (or is missing) leaves it false, so the caller reads the file again next time.
struct TVorlanNamedDatesSection {
    std::vector<TVorlanNamedDate> Dates;
    bool Complete = false;
};

// Reads the file format: "[Section]" headers (compared ignoring case, the text up to the first
// "]"), then rows "Name, YYYY?MM?DD" read by position from the first comma. Blank lines are
// skipped. A row of the wanted section whose year, month or day is not a number throws
// Error("<source> line <n>: '<text>' is not a valid integer value"), a row without a comma
// throws a like error, and an impossible date of the wanted year throws
// Error(kInvalidDateEncode). Rows read before an error stay in `into.Dates`.
void ReadNamedDatesSection(std::istream& in, std::string_view sectionName, int year,
                           std::string_view sourceName, TVorlanNamedDatesSection& into);

// The first entry whose name matches the search text, ignoring case: the whole name when
// exactMatch is set or the text is shorter than four characters, else the name's first
// characters, as many as the text has. Null when none does.
const TVorlanNamedDate* FindNamedDate(const std::vector<TVorlanNamedDate>& dates, std::string_view search,
                                      bool exactMatch);

// Looks a name up in the named-dates file "DateScan.DAT" for the current year. The directory
// holding the file and the user's country name are inputs (the program supplies them); the list
// of the wanted section is cached until the section, the file path or the year changes.
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
    // Performs the lookup. Throws Error for malformed rows of the wanted section (see
    // ReadNamedDatesSection) and when the file exists but cannot be read.
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

    bool Loaded() const { return loaded_; }
    const std::vector<TVorlanNamedDate>& NamedDates() const { return list_.Dates; }
    // How often the file has been opened and read: a cached section costs none.
    int FileReads() const { return fileReads_; }

private:
    void LoadList(const std::string& sectionName, int year);

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

    bool loaded_ = false;
    TVorlanNamedDatesSection list_;
    // What the list was read for; a change of any of them empties it.
    std::string listDirectory_;
    std::string listFileName_;
    std::string listSection_;
    int listYear_ = 0;
    int fileReads_ = 0;
};

// The one translator shared by every decoder, created on first use and kept to the end.
TVorlanDateStringTranslater& SharedDateStringTranslater();

// Tells the shared translator where "DateScan.DAT" lives and which section coAuto reads (an empty
// country name means the country of the current locale settings).
void SetNamedDatesSource(std::string directory, std::string countryName);

} // namespace kalendo
