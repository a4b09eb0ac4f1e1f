#include "dates/NamedDatesLocation.h"

#include "dates/NamedDatesFile.h"

#include <cstdlib>
#include <system_error>

namespace kalendo {

std::filesystem::path SourceTreeDataDirectory() { return KALENDO_SOURCE_DATA_DIR; }

NamedDatesFolders NamedDatesFoldersFromEnvironment() {
    NamedDatesFolders folders;
    if (const char* configured = std::getenv("KALENDO_DATA_DIR"); configured != nullptr)
        folders.configured = configured;
    folders.sourceDataDirectory = SourceTreeDataDirectory();
    return folders;
}

std::vector<std::filesystem::path> NamedDatesSearchOrder(const NamedDatesFolders& folders) {
    std::vector<std::filesystem::path> order;
    const auto add = [&](const std::filesystem::path& folder) {
        if (!folder.empty()) order.push_back(folder.lexically_normal());
    };
    add(folders.configured);
    add(folders.systemDirectory);
    if (!folders.programDirectory.empty()) add(folders.programDirectory / ".." / "share" / "kalendo");
    add(folders.sourceDataDirectory);
    return order;
}

std::filesystem::path FindNamedDatesDirectory(const NamedDatesFolders& folders) {
    for (const std::filesystem::path& folder : NamedDatesSearchOrder(folders)) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(folder / kNamedDatesFileName, ignored)) return folder;
    }
    return {};
}

} // namespace kalendo
