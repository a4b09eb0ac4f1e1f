#pragma once

#include "dates/DateTime.h"
#include "dates/NamedDatesFile.h"
#include "dates/VorlanDates.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo {

// Named days of one kind sorted by date (days of one date in file order), indexed by month so
// that a month's look-up costs O(days in that month).
class HolidayIndex {
public:
    HolidayIndex() = default;
    explicit HolidayIndex(std::vector<NamedDay> days); // any order

    std::span<const NamedDay> InMonth(int year, int month) const; // empty outside the table
    std::span<const NamedDay> On(DateTime date) const;            // the whole day of date
    bool Contains(DateTime date) const { return !On(date).empty(); }
    std::span<const NamedDay> All() const { return days_; }

private:
    std::vector<NamedDay> days_;
    int firstYear_ = 0;
    // Where each month of firstYear_ onwards starts in days_, one entry a month and one past the
    // last: month m of year y runs from monthStart_[k] to monthStart_[k + 1], k = 12 (y - firstYear_) + m
    // - 1.
    std::vector<std::uint32_t> monthStart_;
};

struct YearRange {
    int first = 0, last = 0;
    bool Contains(int year) const { return year >= first && year <= last; }
    friend bool operator==(const YearRange&, const YearRange&) = default;
};

// One country's section of the named-dates file, every year, as the calendars and business days
// use it: holidays (days off, substitute days included) apart from observances.
class HolidayTable {
public:
    HolidayTable() = default; // a table without a section
    explicit HolidayTable(NamedDatesFileSection section);

    // Whether the file has the section at all.
    bool SectionFound() const { return sectionFound_; }
    const HolidayIndex& Holidays() const { return holidays_; }
    const HolidayIndex& Observances() const { return observances_; }
    bool IsHoliday(DateTime date) const { return holidays_.Contains(date); }
    // The first and last year with any row; none for an empty section. Outside these years the
    // table knows nothing, so a date there is no holiday only for want of rows.
    std::optional<YearRange> CoveredYears() const { return coveredYears_; }
    // The holidays as business-day arithmetic takes them.
    const BusinessDayHolidays& DaysOff() const { return daysOff_; }
    // Every row of one year in file order, named as the decoder's list keeps them.
    std::vector<TVorlanNamedDate> NamedDatesOfYear(int year) const;
    // The bad rows that were skipped, each "<file> line <n>: <what is wrong>".
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    bool sectionFound_ = false;
    HolidayIndex holidays_;
    HolidayIndex observances_;
    std::optional<YearRange> coveredYears_;
    BusinessDayHolidays daysOff_;
    std::vector<std::string> problems_;
};

// Where reports about a damaged named-dates file go; the program connects a message box. Each
// reading of a section with bad rows reports once, whatever the number of look-ups after it. An
// empty hook (the default) shows nothing. Returns the hook it replaces.
using NamedDatesMessageHook = std::function<void(const std::string&)>;
NamedDatesMessageHook SetNamedDatesMessageHook(NamedDatesMessageHook hook);
// Hands one report to the hook (the holiday data's readers report through it too).
void ReportNamedDatesMessage(const std::string& message);

// The one report of a section's bad rows: the first problem and how many more rows were skipped
// (those in problems after it and moreProblems not kept); empty when there are none.
std::string NamedDatesProblemReport(const std::vector<std::string>& problems, std::string_view sectionName,
                                    std::size_t moreProblems = 0);

// Sections of named-dates files, each read once and kept: a section is read again only when its
// file's size or modification time has changed. Shared by the decoder's translator and the
// holiday look-ups, so a file is read, and its problems reported, once for both.
class NamedDatesCache {
public:
    // The section of the file at path. Null when the file has never been there; when it has gone
    // since, the table read before. A file that exists but cannot be read, or is larger than
    // kMaxNamedDatesFileSize, gives a table without a section, reported once as a whole.
    std::shared_ptr<const HolidayTable> Section(const std::string& path, std::string_view sectionName);
    // How often a file has been opened and read: a cached section costs none.
    int FileReads() const { return fileReads_; }

private:
    struct Entry {
        std::string path;
        std::string section; // upper case: headers are compared ignoring case
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        std::shared_ptr<const HolidayTable> table;
    };
    std::vector<Entry> entries_; // a handful: one per section asked for
    int fileReads_ = 0;
};

NamedDatesCache& SharedNamedDatesCache();

} // namespace kalendo
