#pragma once

#include "dates/Clock.h"
#include "dates/DateTime.h"
#include "dates/FormatSettings.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo::cli {

// What the options before the command set: the locale table, the clock and the output form.
struct CliOptions {
    FormatSettings settings = UnitedKingdomSettings();
    std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>();
    bool json = false;
};

// What a command hands back; the caller writes it out. Exit codes: 0 success, 1 an answer that
// is an error (end before start, a result outside the calendar), 2 a bad argument.
struct CommandResult {
    int exitCode = 0;
    std::string output;                // for stdout, each line ending in '\n'
    std::string error;                 // one line for stderr, without the program name; empty when none
    std::vector<std::string> warnings; // lines for stderr that do not change the answer
};

CommandResult Success(std::string output);
CommandResult BadArgument(std::string message);
CommandResult Failure(std::string message);

// The English name of the country of a locale name's territory ("de_DE.UTF-8" gives Germany),
// for the countries of the named-dates table; nullopt for any other.
std::optional<std::string> CountryOfLocaleName(std::string_view localeName);
// The locale table for a locale name: the United States table for en_US, the United Kingdom one
// for en_GB, en, C and POSIX, and the United Kingdom table with the territory's country for the
// other countries of the named-dates table ("ja_JP" reads Japan's holidays); nullopt otherwise.
std::optional<FormatSettings> SettingsForLocaleName(std::string_view localeName);
// The same for a locale name from the environment, with the United Kingdom table for anything
// it does not know (unset included).
FormatSettings SettingsForEnvironmentLocale(std::string_view localeName);
// LC_ALL, else LC_TIME, else LANG: the first that is set and not empty.
std::string EnvironmentLocaleName();

// YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS (years 0001..9999), or "today" by the given clock.
std::optional<DateTime> ParseDateArgument(std::string_view text, const Clock& clock);
// A decimal integer with an optional sign that fits the range.
std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min, std::int64_t max);

// YYYY-MM-DD, with THH:MM:SS when the time of day is not midnight.
std::string IsoText(DateTime value);
// True when the value is a day the date core can name (years 1 to 9999).
bool IsEncodableDay(DateTime value);

// The text as a JSON string literal: quotes, backslashes and control characters escaped, bytes
// that are not UTF-8 replaced by U+FFFD so the output is always valid JSON.
std::string JsonString(std::string_view text);
// The shortest decimal that reads back as the same double.
std::string JsonNumber(double value);

// The argument quoted for an error line: control characters shown as '?', long texts cut.
std::string Quoted(std::string_view text);

// A command's arguments sorted into positional ones and the named flags it knows.
struct SplitArguments {
    std::vector<std::string> positional;
    std::vector<std::string> flags;                          // flags without a value, as given
    std::vector<std::pair<std::string, std::string>> valued; // flag and its value
    std::string error;                                       // set when a valued flag lacks its value
};
SplitArguments SplitCommandArguments(std::span<const std::string> args,
                                     std::span<const std::string_view> flags,
                                     std::span<const std::string_view> valuedFlags);

} // namespace kalendo::cli
