#include "dates/NamedDatesLocation.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace kalendo {
namespace {

namespace fs = std::filesystem;

// Four folders in a scratch tree laid out as the search knows them; each holds DateScan.DAT only
// when a test puts one there.
class NamedDatesLocation : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("kalendo-location-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        folders_.configured = root_ / "configured";
        folders_.systemDirectory = root_ / "Windows" / "System32";
        folders_.programDirectory = root_ / "install" / "bin";
        folders_.sourceDataDirectory = root_ / "source" / "data";
        for (const fs::path& folder :
             {folders_.configured, folders_.systemDirectory, folders_.programDirectory,
              root_ / "install" / "share" / "kalendo", folders_.sourceDataDirectory})
            fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(root_); }
    static void PutFileIn(const fs::path& folder) { std::ofstream(folder / "DateScan.DAT") << "[A]\n"; }
    fs::path Installed() const { return root_ / "install" / "share" / "kalendo"; }

    fs::path root_;
    NamedDatesFolders folders_;
};

TEST_F(NamedDatesLocation, theOrderIsConfiguredSystemInstallThenSourceTree) {
    const std::vector<fs::path> expected = {folders_.configured, folders_.systemDirectory, Installed(),
                                            folders_.sourceDataDirectory};
    EXPECT_EQ(NamedDatesSearchOrder(folders_), expected);
    NamedDatesFolders partial;
    partial.programDirectory = "/opt/kalendo/bin";
    EXPECT_EQ(NamedDatesSearchOrder(partial), std::vector<fs::path>{"/opt/kalendo/share/kalendo"})
        << "folders there are none of are left out";
    EXPECT_TRUE(NamedDatesSearchOrder({}).empty());
}

TEST_F(NamedDatesLocation, theFirstFolderHoldingTheFileWins) {
    EXPECT_EQ(FindNamedDatesDirectory(folders_), fs::path()) << "no file anywhere";
    // Filled from the back, so each new file is earlier in the order and must take over.
    PutFileIn(folders_.sourceDataDirectory);
    EXPECT_EQ(FindNamedDatesDirectory(folders_), folders_.sourceDataDirectory);
    PutFileIn(Installed());
    EXPECT_EQ(FindNamedDatesDirectory(folders_), Installed());
    PutFileIn(folders_.systemDirectory);
    EXPECT_EQ(FindNamedDatesDirectory(folders_), folders_.systemDirectory);
    PutFileIn(folders_.configured);
    EXPECT_EQ(FindNamedDatesDirectory(folders_), folders_.configured);
}

TEST_F(NamedDatesLocation, aConfiguredFolderWithoutTheFileFallsThrough) {
    PutFileIn(Installed());
    folders_.configured = root_ / "nowhere";
    EXPECT_EQ(FindNamedDatesDirectory(folders_), Installed());
    fs::create_directories(folders_.systemDirectory / "DateScan.DAT");
    EXPECT_EQ(FindNamedDatesDirectory(folders_), Installed()) << "a folder of that name is no file";
}

TEST_F(NamedDatesLocation, theEnvironmentGivesTheConfiguredFolderAndTheSourceTree) {
    test_support::SetEnvironmentValue("KALENDO_DATA_DIR", folders_.configured.string());
    NamedDatesFolders fromEnvironment = NamedDatesFoldersFromEnvironment();
    EXPECT_EQ(fromEnvironment.configured, folders_.configured);
    EXPECT_EQ(fromEnvironment.sourceDataDirectory, SourceTreeDataDirectory());
    EXPECT_TRUE(fromEnvironment.systemDirectory.empty());
    EXPECT_TRUE(fromEnvironment.programDirectory.empty());
    test_support::UnsetEnvironmentValue("KALENDO_DATA_DIR");
    EXPECT_TRUE(NamedDatesFoldersFromEnvironment().configured.empty());
    EXPECT_TRUE(fs::is_regular_file(SourceTreeDataDirectory() / "DateScan.DAT"))
        << "the build tree finds the shipped table";
}

} // namespace
} // namespace kalendo
