#include "cli/DecodeCommand.h"

#include "cli/NamedDatesOptions.h"
#include "dates/DateEnvironment.h"
#include "dates/DateStringTranslater.h"
#include "dates/Error.h"
#include "dates/VorlanDecodeDate.h"

#include <memory>
#include <optional>
#include <string_view>

namespace kalendo::cli {

namespace {

constexpr const char* kUsage = "decode TEXT... [--now HH:MM[:SS]] [--datescan DIR] [--country PLACE]";

// One or two digits within 0..max.
std::optional<int> ReadClockField(std::string_view text, int max) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    for (const char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    const std::optional<std::int64_t> value = ParseInteger(text, 0, max);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

// HH:MM or HH:MM:SS, 24-hour.
std::optional<DateTime> ParseClockTime(std::string_view text) {
    int fields[3] = {0, 0, 0};
    const int limits[3] = {23, 59, 59};
    int count = 0;
    for (;;) {
        const std::size_t colon = text.find(':');
        if (count == 3) return std::nullopt;
        const std::optional<int> value = ReadClockField(text.substr(0, colon), limits[count]);
        if (!value) return std::nullopt;
        fields[count++] = *value;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    if (count < 2) return std::nullopt;
    return EncodeTime(fields[0], fields[1], fields[2]);
}

// Points the shared named-dates translator somewhere for one command and back afterwards.
class NamedDatesSourceScope {
public:
    NamedDatesSourceScope(std::string directory, std::string country,
                          std::shared_ptr<const HolidayTable> placeHolidays)
        : savedDirectory_(SharedDateStringTranslater().DataDirectory()),
          savedCountry_(SharedDateStringTranslater().CountryName()),
          savedPlace_(SharedDateStringTranslater().PlaceHolidays()) {
        SetNamedDatesSource(std::move(directory), std::move(country));
        SharedDateStringTranslater().SetPlaceHolidays(std::move(placeHolidays));
    }
    ~NamedDatesSourceScope() {
        SetNamedDatesSource(std::move(savedDirectory_), std::move(savedCountry_));
        SharedDateStringTranslater().SetPlaceHolidays(std::move(savedPlace_));
    }
    NamedDatesSourceScope(const NamedDatesSourceScope&) = delete;
    NamedDatesSourceScope& operator=(const NamedDatesSourceScope&) = delete;

private:
    std::string savedDirectory_;
    std::string savedCountry_;
    std::shared_ptr<const HolidayTable> savedPlace_;
};

const char* BooleanText(bool value) { return value ? "true" : "false"; }

} // namespace

CommandResult DecodeCommand(const CliOptions& options, std::span<const std::string> args) {
    static constexpr std::string_view kValued[] = {"--now", "--datescan", "--country"};
    const SplitArguments split = SplitCommandArguments(args, {}, kValued);
    if (!split.error.empty()) return BadArgument(split.error);
    if (split.positional.empty()) return BadArgument(std::string("missing argument: ") + kUsage);

    DateTime now = options.clock->Now();
    std::string directory = DefaultNamedDatesDirectory();
    std::string country;
    bool ownDirectory = false;
    for (const auto& [flag, value] : split.valued) {
        if (flag == "--now") {
            const std::optional<DateTime> time = ParseClockTime(value);
            if (!time) return BadArgument("--now must be HH:MM or HH:MM:SS, not " + Quoted(value));
            now = ComposeDateTime(DateOf(now), *time);
        } else if (flag == "--datescan") {
            directory = value;
            ownDirectory = true;
        } else {
            country = value;
        }
    }
    std::string text;
    for (std::size_t i = 0; i < split.positional.size(); ++i) {
        if (i > 0) text += ' ';
        text += split.positional[i];
    }

    // Without a file of its own, --country names a place of the holiday data (or a section of
    // the user's own named-dates file).
    std::shared_ptr<const HolidayTable> placeHolidays;
    // A locale's country that the named-dates file has no section for goes by its code ("BR"),
    // a place of the holiday data.
    if (country.empty() && !ownDirectory && options.settings.countryName.size() == 2)
        country = options.settings.countryName;
    if (!ownDirectory && !country.empty()) {
        ResolvedPlace place;
        if (auto problem = ResolvePlace(country, "--country", place)) return *problem;
        if (place.place) {
            placeHolidays =
                place.holidays != nullptr ? place.holidays : std::make_shared<const HolidayTable>();
        }
    }

    // The translator reads the year from the shared clock, so it sees the same moment.
    const auto clock = std::make_shared<FixedClock>(now);
    const ScopedDateEnvironment environment(options.settings, clock);
    const NamedDatesSourceScope source(directory, country, std::move(placeHolidays));
    TVorlanDecodeDate decoder(options.settings, *clock);
    try {
        decoder.SetDateToDecode(text);
    } catch (const Error& error) {
        // An error of the date core while decoding: the decode has no answer.
        CommandResult result = Failure(error.what());
        if (options.json) result.output = "{\"error\":" + JsonString(error.what()) + "}\n";
        return result;
    }

    const DateTime decoded = decoder.DecodedDate();
    CommandResult result;
    if (options.json) {
        result.output = "{\"serial\":" + JsonNumber(decoded) + ",\"iso\":" + JsonString(IsoText(decoded)) +
                        ",\"valid_date\":" + BooleanText(decoder.ValidDate()) +
                        ",\"valid_time\":" + BooleanText(decoder.ValidTime()) +
                        ",\"valid_datetime\":" + BooleanText(decoder.ValidDateTime()) + "}\n";
    } else {
        result.output = IsoText(decoded) + "\nValidDate=" + BooleanText(decoder.ValidDate()) +
                        " ValidTime=" + BooleanText(decoder.ValidTime()) +
                        " ValidDateTime=" + BooleanText(decoder.ValidDateTime()) + "\n";
    }
    if (!decoder.ValidDateTime()) {
        result.exitCode = 1;
        result.error = kUnableToDecodeMessage + text;
    }
    return result;
}

} // namespace kalendo::cli
