#pragma once

#include "cli/CliArguments.h"

#include <span>
#include <string>

namespace kalendo::cli {

// One function per command; args are the arguments after the command's name.
using CommandFunction = CommandResult (*)(const CliOptions& options, std::span<const std::string> args);

CommandResult SpanCommand(const CliOptions& options, std::span<const std::string> args);
CommandResult AddCommand(const CliOptions& options, std::span<const std::string> args);
CommandResult EasterCommand(const CliOptions& options, std::span<const std::string> args);
CommandResult WeekCommand(const CliOptions& options, std::span<const std::string> args);
CommandResult WeekOfYearCommand(const CliOptions& options, std::span<const std::string> args);
CommandResult FormatCommand(const CliOptions& options, std::span<const std::string> args);
CommandResult LongYearCommand(const CliOptions& options, std::span<const std::string> args);

} // namespace kalendo::cli
