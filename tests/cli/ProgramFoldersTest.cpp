#include "cli/ProgramFolders.h"

#include <gtest/gtest.h>

namespace kalendo::cli {
namespace {

TEST(ProgramFolders, theRunningProgramsFolderHoldsThisTest) {
    const ProgramFolders folders = AskOperatingSystemForFolders();
    ASSERT_TRUE(folders.program.is_absolute()) << folders.program;
    EXPECT_TRUE(std::filesystem::is_regular_file(folders.program / "cli_test")) << folders.program;
#ifndef _WIN32
    EXPECT_TRUE(folders.system.empty()) << "only Windows has a system folder to search";
#endif
}

} // namespace
} // namespace kalendo::cli
