#pragma once

#include "cli/CliArguments.h"

#include <span>
#include <string>

namespace kalendo::cli {

// holidays YEAR [--in PLACE]: the named days of PLACE's year (default: the locale's country), in
// date order, each with whether it is a day off.
CommandResult HolidaysCommand(const CliOptions& options, std::span<const std::string> args);

// places [COUNTRY]: every country of the holiday data with its subdivisions, or one country's.
CommandResult PlacesCommand(const CliOptions& options, std::span<const std::string> args);

} // namespace kalendo::cli
