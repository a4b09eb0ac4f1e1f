#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

// What the pure libraries and the command line ask of the operating system: the one place of the
// pure code where Windows and other systems differ.
namespace kalendo::os {

// The calendar fields of a moment in the machine's local time zone (the reentrant call of each
// system).
std::tm LocalTime(std::time_t seconds);

// The value of an environment variable that is set and not empty.
std::optional<std::string> EnvironmentValue(const char* name);

// The running program's own file, when the system tells it.
std::optional<std::filesystem::path> ProgramFile();

// Where the named-dates file "DateScan.DAT" is looked for. On Windows the system folder
// (%SystemRoot%\System32). Elsewhere $KALENDO_DATA_DIR when set; else, for a program installed in
// a "bin" folder, "share/kalendo" beside that folder, so an installed tree can be moved anywhere;
// else /usr/share/kalendo.
std::string NamedDatesDirectory();
// The rule above for other systems, for a given program file and $KALENDO_DATA_DIR.
std::string NamedDatesDirectoryFor(const std::optional<std::filesystem::path>& programFile,
                                   const std::optional<std::string>& configured);

} // namespace kalendo::os
