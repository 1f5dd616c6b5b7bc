// One file copy of the patch, in process.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/temp_dir.h"
#include "patcher/file_replacement.h"

namespace calyx::patcher {
namespace {

using fixtures::readFile;
using fixtures::TempDir;
using fixtures::writeFile;
namespace fs = std::filesystem;

TEST(CopyFileRaw, ReplacesWholeFilesOnly) {
    TempDir dir;
    fixtures::makeDirs(dir / "Game");
    writeFile(dir / "empty", "");
    writeFile(dir / "big", std::string(5000, 'b'));
    writeFile(dir / "Game/OLD.DAT", "old");
    fs::permissions(dir / "Game/OLD.DAT", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // An empty source gives an empty file; the old file's name and mode stay.
    EXPECT_EQ(CopyFileRaw(dir / "empty", dir / "game/old.dat", false), CopyResult::Copied);
    EXPECT_EQ(readFile(dir / "Game/OLD.DAT"), "");
    EXPECT_EQ(fs::status(dir / "Game/OLD.DAT").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(CopyFileRaw(dir / "big", dir / "GAME/Old.Dat", false), CopyResult::Copied);
    EXPECT_EQ(readFile(dir / "Game/OLD.DAT"), std::string(5000, 'b'));

    // A link is followed: its target gets the content and the link stays.
    fs::create_symlink(dir / "Game/OLD.DAT", dir / "Game/link.dat");
    EXPECT_EQ(CopyFileRaw(dir / "empty", dir / "Game/link.dat", false), CopyResult::Copied);
    EXPECT_TRUE(fs::is_symlink(dir / "Game/link.dat"));
    EXPECT_EQ(readFile(dir / "Game/OLD.DAT"), "");

    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir / "Game")) ++entries;
    EXPECT_EQ(entries, 2u);  // no temporary file left beside them
}

TEST(CopyFileRaw, FailuresLeaveTheDestination) {
    TempDir dir;
    fixtures::makeDirs(dir / "Game");
    writeFile(dir / "source", "new");
    writeFile(dir / "Game/file", "old");
    EXPECT_EQ(CopyFileRaw(dir / "missing", dir / "Game/file", false), CopyResult::SourceUnreadable);
    EXPECT_EQ(CopyFileRaw(dir / "source", dir / "Nowhere/file", false), CopyResult::DestinationUnwritable);
    EXPECT_EQ(CopyFileRaw(dir / "source", dir / "Game", false), CopyResult::DestinationUnwritable);
    fs::permissions(dir / "Game/file", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(CopyFileRaw(dir / "source", dir / "Game/file", false), CopyResult::DestinationUnwritable);
    EXPECT_EQ(readFile(dir / "Game/file"), "old");
    EXPECT_FALSE(fs::exists(dir / "Nowhere"));
}

}  // namespace
}  // namespace calyx::patcher
