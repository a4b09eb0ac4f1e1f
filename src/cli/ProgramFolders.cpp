#include "cli/ProgramFolders.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#else
#include <system_error>
#endif

namespace kalendo::cli {

ProgramFolders AskOperatingSystemForFolders() {
    ProgramFolders folders;
#ifdef _WIN32
    // GetModuleFileNameW cuts a path that does not fit and says so only by filling the buffer.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) break;
        if (length < path.size()) {
            path.resize(length);
            folders.program = std::filesystem::path(path).parent_path();
            break;
        }
        if (path.size() >= 32768) break; // the longest path Windows has
        path.resize(path.size() * 2);
    }
    wchar_t system[MAX_PATH];
    const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
    if (systemLength > 0 && systemLength < MAX_PATH)
        folders.system = std::filesystem::path(std::wstring(system, systemLength));
#else
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) folders.program = program.parent_path();
#endif
    return folders;
}

} // namespace kalendo::cli
