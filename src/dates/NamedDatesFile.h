#pragma once

#include "dates/DateTime.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo {

inline constexpr const char* kNamedDatesFileName = "DateScan.DAT";

// Limits that keep a damaged or hostile file from costing more than a sound one: a longer row is
// one bad row, a larger file is no named-dates file (the shipped table is under 1 MB), and a
// message quotes no more of a row than a box can show.
inline constexpr std::size_t kMaxNamedDatesRowLength = 4096;       // bytes
inline constexpr std::uintmax_t kMaxNamedDatesFileSize = 64 << 20; // bytes
inline constexpr std::size_t kMaxQuotedRowCharacters = 60;
inline constexpr std::size_t kMaxKeptNamedDatesProblems = 16;

// The file format of "DateScan.DAT": "[Section]" headers (compared ignoring case, the text up to
// the first "]"; lines before the first header are ignored), then rows "Name, YYYY?MM?DD" read by
// position from the first comma. Blank lines are skipped. Text after the date is ignored by the
// decoder; the word "observance" there marks a named day that is no day off (Mother's Day).

// One row of the named-dates file kept for the current year: "Mother's Day" is kept as
// "Mother Day", since the decoder strips possessives from what the user types.
struct TVorlanNamedDate {
    std::string Name;
    DateTime Date = 0.0; // whole days
    friend bool operator==(const TVorlanNamedDate&, const TVorlanNamedDate&) = default;
};

// The rows of one section of a named-dates file that belong to one year, in file order.
// `complete` is true when another section's header ended the wanted one; a section that runs to
// the end of the file (or is missing) leaves it false.
struct TVorlanNamedDatesSection {
    std::vector<TVorlanNamedDate> Dates;
    bool Complete = false;
};

// Reads the rows of one year of one section. A row of the wanted section whose year, month or day
// is not a number throws Error("<source> line <n>: '<text>' is not a valid integer value"), a row
// without a comma throws a like error, and an impossible date of the wanted year throws
// Error(kInvalidDateEncode). Rows read before an error stay in `into.Dates`.
void ReadNamedDatesSection(std::istream& in, std::string_view sectionName, int year,
                           std::string_view sourceName, TVorlanNamedDatesSection& into);

// One row of a section as the holiday engine keeps it: every year, the name as written.
struct NamedDay {
    DateTime Date = 0.0;     // whole day
    std::string Name;        // "Mother's Day"
    bool Observance = false; // a named day that is no day off
    int Line = 0;            // 1 for the file's first line
    friend bool operator==(const NamedDay&, const NamedDay&) = default;
};

// Every year of one section, read in one pass and never throwing: a bad row (a row longer than
// kMaxNamedDatesRowLength among them) is skipped and its problem kept as "<source> line <n>: <what
// is wrong>", quoting at most kMaxQuotedRowCharacters of the row, so every other row still works.
// Memory beyond the section's rows does not grow with the stream's length.
struct NamedDatesFileSection {
    bool Found = false;                // the file has the section's header
    std::vector<NamedDay> Rows;        // file order
    std::vector<std::string> Problems; // the first kMaxKeptNamedDatesProblems
    std::size_t MoreProblems = 0;      // bad rows beyond those
};
NamedDatesFileSection ReadNamedDatesFileSection(std::istream& in, std::string_view sectionName,
                                                std::string_view sourceName);

// The section that holds a country's named dates: the country's English name, except Australia,
// whose section the file spells "Austrailia".
std::string NamedDatesSectionName(std::string_view countryName);

// The name as the decoder's list keeps it: without its first possessive "'s".
std::string NamedDateSearchName(std::string_view name);

} // namespace kalendo
