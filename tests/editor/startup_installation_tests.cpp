// Finding the installed games through the shared INI file, entering the
// game's sound folder and loading the game's texts at start-up.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "editor/core/installation.h"
#include "editor/core/startup.h"
#include "fixtures/strings_dat.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"
#include "platform/path.h"

namespace calyx::editor {
namespace {

namespace fs = std::filesystem;

std::string canonical(const std::string& path) { return fs::canonical(path).string(); }

// A Wine-like prefix whose drive d: is a folder "game" holding the trees of
// both games, and a start folder on drive c:.
class InstallationTest : public ::testing::Test {
protected:
    InstallationTest() {
        fixtures::makeDirs(game_ / "Jeux/VLM2/Datab/Resson");
        fixtures::makeDirs(game_ / "Jeux/VLM2/K7Datab/Resson");
        fixtures::makeDirs(game_ / "Jeux/K7/K7Datab/Resson");
        prefix_.linkDrive('d', game_.path());
        fixtures::makeDirs(start());
    }

    std::string start() const { return prefix_.driveC() + "/start"; }
    std::string gamePath(const std::string& relative) const { return canonical(game_ / relative); }

    fixtures::TempDir game_;
    fixtures::WinePrefix prefix_;
};

TEST_F(InstallationTest, SecondGameDecidesDriveFolderAndStringsFile) {
    prefix_.writeIni(
        "[K7TQ]\r\nDirectory=D:\\Jeux\\K7\\\r\nLanguage=French\r\n"
        "[TQ2]\r\nDirectory=D:\\Jeux\\VLM2\r\nLanguage=English\r\n");
    fixtures::writeStringsDat(game_ / "Jeux/VLM2/Datab/Resson/strings.dat", {{70, "&File"}});
    fixtures::writeStringsDat(game_ / "Jeux/K7/K7Datab/Resson/strings.dat", {{70, "&Fichier"}});
    fixtures::ScopedCwd cwd(start());
    ASSERT_EQ(platform::currentDrive(), 'c');

    Installation installation;
    GameStrings strings;
    EXPECT_EQ(LoadGameStrings(strings, installation), 1);

    EXPECT_EQ(installation.tq2Dir, "D:\\Jeux\\VLM2\\");  // a backslash is added
    EXPECT_EQ(installation.tq2Language, "English");
    EXPECT_EQ(installation.k7Dir, "D:\\Jeux\\K7\\");
    EXPECT_EQ(installation.k7Language, "French");
    EXPECT_EQ(platform::currentDrive(), 'd');
    EXPECT_EQ(canonical(platform::currentDirectory()), gamePath("Jeux/VLM2/Datab/Resson"));
    EXPECT_EQ(gameStringsPath(installation), "D:\\Jeux\\VLM2\\datab\\resson\\strings.dat");
    EXPECT_EQ(strings.GetGameString(70), "&File");
}

TEST_F(InstallationTest, FirstGameAloneUsesItsOwnFolders) {
    prefix_.writeIni("[K7TQ]\nDirectory=d:\\jeux\\k7\\\nLanguage=French\n[TQ2]\nDirectory=NULL\n");
    fixtures::writeStringsDat(game_ / "Jeux/K7/K7Datab/Resson/strings.dat", {{70, "&Fichier"}});
    fixtures::ScopedCwd cwd(start());

    Installation installation;
    GameStrings strings;
    EXPECT_EQ(LoadGameStrings(strings, installation), 1);
    EXPECT_EQ(installation.tq2Dir, "");
    EXPECT_EQ(canonical(platform::currentDirectory()), gamePath("Jeux/K7/K7Datab/Resson"));
    EXPECT_EQ(gameStringsPath(installation), "d:\\jeux\\k7\\K7datab\\resson\\strings.dat");
    EXPECT_EQ(strings.GetGameString(70), "&Fichier");
}

TEST_F(InstallationTest, NullAndEmptyValuesCountAsAbsent) {
    prefix_.writeIni(
        "[TQ2]\nDirectory=NULL\nLanguage=\n"
        "[K7TQ]\nDirectory=D:\\Jeux\\K7\\\nLanguage=null\n");
    fixtures::ScopedCwd cwd(start());
    Installation installation;
    installation.tq2Language = "stale";
    ReadInstallation(installation);
    EXPECT_EQ(installation.tq2Dir, "");
    EXPECT_EQ(installation.tq2Language, "");
    EXPECT_EQ(installation.k7Dir, "D:\\Jeux\\K7\\");
    EXPECT_EQ(installation.k7Language, "null");  // only "NULL" itself means absent
}

TEST_F(InstallationTest, DirectoryWithoutDriveLetterChangesNothing) {
    prefix_.writeIni("[TQ2]\nDirectory=\\\\serveur\\jeux\\VLM2\n");
    fixtures::ScopedCwd cwd(start());
    Installation installation;
    ReadInstallation(installation);
    EXPECT_EQ(installation.tq2Dir, "\\\\serveur\\jeux\\VLM2\\");
    EXPECT_EQ(canonical(platform::currentDirectory()), canonical(start()));
}

TEST_F(InstallationTest, HostAbsoluteDirectoryIsEntered) {
    prefix_.writeIni("[TQ2]\nDirectory=" + gamePath("Jeux/VLM2") + "\n");
    fixtures::ScopedCwd cwd(start());
    Installation installation;
    ReadInstallation(installation);
    EXPECT_EQ(canonical(platform::currentDirectory()), gamePath("Jeux/VLM2/Datab/Resson"));
}

TEST_F(InstallationTest, MissingSoundFolderIsNotFatal) {
    prefix_.writeIni("[TQ2]\nDirectory=D:\\Ailleurs\\\nLanguage=English\n");
    fixtures::ScopedCwd cwd(start());
    Installation installation;
    GameStrings strings;
    EXPECT_EQ(LoadGameStrings(strings, installation), 0);
    EXPECT_EQ(installation.tq2Language, "English");
    EXPECT_EQ(platform::currentDrive(), 'd');  // the drive change stands
}

TEST_F(InstallationTest, MissingIniLeavesEverythingEmptyAndLooksUpStringsRelatively) {
    fixtures::ScopedCwd cwd(start());
    fixtures::makeDirs(start() + "/K7datab/resson");
    fixtures::writeStringsDat(start() + "/K7datab/resson/strings.dat", {{148, "OK"}});

    Installation installation{"a\\", "b\\", "c", "d"};
    GameStrings strings;
    EXPECT_EQ(LoadGameStrings(strings, installation), 1);
    EXPECT_EQ(installation.k7Dir, "");
    EXPECT_EQ(installation.tq2Dir, "");
    EXPECT_EQ(installation.k7Language, "");
    EXPECT_EQ(installation.tq2Language, "");
    EXPECT_EQ(canonical(platform::currentDirectory()), canonical(start()));
    EXPECT_EQ(strings.GetGameString(148), "OK");
}

TEST_F(InstallationTest, InstallInfoCopiesDirectoriesAndPointsAtLanguages) {
    Installation installation{"C:\\K7\\", "C:\\VLM2\\", "French", "English"};
    const InstallInfo info = GetInstallInfo(installation);
    EXPECT_EQ(info.k7Dir, "C:\\K7\\");
    EXPECT_EQ(info.tq2Dir, "C:\\VLM2\\");
    EXPECT_EQ(info.k7Language, &installation.k7Language);
    EXPECT_EQ(info.tq2Language, &installation.tq2Language);
    installation.tq2Dir.clear();
    EXPECT_EQ(info.tq2Dir, "C:\\VLM2\\");
}

TEST(FileExistsTest, OnlyFilesThatOpenForReading) {
    fixtures::TempDir dir;
    fixtures::writeFile(dir / "Ornwick.Ini", "");
    EXPECT_TRUE(FileExists(dir / "ornwick.ini"));
    EXPECT_FALSE(FileExists(dir / "missing.ini"));
    EXPECT_FALSE(FileExists(dir.path()));
    fs::permissions(dir / "Ornwick.Ini", fs::perms::none);
    if (::geteuid() != 0) {
        EXPECT_FALSE(FileExists(dir / "Ornwick.Ini"));
    }
}

}  // namespace
}  // namespace calyx::editor
