#include "platform/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fixtures/file_size_limit.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"
#include "platform/path.h"

namespace calyx::platform {
namespace {

using fixtures::readFile;
using fixtures::ScopedCwd;
using fixtures::TempDir;
using fixtures::WinePrefix;
using fixtures::writeFile;
namespace fs = std::filesystem;

std::string real(const std::string& path) { return fs::weakly_canonical(path).string(); }

std::size_t entryCount(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
}

class FileTest : public ::testing::Test {
protected:
    FileTest() { fixtures::makeDirs(game); }
    WinePrefix prefix;
    std::string game = prefix.driveC() + "/Jeux";
};

TEST_F(FileTest, OpenModes) {
    const std::string path = game + "/a.bin";
    File f;
    EXPECT_FALSE(f.open("C:\\Jeux\\a.bin", File::Mode::Read));
    EXPECT_FALSE(f.open("C:\\Jeux\\a.bin", File::Mode::ReadWrite));
    EXPECT_FALSE(f.isOpen());

    ASSERT_TRUE(f.open("C:\\Jeux\\a.bin", File::Mode::CreateWrite));
    EXPECT_EQ(f.write("hello", 5), 5);
    char buffer[16];
    EXPECT_EQ(f.read(buffer, sizeof buffer), -1);  // write only
    ASSERT_TRUE(f.close());
    EXPECT_EQ(readFile(path), "hello");

    // Exclusive creation refuses a name that exists, in any letter case.
    EXPECT_FALSE(f.open("c:\\jeux\\A.BIN", File::Mode::CreateExclusive));
    EXPECT_EQ(readFile(path), "hello");

    ASSERT_TRUE(f.open("C:\\Jeux\\a.bin", File::Mode::ReadWrite));  // not truncated
    EXPECT_EQ(f.length(), 5);
    EXPECT_EQ(f.write("J", 1), 1);
    f.close();
    EXPECT_EQ(readFile(path), "Jello");

    ASSERT_TRUE(f.open("C:\\Jeux\\a.bin", File::Mode::Read));
    EXPECT_EQ(f.write("x", 1), -1);  // read only
    ASSERT_TRUE(f.open("C:\\Jeux\\a.bin", File::Mode::CreateReadWrite));  // truncated
    EXPECT_EQ(f.length(), 0);
    EXPECT_EQ(f.write("abc", 3), 3);
    EXPECT_EQ(f.seek(0, File::Origin::Start), 0);
    EXPECT_EQ(f.read(buffer, 3), 3);

    ASSERT_TRUE(f.open("C:\\Jeux\\new.bin", File::Mode::CreateExclusive));
    EXPECT_TRUE(fileExists(game + "/new.bin"));
    EXPECT_FALSE(f.open("C:\\Jeux", File::Mode::Read));  // a folder is no file
    EXPECT_FALSE(f.open("Q:\\a.bin", File::Mode::CreateWrite));
    EXPECT_FALSE(f.isOpen());
}

TEST_F(FileTest, CreatingOverANameOfOtherCaseReplacesIt) {
    writeFile(game + "/STRINGS.DAT", "old text");
    File f;
    ASSERT_TRUE(f.open("C:\\jeux\\strings.dat", File::Mode::CreateWrite));
    EXPECT_EQ(f.write("new", 3), 3);
    f.close();
    EXPECT_EQ(readFile(game + "/STRINGS.DAT"), "new");
    EXPECT_EQ(entryCount(game), 1u);
}

TEST_F(FileTest, ReadWriteSeekLengthPosition) {
    writeFile(game + "/d.bin", "0123456789");
    File f;
    ASSERT_TRUE(f.open("C:\\Jeux\\d.bin", File::Mode::ReadWrite));
    char buffer[32] = {};
    EXPECT_EQ(f.read(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(f.position(), 4);
    EXPECT_EQ(f.read(buffer, sizeof buffer), 6);  // short: the end of the file
    EXPECT_EQ(f.read(buffer, sizeof buffer), 0);
    EXPECT_EQ(f.seek(-3, File::Origin::End), 7);
    EXPECT_EQ(f.read(buffer, 1), 1);
    EXPECT_EQ(buffer[0], '7');
    EXPECT_EQ(f.seek(2, File::Origin::Start), 2);
    EXPECT_EQ(f.seek(-1, File::Origin::Start), -1);
    EXPECT_EQ(f.position(), 2);
    EXPECT_EQ(f.seek(20, File::Origin::Start), 20);  // past the end is allowed
    EXPECT_EQ(f.write("x", 1), 1);
    EXPECT_EQ(f.length(), 21);
    EXPECT_TRUE(f.flush());
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(f.close());

    // A closed file answers failure everywhere and never crashes.
    EXPECT_EQ(f.read(buffer, 1), -1);
    EXPECT_EQ(f.write("x", 1), -1);
    EXPECT_EQ(f.seek(0, File::Origin::Start), -1);
    EXPECT_EQ(f.position(), -1);
    EXPECT_EQ(f.length(), -1);
    EXPECT_FALSE(f.flush());
}

TEST_F(FileTest, FailedAndShortWritesAreReported) {
    File full;
    ASSERT_TRUE(full.open("/dev/full", File::Mode::CreateWrite));
    EXPECT_EQ(full.write("abc", 3), -1);

    File f;
    ASSERT_TRUE(f.open(game + "/big.bin", File::Mode::CreateWrite));
    const std::string data(5000, 'z');
    {
        fixtures::FileSizeLimit limit(1000);
        EXPECT_EQ(f.write(data.data(), data.size()), 1000);
        EXPECT_EQ(f.write(data.data(), data.size()), -1);
    }
    f.close();
    EXPECT_EQ(fs::file_size(game + "/big.bin"), 1000u);
}

TEST_F(FileTest, FullPathIsTheAbsoluteHostPath) {
    writeFile(game + "/Bank.BNM", "b");
    ScopedCwd cwd(game);
    File f;
    ASSERT_TRUE(f.open("bank.bnm", File::Mode::Read));
    EXPECT_EQ(f.fullPath(), real(game + "/Bank.BNM"));
    EXPECT_FALSE(f.open("missing.bnm", File::Mode::Read));
    EXPECT_EQ(f.fullPath(), "");
}

TEST_F(FileTest, ExistenceDeleteAndFolders) {
    writeFile(game + "/Bank.bnm", "b");
    EXPECT_TRUE(fileExists("c:\\JEUX\\BANK.BNM"));
    EXPECT_FALSE(fileExists("C:\\Jeux"));
    EXPECT_TRUE(directoryExists("C:\\JEUX"));
    EXPECT_FALSE(directoryExists("C:\\Jeux\\bank.bnm"));
    EXPECT_FALSE(fileExists("Q:\\bank.bnm"));

    EXPECT_TRUE(deleteFile("C:\\jeux\\bank.BNM"));
    EXPECT_FALSE(fs::exists(game + "/Bank.bnm"));
    EXPECT_FALSE(deleteFile("C:\\jeux\\bank.BNM"));

    EXPECT_TRUE(createDirectory("C:\\Jeux\\Editors"));
    EXPECT_TRUE(fs::is_directory(game + "/Editors"));
    EXPECT_FALSE(createDirectory("C:\\JEUX\\EDITORS"));  // exists in other case
    EXPECT_FALSE(createDirectory("C:\\Jeux\\A\\B"));     // one level only
    EXPECT_FALSE(fs::exists(game + "/A"));
}

TEST_F(FileTest, FindFileNameGivesTheStoredName) {
    writeFile(game + "/STRINGS.DAT", "x");
    EXPECT_EQ(findFileName("c:\\jeux\\strings.dat"), "STRINGS.DAT");
    EXPECT_EQ(findFileName("C:\\JEUX"), "Jeux");
    EXPECT_FALSE(findFileName("c:\\jeux\\missing.dat"));
}

TEST_F(FileTest, SameFile) {
    writeFile(game + "/a.bnm", "a");
    writeFile(game + "/b.bnm", "a");
    ASSERT_EQ(::link((game + "/a.bnm").c_str(), (game + "/hard.bnm").c_str()), 0);
    ScopedCwd cwd(game);
    EXPECT_TRUE(sameFile("C:\\Jeux\\A.BNM", "a.bnm"));
    EXPECT_TRUE(sameFile("hard.bnm", game + "/a.bnm"));
    EXPECT_FALSE(sameFile("a.bnm", "b.bnm"));
    EXPECT_FALSE(sameFile("a.bnm", "missing.bnm"));
}

TEST_F(FileTest, RenameReplacesTheTargetInOneStep) {
    writeFile(game + "/~Calyx0.tmp", "new bank");
    writeFile(game + "/BANK.BNM", "old bank");
    EXPECT_EQ(renameReplacing("C:\\Jeux\\~calyx0.tmp", "C:\\Jeux\\bank.bnm"), RenameResult::Done);
    EXPECT_EQ(readFile(game + "/BANK.BNM"), "new bank");  // no twin of other case
    EXPECT_EQ(entryCount(game), 1u);
    EXPECT_EQ(renameReplacing("C:\\Jeux\\missing", "C:\\Jeux\\bank.bnm"), RenameResult::Failed);
    EXPECT_EQ(readFile(game + "/BANK.BNM"), "new bank");
}

TEST_F(FileTest, RenameAcrossFileSystemsSaysSo) {
    struct stat shm {}, tmp {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(game.c_str(), &tmp) != 0 || shm.st_dev == tmp.st_dev)
        GTEST_SKIP() << "no second file system to rename across";
    fixtures::ScopedEnv tmpdir("TMPDIR", "/dev/shm");
    TempDir shmDir;
    writeFile(shmDir / "moved", "content");
    writeFile(game + "/target", "old");
    EXPECT_EQ(renameReplacing(shmDir / "moved", "C:\\Jeux\\target"), RenameResult::CrossDevice);
    EXPECT_EQ(readFile(shmDir / "moved"), "content");
    EXPECT_EQ(readFile(game + "/target"), "old");
}

TEST_F(FileTest, PathsLongerThanTheSystemTakesAtOnce) {
    // 75 folders of 60 characters: past PATH_MAX as one path.
    std::string host = game;
    std::string asked = "C:\\Jeux";
    {
        ScopedCwd cwd(game);
        for (int i = 0; i < 75; ++i) {
            const std::string name(60, static_cast<char>('a' + i % 26));
            ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
            ASSERT_EQ(::chdir(name.c_str()), 0);
            host += "/" + name;
            asked += "\\" + std::string(60, static_cast<char>('A' + i % 26));
        }
    }
    ASSERT_GT(asked.size(), 4096u);
    File f;
    ASSERT_TRUE(f.open(asked + "\\Bank.bnm", File::Mode::CreateExclusive));
    EXPECT_EQ(f.write("deep", 4), 4);
    EXPECT_EQ(f.fullPath(), real(game) + host.substr(game.size()) + "/Bank.bnm");
    ASSERT_TRUE(f.close());
    ASSERT_TRUE(f.open(asked + "\\BANK.BNM", File::Mode::Read));
    EXPECT_EQ(f.length(), 4);
    f.close();
    EXPECT_TRUE(fileExists(asked + "\\bank.bnm"));
    EXPECT_TRUE(directoryExists(asked));
    EXPECT_EQ(findFileName(asked + "\\BANK.bnm"), "Bank.bnm");
    EXPECT_TRUE(createDirectory(asked + "\\Sub"));
    EXPECT_EQ(renameReplacing(asked + "\\bank.bnm", asked + "\\sub\\moved.bnm"), RenameResult::Done);
    EXPECT_TRUE(sameFile(asked + "\\SUB\\MOVED.BNM", asked + "\\Sub\\moved.bnm"));
    EXPECT_TRUE(deleteFile(asked + "\\sub\\moved.bnm"));
    EXPECT_FALSE(fileExists(asked + "\\sub\\moved.bnm"));
}

}  // namespace
}  // namespace calyx::platform
