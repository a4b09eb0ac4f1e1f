#include "cli/ProgramFolders.h"

#include <gtest/gtest.h>

namespace kalendo::cli {
namespace {

TEST(ProgramFolders, theRunningProgramsFolderHoldsThisTest) {
    const ProgramFolders folders = AskOperatingSystemForFolders();
    ASSERT_TRUE(folders.program.is_absolute()) << folders.program;
#ifdef _WIN32
    const char* const thisTest = "cli_test.exe";
#else
    const char* const thisTest = "cli_test";
#endif
    EXPECT_TRUE(std::filesystem::is_regular_file(folders.program / thisTest)) << folders.program;
#ifndef _WIN32
    EXPECT_TRUE(folders.system.empty()) << "only Windows has a system folder to search";
#endif
}

} // namespace
} // namespace kalendo::cli
