#pragma once

#include <filesystem>

namespace kalendo::cli {

// What only the operating system can tell the command line: the folder of the running program
// and, on Windows, the system folder (empty elsewhere). Either is empty when it cannot be had.
struct ProgramFolders {
    std::filesystem::path program;
    std::filesystem::path system;
};

// The one function of the command line that differs between systems.
ProgramFolders AskOperatingSystemForFolders();

} // namespace kalendo::cli
