#pragma once

#include <filesystem>
#include <vector>

namespace kalendo {

// The folders that may hold the named-dates file "DateScan.DAT", as the program knows them. An
// empty path is a folder there is none of.
struct NamedDatesFolders {
    std::filesystem::path configured;       // $KALENDO_DATA_DIR
    std::filesystem::path systemDirectory;  // the Windows system folder; empty elsewhere
    std::filesystem::path programDirectory; // the folder of the running program
    std::filesystem::path
        sourceDataDirectory; // the source tree's data/, for programs run from the build tree
};

// The source tree's data/ folder this library was built from.
std::filesystem::path SourceTreeDataDirectory();

// $KALENDO_DATA_DIR (empty when unset) and the source tree's data/; the system and program
// folders are the caller's to fill, since only the platform knows them.
NamedDatesFolders NamedDatesFoldersFromEnvironment();

// Where the file is looked for, in order: $KALENDO_DATA_DIR, the system folder, ../share/kalendo
// beside the program's folder (an install), the source tree's data/. Empty folders are left out.
std::vector<std::filesystem::path> NamedDatesSearchOrder(const NamedDatesFolders& folders);

// The first folder of the search order that holds "DateScan.DAT", so a user's own file found
// earlier wins over the shipped one; empty when none does.
std::filesystem::path FindNamedDatesDirectory(const NamedDatesFolders& folders);

} // namespace kalendo
