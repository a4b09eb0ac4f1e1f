#pragma once

#include "cli/CliArguments.h"

#include <span>
#include <string>

namespace kalendo::cli {

// decode TEXT... [--now HH:MM[:SS]] [--datescan DIR] [--country NAME]: the free-text decoder on
// the words joined by single spaces. Exit 0 when the text is a valid date and time, 1 when not.
// Named dates come from DIR, else from DefaultNamedDatesDirectory(), in the section of NAME, else
// of the locale's country.
CommandResult DecodeCommand(const CliOptions& options, std::span<const std::string> args);

} // namespace kalendo::cli
