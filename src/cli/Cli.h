#pragma once

#include "cli/CliArguments.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace kalendo::cli {

// The options before the command, and where the command's own arguments begin.
struct ParsedCommandLine {
    CliOptions options;
    bool help = false;            // --help or -h: the usage text on stdout, exit 0
    bool version = false;         // --version: the version line on stdout, exit 0
    std::size_t commandIndex = 0; // index of the command name in args; args.size() when none
    std::string error;            // a bad option; empty when the options are sound
};

// localeFromEnvironment is used when no --locale is given.
ParsedCommandLine ParseCommandLine(std::span<const std::string> args, std::string_view localeFromEnvironment);

std::string UsageText();
// "kalendo-cli" and the version: the program's name and the version, one line.
std::string VersionText();

// Runs the command line (without the program name) and returns the exit code. The date
// environment (locale and clock) is set from the options for the run and restored after it.
int RunCli(std::span<const std::string> args, std::string_view localeFromEnvironment, std::ostream& out,
           std::ostream& err);

} // namespace kalendo::cli
