#pragma once

#include "cli/CliArguments.h"

#include <span>
#include <string>

namespace kalendo::cli {

// decode TEXT... [--now HH:MM[:SS]] [--datescan DIR] [--country NAME]: the free-text decoder on
// the words joined by single spaces, with the named dates from os::NamedDatesDirectory() unless
// --datescan names a folder. Exit 0 when the text is a valid date and time, 1 when not.
CommandResult DecodeCommand(const CliOptions& options, std::span<const std::string> args);

} // namespace kalendo::cli
