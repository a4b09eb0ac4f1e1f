#include "cli/NamedDatesOptions.h"

#include "cli/ProgramFolders.h"
#include "dates/NamedDatesFile.h"
#include "dates/NamedDatesLocation.h"

#include <algorithm>
#include <utility>

namespace kalendo::cli {

std::string DefaultNamedDatesDirectory() {
    NamedDatesFolders folders = NamedDatesFoldersFromEnvironment();
    const ProgramFolders program = AskOperatingSystemForFolders();
    folders.systemDirectory = program.system;
    folders.programDirectory = program.program;
    return FindNamedDatesDirectory(folders).string();
}

NamedDatesMessages::NamedDatesMessages()
    : previous_(
          SetNamedDatesMessageHook([this](const std::string& message) { messages_.push_back(message); })) {}

NamedDatesMessages::~NamedDatesMessages() { SetNamedDatesMessageHook(std::move(previous_)); }

void NamedDatesMessages::MoveInto(CommandResult& result) {
    result.warnings.insert(result.warnings.begin(), messages_.begin(), messages_.end());
    messages_.clear();
}

std::optional<CommandResult> ReadHolidaysOption(std::string_view country,
                                                std::shared_ptr<const HolidayTable>& table) {
    const std::string directory = DefaultNamedDatesDirectory();
    if (directory.empty())
        return BadArgument("--holidays needs the named-dates file " + std::string(kNamedDatesFileName) +
                           ", found in no folder (KALENDO_DATA_DIR names one)");
    const std::string path = (std::filesystem::path(directory) / kNamedDatesFileName).string();
    table = SharedNamedDatesCache().Section(path, NamedDatesSectionName(country));
    if (table == nullptr || !table->SectionFound() || table->Holidays().All().empty())
        return BadArgument("--holidays: " + path + " has no holidays for " + Quoted(country));
    return std::nullopt;
}

std::string CoverageWarning(const HolidayTable& table, std::string_view country, DateTime first,
                            DateTime last) {
    const std::optional<YearRange> years = table.CoveredYears();
    if (!years) return {};
    if (last < first) std::swap(first, last);
    if (years->Contains(DecodeDate(first).year) && years->Contains(DecodeDate(last).year)) return {};
    return "the holidays of " + std::string(country) + " are known from " + std::to_string(years->first) +
           " to " + std::to_string(years->last) + " only";
}

} // namespace kalendo::cli
