#include "files/program_dir.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qtx;
using qtx::testing::TempDir;
namespace fs = std::filesystem;

TEST(ProgramDirTest, InstalledTreeIsFoundUnderShareAndMarkedShared)
{
    TempDir root;
    const fs::path bin = root.path() / "usr" / "bin";
    fs::create_directories(bin);
    fs::create_directories(root.path() / "usr" / "share" / "qtx" / "language");

    const ProgramDir dir = LocateProgramDir(bin.string());
    // A clean path: it ends up in messages and in the settings' seeding.
    EXPECT_EQ(dir.path, fs::canonical(root.path() / "usr" / "share" / "qtx").string());
    EXPECT_TRUE(dir.installed);
}

TEST(ProgramDirTest, FilesBesideTheProgramWinAndAreNotShared)
{
    TempDir root;
    const fs::path bin = root.path() / "bin";
    fs::create_directories(bin / "language");
    // A portable copy unpacked over an installed tree still uses its own files.
    fs::create_directories(root.path() / "share" / "qtx" / "language");
    const ProgramDir portable = LocateProgramDir(bin.string());
    EXPECT_EQ(portable.path, bin.string());
    EXPECT_FALSE(portable.installed);

    // Nothing anywhere: the program's own folder, so messages name a real place.
    TempDir bare;
    fs::create_directories(bare.path() / "share" / "qtx"); // no language/ inside
    const ProgramDir lost = LocateProgramDir((bare.path() / "bin").string());
    EXPECT_EQ(lost.path, (bare.path() / "bin").string());
    EXPECT_FALSE(lost.installed);
}
