#pragma once

#include "cli/CliArguments.h"

#include <span>
#include <string>

namespace kalendo::cli {

// decode TEXT... [--now HH:MM[:SS]] [--datescan DIR] [--country NAME]: the free-text decoder on
// the words joined by single spaces. Exit 0 when the text is a valid date and time, 1 when not.
CommandResult DecodeCommand(const CliOptions& options, std::span<const std::string> args);

// Where the named-dates file is looked for when --datescan is not given: $KALENDO_DATA_DIR when
// set, else /usr/share/kalendo (the program's own choice on Linux).
std::string DefaultNamedDatesDirectory();

} // namespace kalendo::cli
