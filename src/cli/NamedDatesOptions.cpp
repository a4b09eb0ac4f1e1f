#include "cli/NamedDatesOptions.h"

#include "cli/ProgramFolders.h"
#include "dates/NamedDatesFile.h"
#include "dates/NamedDatesLocation.h"

#include <algorithm>
#include <utility>

namespace kalendo::cli {

namespace {

NamedDatesFolders SearchedFolders() {
    NamedDatesFolders folders = NamedDatesFoldersFromEnvironment();
    const ProgramFolders program = AskOperatingSystemForFolders();
    folders.systemDirectory = program.system;
    folders.programDirectory = program.program;
    return folders;
}

} // namespace

std::string DefaultNamedDatesDirectory() { return FindNamedDatesDirectory(SearchedFolders()).string(); }

std::string DefaultHolidayDataDirectory() { return FindHolidayDataDirectory(SearchedFolders()).string(); }

bool IsHolidayDataCountry(const std::string& code) {
    const std::filesystem::path data = DefaultHolidayDataDirectory();
    if (data.empty()) return false;
    SetHolidayDataDirectory(data);
    const std::optional<HolidayPlace> place = SharedHolidayLibrary().FindPlace(code);
    return place && place->WholeCountry();
}

NamedDatesMessages::NamedDatesMessages()
    : previous_(
          SetNamedDatesMessageHook([this](const std::string& message) { messages_.push_back(message); })) {}

NamedDatesMessages::~NamedDatesMessages() { SetNamedDatesMessageHook(std::move(previous_)); }

void NamedDatesMessages::MoveInto(CommandResult& result) {
    result.warnings.insert(result.warnings.begin(), messages_.begin(), messages_.end());
    messages_.clear();
}

std::optional<CommandResult> ResolvePlace(std::string_view text, std::string_view option,
                                          ResolvedPlace& into) {
    const std::filesystem::path data = DefaultHolidayDataDirectory();
    const std::string namedDates = DefaultNamedDatesDirectory();
    // A named-dates file outside the shipped data's folder is the user's own.
    if (!namedDates.empty() && (data.empty() || std::filesystem::path(namedDates) != data.parent_path())) {
        const std::string path = (std::filesystem::path(namedDates) / kNamedDatesFileName).string();
        std::shared_ptr<const HolidayTable> table =
            SharedNamedDatesCache().Section(path, NamedDatesSectionName(text));
        if (table != nullptr && table->SectionFound() && !table->Holidays().All().empty()) {
            into = {std::nullopt, std::string(text), std::move(table)};
            return std::nullopt;
        }
    }
    SetHolidayDataDirectory(data);
    if (data.empty())
        return BadArgument(std::string(option) +
                           " needs the holiday data, found in no folder (KALENDO_DATA_DIR names one)");
    HolidayLibrary& library = SharedHolidayLibrary();
    const std::optional<HolidayPlace> place = library.FindPlace(text);
    if (!place)
        return BadArgument("unknown place " + Quoted(text) + " for " + std::string(option) +
                           "; kalendo-cli places lists them");
    std::shared_ptr<const HolidayTable> table = library.Holidays(*place);
    if (table != nullptr && !table->SectionFound()) table = nullptr; // reported by the library
    into = {place, place->name, std::move(table)};
    return std::nullopt;
}

std::optional<CommandResult> ReadHolidaysOption(std::string_view place,
                                                std::shared_ptr<const HolidayTable>& table) {
    ResolvedPlace resolved;
    if (auto problem = ResolvePlace(place, "--holidays", resolved)) return problem;
    table = std::move(resolved.holidays);
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
