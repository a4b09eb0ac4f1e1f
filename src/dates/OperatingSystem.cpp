#include "dates/OperatingSystem.h"

#include <cstdlib>
#include <system_error>

namespace kalendo::os {

std::tm LocalTime(std::time_t seconds) {
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return local;
}

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

std::optional<std::filesystem::path> ProgramFile() {
#if defined(__linux__)
    std::error_code error;
    std::filesystem::path file = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return file;
#endif
    return std::nullopt;
}

std::string NamedDatesDirectoryFor(const std::optional<std::filesystem::path>& programFile,
                                   const std::optional<std::string>& configured) {
    if (configured) return *configured;
    if (programFile) {
        const std::filesystem::path folder = programFile->parent_path();
        if (folder.filename() == "bin") return (folder.parent_path() / "share" / "kalendo").string();
    }
    return "/usr/share/kalendo";
}

std::string NamedDatesDirectory() {
#if defined(_WIN32)
    return EnvironmentValue("SystemRoot").value_or("C:\\Windows") + "\\System32";
#else
    return NamedDatesDirectoryFor(ProgramFile(), EnvironmentValue("KALENDO_DATA_DIR"));
#endif
}

} // namespace kalendo::os
