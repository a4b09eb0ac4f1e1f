#include "cli/CliCommands.h"

#include "calendar/dsDateUtils.h"
#include "cli/NamedDatesOptions.h"
#include "dates/DateFormat.h"
#include "dates/Error.h"
#include "dates/VorlanDates.h"
#include "easter/Easter.h"
#include "span/DateSpan.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <string_view>

namespace kalendo::cli {

namespace {

constexpr const char* kDateForms = "YYYY-MM-DD, YYYY-MM-DDTHH:MM:SS or today";

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (const std::string_view line : lines) {
        out += line;
        out += '\n';
    }
    return out;
}

// The answer when the command did not get exactly as many positional arguments as it takes.
std::optional<CommandResult> CountProblem(std::string_view usage, const SplitArguments& split,
                                          std::size_t expected) {
    if (!split.error.empty()) return BadArgument(split.error);
    if (split.positional.size() < expected) return BadArgument("missing argument: " + std::string(usage));
    if (split.positional.size() > expected)
        return BadArgument("unexpected argument " + Quoted(split.positional[expected]) + ": " +
                           std::string(usage));
    return std::nullopt;
}

// Reads a date argument into date; the answer when it is none.
std::optional<CommandResult> ReadDate(const CliOptions& options, const std::string& text, DateTime& date,
                                      std::string_view name = "DATE") {
    const std::optional<DateTime> parsed = ParseDateArgument(text, *options.clock);
    if (!parsed) return BadArgument(std::string(name) + " must be " + kDateForms + ", not " + Quoted(text));
    date = *parsed;
    return std::nullopt;
}

// A text answer, as the line itself or as {"text": ...}.
CommandResult TextAnswer(const CliOptions& options, const std::string& text) {
    return Success(options.json ? "{\"text\":" + JsonString(text) + "}\n" : text + "\n");
}

CommandResult WeekAnswer(const CliOptions& options, int week) {
    return Success(options.json ? "{\"week\":" + std::to_string(week) + "}\n" : std::to_string(week) + "\n");
}

// The date core's error as the answer of a command whose arguments were sound.
CommandResult EngineFailure(const CliOptions& options, const Error& error) {
    if (!options.json) return Failure(error.what());
    CommandResult result = Failure({});
    result.output = "{\"error\":" + JsonString(error.what()) + "}\n";
    return result;
}

} // namespace

CommandResult SpanCommand(const CliOptions& options, std::span<const std::string> args) {
    static constexpr std::string_view kFlags[] = {"--both", "--business"};
    static constexpr std::string_view kValued[] = {"--holidays"};
    constexpr std::string_view kUsage = "span START END [--both] [--business [--holidays COUNTRY]]";
    const SplitArguments split = SplitCommandArguments(args, kFlags, kValued);
    if (auto problem = CountProblem(kUsage, split, 2)) return *problem;
    const bool bothDates = std::find(split.flags.begin(), split.flags.end(), "--both") != split.flags.end();
    const bool business =
        std::find(split.flags.begin(), split.flags.end(), "--business") != split.flags.end();
    if (!split.valued.empty() && !business)
        return BadArgument("--holidays needs --business: " + std::string(kUsage));
    DateTime start = 0.0;
    if (auto problem = ReadDate(options, split.positional[0], start, "START")) return *problem;
    DateTime end = 0.0;
    if (auto problem = ReadDate(options, split.positional[1], end, "END")) return *problem;
    for (const DateTime date : {start, end}) {
        if (DateOf(date) < kSerialOf1Jan1752 || DateOf(date) > kSerialOf31Dec3000)
            return BadArgument("START and END must lie from 1752-01-01 to 3000-12-31, not " + IsoText(date));
    }
    std::shared_ptr<const HolidayTable> holidays;
    for (const auto& [flag, country] : split.valued)
        if (auto problem = ReadHolidaysOption(country, holidays)) return *problem;

    const SpanTexts texts = ComputeSpan(start, end, bothDates);
    CommandResult result;
    if (texts.orderError) {
        result.exitCode = 1;
        result.output = options.json ? "{\"error\":" + JsonString(texts.years) + "}\n" : texts.years + "\n";
        return result;
    }
    std::int64_t businessDays = 0;
    if (business) {
        businessDays = holidays != nullptr ? SpanBusinessDays(start, end, bothDates, holidays->DaysOff())
                                           : SpanBusinessDays(start, end, bothDates);
        if (holidays != nullptr) {
            if (std::string warning = CoverageWarning(*holidays, split.valued.back().second, start, end);
                !warning.empty())
                result.warnings.push_back(std::move(warning));
        }
    }
    if (options.json) {
        result.output = "{\"days\":" + JsonString(texts.days) + ",\"weeks\":" + JsonString(texts.weeks) +
                        ",\"months\":" + JsonString(texts.months) + ",\"years\":" + JsonString(texts.years) +
                        (business ? ",\"business_days\":" + std::to_string(businessDays) : std::string()) +
                        "}\n";
    } else {
        result.output = Lines({texts.days, texts.weeks, texts.months, texts.years});
        if (business) result.output += std::to_string(businessDays) + " Business Days\n";
    }
    return result;
}

CommandResult AddCommand(const CliOptions& options, std::span<const std::string> args) {
    static constexpr std::string_view kValued[] = {"--holidays"};
    const SplitArguments split = SplitCommandArguments(args, {}, kValued);
    if (auto problem = CountProblem("add UNIT COUNT DATE [--holidays COUNTRY]", split, 3)) return *problem;
    const std::optional<std::int64_t> count =
        ParseInteger(split.positional[1], std::numeric_limits<std::int32_t>::min(),
                     std::numeric_limits<std::int32_t>::max());
    if (!count)
        return BadArgument("COUNT must be a whole number of 32 bits, not " + Quoted(split.positional[1]));
    DateTime date = 0.0;
    if (auto problem = ReadDate(options, split.positional[2], date)) return *problem;
    if (!split.valued.empty() && !SameTextIgnoringCase(split.positional[0], "B"))
        return BadArgument("--holidays applies to business days (unit B) only, not " +
                           Quoted(split.positional[0]));
    std::shared_ptr<const HolidayTable> holidays;
    for (const auto& [flag, country] : split.valued)
        if (auto problem = ReadHolidaysOption(country, holidays)) return *problem;

    const TVorlanDates dates(options.settings);
    const auto moveCount = static_cast<std::int32_t>(*count);
    DateTime moved = 0.0;
    try {
        moved = holidays != nullptr
                    ? dates.AddToDate(split.positional[0], moveCount, date, holidays->DaysOff())
                    : dates.AddToDate(split.positional[0], moveCount, date);
    } catch (const Error& error) {
        return EngineFailure(options, error);
    }
    // Days, business days and weeks never fail in the engine, but their result may still lie
    // beyond any date the calendar can name.
    if (!IsEncodableDay(moved)) return EngineFailure(options, Error(kInvalidDateEncode));
    CommandResult result = Success(options.json ? "{\"serial\":" + JsonNumber(moved) +
                                                      ",\"iso\":" + JsonString(IsoText(moved)) + "}\n"
                                                : IsoText(moved) + "\n");
    if (holidays != nullptr) {
        if (std::string warning = CoverageWarning(*holidays, split.valued.back().second, date, moved);
            !warning.empty())
            result.warnings.push_back(std::move(warning));
    }
    return result;
}

CommandResult EasterCommand(const CliOptions& options, std::span<const std::string> args) {
    const SplitArguments split = SplitCommandArguments(args, {}, {});
    if (auto problem = CountProblem("easter YEAR", split, 1)) return *problem;
    const std::optional<std::int64_t> year = ParseInteger(split.positional[0], 1000, 3000);
    if (!year)
        return BadArgument("YEAR must be a whole number from 1000 to 3000, not " +
                           Quoted(split.positional[0]));

    const std::array<std::string, 7> lines = EasterLines(static_cast<int>(*year), options.settings);
    if (!options.json) {
        std::string out;
        for (const std::string& line : lines)
            out += line + "\n";
        return Success(out);
    }
    std::string out =
        "{\"easter\":" + JsonString(IsoText(EasterSunday(static_cast<int>(*year)))) + ",\"lines\":[";
    for (std::size_t n = 0; n < lines.size(); ++n)
        out += (n == 0 ? "" : ",") + JsonString(lines[n]);
    return Success(out + "]}\n");
}

CommandResult WeekCommand(const CliOptions& options, std::span<const std::string> args) {
    static constexpr std::string_view kValued[] = {"--first"};
    const SplitArguments split = SplitCommandArguments(args, {}, kValued);
    if (auto problem = CountProblem("week DATE [--first monday|sunday]", split, 1)) return *problem;
    TDayOfWeek firstDay = dwMonday;
    for (const auto& [flag, value] : split.valued) {
        if (SameTextIgnoringCase(value, "monday"))
            firstDay = dwMonday;
        else if (SameTextIgnoringCase(value, "sunday"))
            firstDay = dwSunday;
        else
            return BadArgument("--first must be monday or sunday, not " + Quoted(value));
    }
    DateTime date = 0.0;
    if (auto problem = ReadDate(options, split.positional[0], date)) return *problem;

    // The calendar numbers a row by the date in its first column.
    const int firstDayNumber = FirstDayNumber(firstDay);
    const DateTime rowStart = DateOf(date) - (DayOfWeek(date) - firstDayNumber + 7) % 7;
    return WeekAnswer(options, CalendarWeekNumber(firstDayNumber, rowStart));
}

CommandResult WeekOfYearCommand(const CliOptions& options, std::span<const std::string> args) {
    const SplitArguments split = SplitCommandArguments(args, {}, {});
    if (auto problem = CountProblem("weekofyear DATE", split, 1)) return *problem;
    DateTime date = 0.0;
    if (auto problem = ReadDate(options, split.positional[0], date)) return *problem;
    return WeekAnswer(options, TVorlanDates(options.settings).WeekOfYear(date));
}

CommandResult FormatCommand(const CliOptions& options, std::span<const std::string> args) {
    const SplitArguments split = SplitCommandArguments(args, {}, {});
    if (auto problem = CountProblem("format FORMAT DATE", split, 2)) return *problem;
    DateTime date = 0.0;
    if (auto problem = ReadDate(options, split.positional[1], date)) return *problem;
    return TextAnswer(options, TVorlanDates(options.settings).FormatDate(split.positional[0], date));
}

CommandResult LongYearCommand(const CliOptions& options, std::span<const std::string> args) {
    const SplitArguments split = SplitCommandArguments(args, {}, {});
    if (auto problem = CountProblem("longyear DATE", split, 1)) return *problem;
    DateTime date = 0.0;
    if (auto problem = ReadDate(options, split.positional[0], date)) return *problem;
    return TextAnswer(options, TVorlanDates(options.settings).FormatDateLongYear(date));
}

} // namespace kalendo::cli
