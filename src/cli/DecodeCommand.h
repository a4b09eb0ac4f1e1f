#pragma once

#include "cli/CliArguments.h"

#include <span>
#include <string>

namespace kalendo::cli {

// decode TEXT... [--now HH:MM[:SS]] [--datescan DIR] [--country PLACE]: the free-text decoder on
// the words joined by single spaces. Exit 0 when the text is a valid date and time, 1 when not.
// Named dates are PLACE's (a place of the holiday data, or a section of a user's own named-dates
// file); with DIR, the section PLACE of DIR's file; without PLACE, the locale's country's section
// of the named-dates file.
CommandResult DecodeCommand(const CliOptions& options, std::span<const std::string> args);

} // namespace kalendo::cli
