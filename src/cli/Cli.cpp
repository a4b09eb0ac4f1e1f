#include "cli/Cli.h"

#include "cli/CliCommands.h"
#include "cli/DecodeCommand.h"
#include "cli/HolidaysCommand.h"
#include "cli/NamedDatesOptions.h"
#include "dates/DateEnvironment.h"
#include "dates/Error.h"

#include "KalendoVersion.h"

#include <exception>
#include <ostream>

namespace kalendo::cli {

namespace {

constexpr const char* kProgram = "kalendo-cli";
constexpr const char* kOtherLocales = "and LL_CC for CC a country of kalendo-cli places";

struct CommandEntry {
    std::string_view name;
    CommandFunction run;
};

// A new command is one more file with its function and one more line here.
constexpr CommandEntry kCommands[] = {
    {"span", &SpanCommand},
    {"add", &AddCommand},
    {"easter", &EasterCommand},
    {"week", &WeekCommand},
    {"weekofyear", &WeekOfYearCommand},
    {"format", &FormatCommand},
    {"longyear", &LongYearCommand},
    {"decode", &DecodeCommand},
    {"holidays", &HolidaysCommand},
    {"places", &PlacesCommand},
};

CommandFunction FindCommand(std::string_view name) {
    for (const CommandEntry& entry : kCommands)
        if (entry.name == name) return entry.run;
    return nullptr;
}

int ReportBadArgument(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << message << " (see " << kProgram << " --help)\n";
    return 2;
}

} // namespace

// One source line per printed line, so the columns can be checked by eye.
// clang-format off
std::string UsageText() {
    return "Usage: kalendo-cli [OPTION]... COMMAND [ARG]...\n"
           "The Kalendo date engine on the command line.\n"
           "\n"
           "Commands:\n"
           "  span START END [--both] [--business [--holidays PLACE]]\n"
           "                                     the Days, Weeks, Months and Years panel texts, one per "
           "line;\n"
           "                                     --business adds the business days (Monday to Friday, less\n"
           "                                     PLACE's public holidays), counted like the Days line\n"
           "  add UNIT COUNT DATE [--holidays PLACE]\n"
           "                                     move DATE by COUNT units: D days, B business days, W "
           "weeks,\n"
           "                                     M months, Q quarters, Y years (any case; others give\n"
           "                                     1899-12-30); --holidays makes B skip PLACE's public\n"
           "                                     holidays too\n"
           "  holidays YEAR [--in PLACE]         PLACE's named days of YEAR in date order, those that are "
           "no\n"
           "                                     day off marked so (default: --locale's country)\n"
           "  places [COUNTRY]                   the places with public holidays: every country and its\n"
           "                                     regions, with their codes\n"
           "  easter YEAR                        the seven lines of the Easter window (YEAR 1000 to 3000)\n"
           "  week DATE [--first monday|sunday]  the calendar's week number of the row holding DATE\n"
           "  weekofyear DATE                    the week number of the format letter W\n"
           "  format FORMAT DATE                 DATE through FORMAT (d m y letters, W week, Z ordinal "
           "suffix)\n"
           "  longyear DATE                      DATE in the locale's short format with a four-digit year\n"
           "  decode TEXT... [--now HH:MM[:SS]] [--datescan DIR] [--country PLACE]\n"
           "                                     free text (3 days ago, next Friday, 10:30pm, Christmas "
           "Day)\n"
           "                                     as a date and the ValidDate, ValidTime and ValidDateTime\n"
           "                                     flags; exit 1 when it is no valid date and time. Named "
           "dates\n"
           "                                     are PLACE's (default: --locale's country); with "
           "--datescan,\n"
           "                                     those of section PLACE of DIR/DateScan.DAT\n"
           "\n"
           "PLACE is a code, the country's ISO 3166 code with its region's as in 'places' (US, GB-ENG,\n"
           "DE-BY, CA-ON, AU-NSW), or an English name, Country or Country/Region (Germany/Bavaria). A\n"
           "DateScan.DAT of your own (in KALENDO_DATA_DIR) with a section of that name is read instead.\n"
           "\n"
           "Options:\n"
           "  --locale NAME       en_GB, en_US or LL_CC for a country of the holiday data\n"
           "                      (de_DE, ja_JP, en_AU: the en_GB formats with that country's holidays;\n"
           "                      default: from LC_ALL, LC_TIME or LANG, else en_GB)\n"
           "  --today YYYY-MM-DD  the date that 'today' means\n"
           "  --json              print one JSON object\n"
           "  -h, --help          show this help and exit\n"
           "  --version           show the version and exit\n"
           "\n"
           "DATE is YYYY-MM-DD, YYYY-MM-DDTHH:MM:SS or today; START and END lie from 1752-01-01 to "
           "3000-12-31.\n"
           "Exit status: 0 done, 1 the answer is an error (end before start, result out of range),\n"
           "2 a bad argument.\n";
}
// clang-format on

std::string VersionText() { return std::string(kProgram) + " " + kVersion + "\n"; }

ParsedCommandLine ParseCommandLine(std::span<const std::string> args,
                                   std::string_view localeFromEnvironment) {
    ParsedCommandLine parsed;
    parsed.options.settings = SettingsForEnvironmentLocale(localeFromEnvironment);
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // The first of --help and --version wins, whatever follows it.
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            break;
        }
        if (arg == "--version") {
            parsed.version = true;
            break;
        }
        if (arg == "--json") {
            parsed.options.json = true;
        } else if (arg == "--locale" || arg == "--today") {
            if (i + 1 == args.size()) {
                parsed.error = arg + " needs a value";
                break;
            }
            const std::string& value = args[++i];
            if (arg == "--locale") {
                const std::optional<FormatSettings> settings = SettingsForLocaleName(value);
                if (!settings) {
                    parsed.error =
                        "unknown locale " + Quoted(value) + " (known: en_GB, en_US, " + kOtherLocales + ")";
                    break;
                }
                parsed.options.settings = *settings;
            } else {
                const std::optional<DateTime> today = ParseDateArgument(value, SystemClock());
                if (!today || value == "today") {
                    parsed.error = "--today must be YYYY-MM-DD, not " + Quoted(value);
                    break;
                }
                parsed.options.clock = std::make_shared<FixedClock>(*today);
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            parsed.error = "unknown option " + Quoted(arg);
            break;
        } else {
            break;
        }
    }
    parsed.commandIndex = i;
    return parsed;
}

int RunCli(std::span<const std::string> args, std::string_view localeFromEnvironment, std::ostream& out,
           std::ostream& err) {
    const ParsedCommandLine parsed = ParseCommandLine(args, localeFromEnvironment);
    if (parsed.help || parsed.version) {
        out << (parsed.help ? UsageText() : VersionText());
        return 0;
    }
    if (!parsed.error.empty()) return ReportBadArgument(err, parsed.error);
    if (parsed.commandIndex >= args.size()) return ReportBadArgument(err, "no command given");
    const std::string& name = args[parsed.commandIndex];
    const CommandFunction command = FindCommand(name);
    if (command == nullptr) return ReportBadArgument(err, "unknown command " + Quoted(name));

    // Commands that reach the shared date services see the chosen locale and clock.
    const ScopedDateEnvironment environment(parsed.options.settings, parsed.options.clock);
    NamedDatesMessages namedDatesMessages;
    CommandResult result;
    try {
        result = command(parsed.options, args.subspan(parsed.commandIndex + 1));
    } catch (const std::exception& error) {
        result = Failure(error.what());
    }
    namedDatesMessages.MoveInto(result);
    out << result.output;
    for (const std::string& warning : result.warnings)
        err << kProgram << ": " << warning << "\n";
    if (result.exitCode == 2) return ReportBadArgument(err, result.error);
    if (!result.error.empty()) err << kProgram << ": " << result.error << "\n";
    return result.exitCode;
}

} // namespace kalendo::cli
