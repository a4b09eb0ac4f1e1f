#include "dates/HolidayTable.h"

#include "dates/DateFormat.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace kalendo {

namespace {

// The month key of a date: 12 (year - firstYear) + month - 1.
std::int64_t MonthKey(const CivilDate& date, int firstYear) {
    return 12 * static_cast<std::int64_t>(date.year - firstYear) + date.month - 1;
}

NamedDatesMessageHook& MessageHookSlot() {
    static NamedDatesMessageHook hook;
    return hook;
}

constexpr const char* kWithoutTheFile = "Named days and public holidays are not shown.";

// The operating system's words for an error number, or a plain statement when there is none.
std::string ErrorText(int errorNumber) {
    if (errorNumber == 0) return "the file cannot be opened";
    return std::error_code(errorNumber, std::generic_category()).message();
}

void Report(const std::string& message) {
    if (const NamedDatesMessageHook& hook = MessageHookSlot()) hook(message);
}

} // namespace

HolidayIndex::HolidayIndex(std::vector<NamedDay> days) : days_(std::move(days)) {
    std::sort(days_.begin(), days_.end(), [](const NamedDay& a, const NamedDay& b) {
        return a.Date != b.Date ? a.Date < b.Date : a.Line < b.Line;
    });
    if (days_.empty()) return;
    firstYear_ = DecodeDate(days_.front().Date).year;
    const std::int64_t months = MonthKey(DecodeDate(days_.back().Date), firstYear_) + 1; // 1..119988
    monthStart_.assign(static_cast<std::size_t>(months) + 1, 0);
    // Count the days of each month, then turn the counts into starting positions.
    for (const NamedDay& day : days_)
        ++monthStart_[static_cast<std::size_t>(MonthKey(DecodeDate(day.Date), firstYear_)) + 1];
    for (std::size_t k = 1; k < monthStart_.size(); ++k)
        monthStart_[k] += monthStart_[k - 1];
}

std::span<const NamedDay> HolidayIndex::InMonth(int year, int month) const {
    if (monthStart_.empty() || month < 1 || month > 12) return {};
    const std::int64_t key = 12 * (static_cast<std::int64_t>(year) - firstYear_) + month - 1;
    if (key < 0 || key + 1 >= static_cast<std::int64_t>(monthStart_.size())) return {};
    const std::uint32_t begin = monthStart_[static_cast<std::size_t>(key)];
    const std::uint32_t end = monthStart_[static_cast<std::size_t>(key) + 1];
    return std::span<const NamedDay>(days_).subspan(begin, end - begin);
}

std::span<const NamedDay> HolidayIndex::On(DateTime date) const {
    static const DateTime firstDay = EncodeDate(1, 1, 1), lastDay = EncodeDate(9999, 12, 31);
    const DateTime day = DateOf(date);
    if (!(day >= firstDay && day <= lastDay)) return {}; // NaN included
    const CivilDate civil = DecodeDate(day);
    const std::span<const NamedDay> month = InMonth(civil.year, civil.month);
    const auto first =
        std::find_if(month.begin(), month.end(), [&](const NamedDay& d) { return d.Date == day; });
    const auto last = std::find_if(first, month.end(), [&](const NamedDay& d) { return d.Date != day; });
    return month.subspan(static_cast<std::size_t>(first - month.begin()),
                         static_cast<std::size_t>(last - first));
}

HolidayTable::HolidayTable(NamedDatesFileSection section)
    : sectionFound_(section.Found), problems_(std::move(section.Problems)) {
    std::vector<NamedDay> holidays, observances;
    std::vector<std::int64_t> daysOff;
    for (NamedDay& day : section.Rows) {
        const int year = DecodeDate(day.Date).year;
        if (!coveredYears_)
            coveredYears_ = YearRange{year, year};
        else
            coveredYears_ =
                YearRange{std::min(coveredYears_->first, year), std::max(coveredYears_->last, year)};
        if (day.Observance) {
            observances.push_back(std::move(day));
        } else {
            daysOff.push_back(static_cast<std::int64_t>(day.Date));
            holidays.push_back(std::move(day));
        }
    }
    holidays_ = HolidayIndex(std::move(holidays));
    observances_ = HolidayIndex(std::move(observances));
    daysOff_ = BusinessDayHolidays(std::move(daysOff));
}

std::vector<TVorlanNamedDate> HolidayTable::NamedDatesOfYear(int year) const {
    std::vector<const NamedDay*> rows;
    for (const HolidayIndex* index : {&holidays_, &observances_})
        for (int month = 1; month <= 12; ++month)
            for (const NamedDay& day : index->InMonth(year, month))
                rows.push_back(&day);
    std::sort(rows.begin(), rows.end(),
              [](const NamedDay* a, const NamedDay* b) { return a->Line < b->Line; });
    std::vector<TVorlanNamedDate> dates;
    dates.reserve(rows.size());
    for (const NamedDay* day : rows)
        dates.push_back({NamedDateSearchName(day->Name), day->Date});
    return dates;
}

NamedDatesMessageHook SetNamedDatesMessageHook(NamedDatesMessageHook hook) {
    return std::exchange(MessageHookSlot(), std::move(hook));
}

void ReportNamedDatesMessage(const std::string& message) { Report(message); }

std::string NamedDatesProblemReport(const std::vector<std::string>& problems, std::string_view sectionName,
                                    std::size_t moreProblems) {
    if (problems.empty()) return {};
    const std::string& first = problems.front();
    const std::size_t others = problems.size() - 1 + moreProblems;
    if (others == 0) return first + ". The row is skipped.";
    return first + ". This row and " + std::to_string(others) + " more of section [" +
           std::string(sectionName) + "] are skipped.";
}

std::shared_ptr<const HolidayTable> NamedDatesCache::Section(const std::string& path,
                                                             std::string_view sectionName) {
    namespace fs = std::filesystem;
    const std::string section = UpperCase(sectionName);
    const auto cached = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return entry.path == path && entry.section == section;
    });

    // Size and modification time in two look-ups; a directory has no size and counts as no file.
    std::error_code sizeError, timeError;
    const std::uintmax_t size = fs::file_size(path, sizeError);
    const fs::file_time_type modifiedTime = fs::last_write_time(path, timeError);
    if (sizeError || timeError) return cached != entries_.end() ? cached->table : nullptr;
    const std::int64_t modified = modifiedTime.time_since_epoch().count();
    if (cached != entries_.end() && cached->size == size && cached->modified == modified)
        return cached->table;

    ++fileReads_;
    NamedDatesFileSection read;
    std::string report;
    if (size > kMaxNamedDatesFileSize) {
        // Reading it would only take time and memory: no named-dates file is anywhere near as big.
        report = path + " is not read: at " + std::to_string(size >> 20) + " MB it is far larger than a " +
                 "named-dates file (at most " + std::to_string(kMaxNamedDatesFileSize >> 20) + " MB). " +
                 kWithoutTheFile;
    } else {
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in.is_open()) {
            report = path + " cannot be read (" + ErrorText(errno) + "). " + kWithoutTheFile;
        } else {
            read = ReadNamedDatesFileSection(in, sectionName, path);
            if (in.bad())
                report = path + " cannot be read to its end (" + ErrorText(errno) + ").";
            else
                report = NamedDatesProblemReport(read.Problems, sectionName, read.MoreProblems);
        }
    }
    auto table = std::make_shared<const HolidayTable>(std::move(read));
    if (cached != entries_.end())
        *cached = {path, section, size, modified, table};
    else
        entries_.push_back({path, section, size, modified, table});
    // After the table is stored, so a hook that looks the section up again finds it.
    if (!report.empty()) Report(report);
    return table;
}

NamedDatesCache& SharedNamedDatesCache() {
    static NamedDatesCache shared;
    return shared;
}

} // namespace kalendo
