#include "dates/HolidayPlaces.h"

#include "dates/DateFormat.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <utility>

namespace kalendo {

namespace {

// Tables of places without the user's changes kept at once: enough to go back and forth in a
// window, little memory.
constexpr std::size_t kKeptTables = 8;
// Country files kept at once (the largest is under 300 KB): going through every country in a
// window does not keep the world in memory.
constexpr std::size_t kKeptFiles = 4;

bool NamedBy(const HolidayPlaceEntry& place, std::string_view name) {
    if (SameTextIgnoringCase(place.name, name)) return true;
    return std::any_of(place.otherNames.begin(), place.otherNames.end(),
                       [&](const std::string& other) { return SameTextIgnoringCase(other, name); });
}

void ReportProblems(const std::vector<std::string>& problems, std::string_view what) {
    if (const std::string report = NamedDatesProblemReport(problems, what); !report.empty())
        ReportNamedDatesMessage(report);
}

} // namespace

std::vector<PlaceDay> DaysOfYear(const HolidayTable& table, int year) {
    std::vector<const NamedDay*> rows;
    for (const HolidayIndex* index : {&table.Holidays(), &table.Observances()})
        for (int month = 1; month <= 12; ++month)
            for (const NamedDay& day : index->InMonth(year, month))
                rows.push_back(&day);
    std::sort(rows.begin(), rows.end(), [](const NamedDay* a, const NamedDay* b) {
        return a->Date != b->Date ? a->Date < b->Date : a->Line < b->Line;
    });
    std::vector<PlaceDay> days;
    days.reserve(rows.size());
    for (const NamedDay* row : rows)
        days.push_back({row->Date, row->Name, !row->Observance});
    return days;
}

HolidayLibrary::HolidayLibrary(std::filesystem::path directory) : directory_(std::move(directory)) {}

const std::vector<HolidayCountryEntry>& HolidayLibrary::Countries() {
    if (indexRead_ || directory_.empty()) return countries_;
    indexRead_ = true;
    const std::filesystem::path path = directory_ / kHolidayPlacesFileName;
    std::ifstream in(path, std::ios::binary);
    ++fileReads_;
    if (!in.is_open()) {
        ReportNamedDatesMessage("The list of places " + path.string() +
                                " cannot be read, so no public holidays are known.");
        return countries_;
    }
    HolidayPlacesIndex index = ReadHolidayPlaces(in, path.string());
    ReportProblems(index.problems, "places");
    countries_ = std::move(index.countries);
    return countries_;
}

HolidayPlace HolidayLibrary::PlaceOf(const HolidayCountryEntry& country,
                                     const HolidayPlaceEntry* region) const {
    HolidayPlace place{country.code, country.name, country.code, country.partialNote};
    if (region == nullptr) return place;
    place.code = region->code;
    place.partialNote = region->partialNote;
    // A third level (DE-BY-A) is named after its state too: "Germany/Bavaria/Augsburg".
    std::string name = region->name;
    const std::size_t lastDash = region->code.rfind('-');
    if (lastDash > country.code.size()) {
        const std::string parent = region->code.substr(0, lastDash);
        for (const HolidayPlaceEntry& other : country.regions)
            if (other.code == parent) name.insert(0, other.name + "/");
    }
    place.name = country.name + "/" + name;
    return place;
}

std::optional<HolidayPlace> HolidayLibrary::FindPlace(std::string_view codeOrName) {
    const std::vector<HolidayCountryEntry>& countries = Countries();
    for (const HolidayCountryEntry& country : countries) {
        if (SameTextIgnoringCase(country.code, codeOrName)) return PlaceOf(country, nullptr);
        for (const HolidayPlaceEntry& region : country.regions)
            if (SameTextIgnoringCase(region.code, codeOrName)) return PlaceOf(country, &region);
    }
    const std::size_t slash = codeOrName.find('/');
    const std::string_view countryName = codeOrName.substr(0, slash);
    for (const HolidayCountryEntry& country : countries) {
        if (!NamedBy(country, countryName)) continue;
        if (slash == std::string_view::npos) return PlaceOf(country, nullptr);
        const std::string_view regionName = codeOrName.substr(slash + 1);
        for (const HolidayPlaceEntry& region : country.regions) {
            // "Bavaria", or "Bavaria/Augsburg" for a third level.
            const HolidayPlace place = PlaceOf(country, &region);
            if (NamedBy(region, regionName) ||
                SameTextIgnoringCase(std::string_view(place.name).substr(country.name.size() + 1),
                                     regionName))
                return place;
        }
    }
    return std::nullopt;
}

std::shared_ptr<const CountryHolidayFile> HolidayLibrary::CountryFile(const std::string& countryCode) {
    if (const auto kept = files_.find(countryCode); kept != files_.end()) return kept->second;
    const std::filesystem::path path = directory_ / (countryCode + ".txt");
    ++fileReads_;
    std::ifstream in(path, std::ios::binary);
    std::shared_ptr<const CountryHolidayFile> file;
    if (in.is_open()) {
        auto read = std::make_shared<CountryHolidayFile>(ReadCountryHolidayFile(in, path.string()));
        ReportProblems(read->problems, countryCode);
        file = std::move(read);
    } else {
        ReportNamedDatesMessage("The public holidays of " + countryCode + " are missing: " + path.string() +
                                " cannot be read.");
    }
    if (files_.size() >= kKeptFiles) files_.clear();
    files_.emplace(countryCode, file);
    return file;
}

std::shared_ptr<const HolidayTable> HolidayLibrary::Holidays(const HolidayPlace& place,
                                                             const HolidayChanges& changes) {
    if (directory_.empty()) return nullptr;
    if (changes.Empty())
        if (const auto kept = tables_.find(place.code); kept != tables_.end()) return kept->second;
    const std::shared_ptr<const CountryHolidayFile> file = CountryFile(place.countryCode);
    if (file == nullptr) return std::make_shared<const HolidayTable>();
    NamedDatesFileSection section = PlaceHolidaySection(*file, place.code, changes);
    ReportProblems(section.Problems, place.code);
    auto table = std::make_shared<const HolidayTable>(std::move(section));
    if (changes.Empty()) {
        if (tables_.size() >= kKeptTables) tables_.clear();
        tables_.emplace(place.code, table);
    }
    return table;
}

std::filesystem::path FindHolidayDataDirectory(const NamedDatesFolders& folders) {
    for (const std::filesystem::path& folder : NamedDatesSearchOrder(folders)) {
        std::error_code ignored;
        std::filesystem::path data = folder / kHolidayDataFolderName;
        if (std::filesystem::is_regular_file(data / kHolidayPlacesFileName, ignored)) return data;
    }
    return {};
}

namespace {
std::unique_ptr<HolidayLibrary>& SharedLibrarySlot() {
    static std::unique_ptr<HolidayLibrary> shared = std::make_unique<HolidayLibrary>();
    return shared;
}
} // namespace

HolidayLibrary& SharedHolidayLibrary() { return *SharedLibrarySlot(); }

void SetHolidayDataDirectory(std::filesystem::path directory) {
    if (SharedLibrarySlot()->Directory() == directory) return;
    SharedLibrarySlot() = std::make_unique<HolidayLibrary>(std::move(directory));
}

} // namespace kalendo
