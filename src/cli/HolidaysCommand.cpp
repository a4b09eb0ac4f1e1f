#include "cli/HolidaysCommand.h"

#include "cli/NamedDatesOptions.h"
#include "dates/DateFormat.h"
#include "dates/HolidayPlaces.h"

#include <optional>
#include <string_view>

namespace kalendo::cli {

namespace {

constexpr const char* kNotDayOff = " (not a day off)";

std::string PlaceJson(const std::string& code, const std::string& name) {
    return "{\"code\":" + JsonString(code) + ",\"name\":" + JsonString(name) + "}";
}

// A region's name below its country: "Bavaria", "Bavaria/Augsburg" for a third level.
std::string RegionName(HolidayLibrary& library, const HolidayCountryEntry& country,
                       const HolidayPlaceEntry& region) {
    const std::optional<HolidayPlace> place = library.FindPlace(region.code);
    return place ? place->name.substr(country.name.size() + 1) : region.name;
}

} // namespace

CommandResult HolidaysCommand(const CliOptions& options, std::span<const std::string> args) {
    static constexpr std::string_view kValued[] = {"--in"};
    const SplitArguments split = SplitCommandArguments(args, {}, kValued);
    constexpr std::string_view kUsage = "holidays YEAR [--in PLACE]";
    if (!split.error.empty()) return BadArgument(split.error);
    if (split.positional.size() != 1)
        return BadArgument("missing or unexpected argument: " + std::string(kUsage));
    const std::optional<std::int64_t> year = ParseInteger(split.positional[0], 1752, 3000);
    if (!year)
        return BadArgument("YEAR must be a whole number from 1752 to 3000, not " +
                           Quoted(split.positional[0]));
    const std::string placeText =
        split.valued.empty() ? options.settings.countryName : split.valued.back().second;
    ResolvedPlace resolved;
    if (auto problem = ResolvePlace(placeText, "--in", resolved)) return *problem;
    if (resolved.holidays == nullptr)
        return Failure("the public holidays of " + resolved.name + " are missing from the holiday data");

    const std::vector<PlaceDay> days = DaysOfYear(*resolved.holidays, static_cast<int>(*year));
    CommandResult result;
    if (options.json) {
        std::string out = "{\"place\":" +
                          (resolved.place ? PlaceJson(resolved.place->code, resolved.place->name)
                                          : R"({"code":null,"name":)" + JsonString(resolved.name) + "}") +
                          ",\"year\":" + std::to_string(*year) + ",\"days\":[";
        for (std::size_t i = 0; i < days.size(); ++i)
            out += std::string(i == 0 ? "" : ",") + "{\"date\":" + JsonString(IsoText(days[i].date)) +
                   ",\"name\":" + JsonString(days[i].name) +
                   ",\"day_off\":" + (days[i].dayOff ? "true" : "false") + "}";
        out += "]";
        if (resolved.place && !resolved.place->partialNote.empty())
            out += ",\"partial\":" + JsonString(resolved.place->partialNote);
        result.output = out + "}\n";
    } else {
        for (const PlaceDay& day : days)
            result.output += IsoText(day.date) + "  " + day.name + (day.dayOff ? "" : kNotDayOff) + "\n";
    }
    if (resolved.place && !resolved.place->partialNote.empty())
        result.warnings.push_back("the list of " + resolved.name + " is partial. " +
                                  resolved.place->partialNote);
    if (const std::optional<YearRange> covered = resolved.holidays->CoveredYears();
        !covered || !covered->Contains(static_cast<int>(*year)))
        result.warnings.push_back("the holidays of " + resolved.name + " are known" +
                                  (covered ? " from " + std::to_string(covered->first) + " to " +
                                                 std::to_string(covered->last) + " only"
                                           : " for no year"));
    return result;
}

CommandResult PlacesCommand(const CliOptions& options, std::span<const std::string> args) {
    const SplitArguments split = SplitCommandArguments(args, {}, {});
    if (split.positional.size() > 1)
        return BadArgument("unexpected argument " + Quoted(split.positional[1]) + ": places [COUNTRY]");
    const std::string data = DefaultHolidayDataDirectory();
    if (data.empty())
        return BadArgument("places needs the holiday data, found in no folder (KALENDO_DATA_DIR names one)");
    SetHolidayDataDirectory(data);
    HolidayLibrary& library = SharedHolidayLibrary();
    std::optional<std::string> only;
    if (!split.positional.empty()) {
        const std::optional<HolidayPlace> place = library.FindPlace(split.positional[0]);
        if (!place || !place->WholeCountry())
            return BadArgument("unknown country " + Quoted(split.positional[0]) +
                               "; kalendo-cli places lists them");
        only = place->code;
    }
    std::string out = options.json ? "{\"places\":[" : "";
    bool firstCountry = true;
    for (const HolidayCountryEntry& country : library.Countries()) {
        if (only && country.code != *only) continue;
        if (options.json) {
            out += std::string(firstCountry ? "" : ",") + "{\"code\":" + JsonString(country.code) +
                   ",\"name\":" + JsonString(country.name) + ",\"regions\":[";
            for (std::size_t i = 0; i < country.regions.size(); ++i)
                out += (i == 0 ? "" : ",") +
                       PlaceJson(country.regions[i].code, RegionName(library, country, country.regions[i]));
            out += "]}";
        } else {
            out += country.code + "  " + country.name + "\n";
            for (const HolidayPlaceEntry& region : country.regions)
                out += "  " + region.code + "  " + RegionName(library, country, region) + "\n";
        }
        firstCountry = false;
    }
    if (options.json) out += "]}\n";
    return Success(out);
}

} // namespace kalendo::cli
