#include "platform/safe_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

using namespace std::string_literals;

#include "fixtures/file_size_limit.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"

namespace calyx::platform {
namespace {

using fixtures::readFile;
using fixtures::TempDir;
using fixtures::writeFile;
namespace fs = std::filesystem;

std::size_t entryCount(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
}

mode_t permissions(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

bool onDifferentFileSystems(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev != sb.st_dev;
}

class SafeReplaceTest : public ::testing::Test {
protected:
    SafeReplaceTest() { fixtures::makeDirs(game); }
    fixtures::WinePrefix prefix;
    std::string game = prefix.driveC() + "/Jeux";
};

TEST_F(SafeReplaceTest, ReplacesContentKeepingPermissionsAndLeavingNothingBehind) {
    const std::string ini = game + "/snd_kpe.ini";
    writeFile(ini, "old");
    ::chmod(ini.c_str(), 0640);
    ASSERT_TRUE(replaceFileContents("C:\\Jeux\\SND_KPE.INI", "new content"));
    EXPECT_EQ(readFile(ini), "new content");
    EXPECT_EQ(permissions(ini), 0640u);
    EXPECT_EQ(entryCount(game), 1u);

    ASSERT_TRUE(replaceFileContents("C:\\Jeux\\fresh.ini", ""));  // a new file
    EXPECT_EQ(readFile(game + "/fresh.ini"), "");
}

TEST_F(SafeReplaceTest, ALinkStaysALinkAndItsTargetIsReplaced) {
    TempDir elsewhere;
    writeFile(elsewhere / "system.reg", "old");
    fs::create_symlink(elsewhere / "system.reg", game + "/absolute.reg");
    fs::create_symlink("absolute.reg", game + "/chain.reg");  // relative, to a link
    ASSERT_TRUE(replaceFileContents("C:\\Jeux\\chain.reg", "new"));
    EXPECT_TRUE(fs::is_symlink(game + "/chain.reg"));
    EXPECT_TRUE(fs::is_symlink(game + "/absolute.reg"));
    EXPECT_EQ(readFile(elsewhere / "system.reg"), "new");
    EXPECT_EQ(entryCount(elsewhere.path()), 1u);
    EXPECT_EQ(replacementTarget("C:\\Jeux\\chain.reg"), fs::canonical(elsewhere / "system.reg").string());
}

TEST_F(SafeReplaceTest, AFailureLeavesTheOldFileByteForByte) {
    const std::string bank = game + "/bank.bnm";
    const std::string old = "old bank \0 with a zero"s;
    writeFile(bank, old);
    {
        fixtures::FileSizeLimit diskFull(100);
        EXPECT_FALSE(replaceFileContents(bank, std::string(1000, 'n')));
    }
    EXPECT_EQ(readFile(bank), old);
    EXPECT_EQ(entryCount(game), 1u);  // no half-written file left

    fixtures::makeDirs(game + "/folder/inside");  // cannot be replaced by a file
    EXPECT_FALSE(replaceFileContents("C:\\Jeux\\folder", "x"));
    EXPECT_EQ(entryCount(game), 2u);
}

TEST_F(SafeReplaceTest, MovesIntoPlaceWithinAndAcrossFileSystems) {
    writeFile(game + "/calyx.exe", "old program");
    ::chmod((game + "/calyx.exe").c_str(), 0750);
    writeFile(game + "/staged", "same disk");
    ASSERT_TRUE(moveIntoPlace(game + "/staged", "C:\\JEUX\\CALYX.EXE"));
    EXPECT_EQ(readFile(game + "/calyx.exe"), "same disk");
    EXPECT_EQ(permissions(game + "/calyx.exe"), 0750u);
    EXPECT_FALSE(fs::exists(game + "/staged"));

    if (!onDifferentFileSystems("/dev/shm", game)) GTEST_SKIP() << "no second file system";
    fixtures::ScopedEnv tmpdir("TMPDIR", "/dev/shm");
    TempDir shm;
    writeFile(shm / "staged", "other disk");
    {
        fixtures::FileSizeLimit diskFull(4);  // the copy fails part-way
        EXPECT_FALSE(moveIntoPlace(shm / "staged", "C:\\Jeux\\calyx.exe"));
    }
    EXPECT_EQ(readFile(shm / "staged"), "other disk");
    EXPECT_EQ(readFile(game + "/calyx.exe"), "same disk");
    EXPECT_EQ(entryCount(game), 1u);

    ASSERT_TRUE(moveIntoPlace(shm / "staged", "C:\\Jeux\\calyx.exe"));
    EXPECT_EQ(readFile(game + "/calyx.exe"), "other disk");
    EXPECT_EQ(permissions(game + "/calyx.exe"), 0750u);
    EXPECT_FALSE(fs::exists(shm / "staged"));
    EXPECT_EQ(entryCount(game), 1u);
}

}  // namespace
}  // namespace calyx::platform
