#include "platform/path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "fixtures/temp_dir.h"
#include "platform/host_name.h"
#include "fixtures/wine_prefix.h"

namespace calyx::platform {
namespace {

using fixtures::ScopedCwd;
using fixtures::TempDir;
using fixtures::WinePrefix;
namespace fs = std::filesystem;

std::string real(const std::string& path) { return fs::weakly_canonical(path).string(); }

// A prefix whose drive c: holds a small game tree.
class PathTest : public ::testing::Test {
protected:
    PathTest() {
        fixtures::makeDirs(prefix.driveC() + "/Jeux/VLM2/Datab/Resson");
        fixtures::writeFile(prefix.driveC() + "/Jeux/VLM2/STRINGS.DAT", "x");
    }
    std::string c(const std::string& relative) const { return real(prefix.driveC() + relative); }

    WinePrefix prefix;
};

TEST_F(PathTest, EveryPathFormResolvesWithoutRegardToCase) {
    const std::string resson = c("/Jeux/VLM2/Datab/Resson");
    EXPECT_EQ(toHostPath("C:\\Jeux\\VLM2\\Datab\\Resson"), resson);
    EXPECT_EQ(toHostPath("c:/jeux/vlm2/DATAB/resson"), resson);
    EXPECT_EQ(toHostPath("C:\\JEUX/vlm2\\datab/RESSON\\"), resson);
    EXPECT_EQ(toHostPath(prefix.driveC() + "/JEUX/Vlm2\\datab"), c("/Jeux/VLM2/Datab"));

    ScopedCwd cwd(prefix.driveC() + "/Jeux");
    EXPECT_EQ(toHostPath("\\jeux\\vlm2"), c("/Jeux/VLM2"));        // root of the current drive
    EXPECT_EQ(toHostPath("vlm2\\datab/resson"), resson);            // relative
    EXPECT_EQ(toHostPath("C:vlm2\\datab"), c("/Jeux/VLM2/Datab"));  // current folder of drive c:
    EXPECT_EQ(toHostPath("vlm2\\strings.dat"), c("/Jeux/VLM2/STRINGS.DAT"));
}

TEST_F(PathTest, MissingComponentsKeepTheirNameAsWritten) {
    EXPECT_EQ(toHostPath("c:\\jeux\\vlm2\\New.Txt"), c("/Jeux/VLM2") + "/New.Txt");
    EXPECT_EQ(toHostPath("c:\\NoSuch\\jeux\\File"), c("") + "/NoSuch/jeux/File");
    // A drive that is not mapped and an empty path name nothing: creating a
    // file there must not make "D:\x" in the current folder.
    EXPECT_EQ(toHostPath("Q:\\x"), "");
    EXPECT_EQ(toHostPath(""), "");
}

TEST_F(PathTest, DotDotIsAppliedToTheTextAndNeverLeavesTheDrive) {
    EXPECT_EQ(toHostPath("C:\\Jeux\\VLM2\\..\\VLM2\\.\\Datab"), c("/Jeux/VLM2/Datab"));
    EXPECT_EQ(toHostPath("C:\\..\\..\\jeux"), c("/Jeux"));
    EXPECT_EQ(toHostPath("/.."), "/");
    ScopedCwd cwd(prefix.driveC() + "/Jeux/VLM2/Datab");
    EXPECT_EQ(toHostPath("..\\..\\vlm2\\strings.dat"), c("/Jeux/VLM2/STRINGS.DAT"));
    EXPECT_EQ(toHostPath(".."), c("/Jeux/VLM2"));
    EXPECT_EQ(toHostPath("..\\..\\..\\..\\..\\windows"), c("/windows"));  // stops at the root of c:
    EXPECT_EQ(toHostPath("C:..\\..\\..\\..\\.."), c(""));
}

TEST_F(PathTest, NamesDifferingOnlyInCaseChooseTheExactOneElseTheSmallest) {
    const std::string folder = prefix.driveC() + "/Twins";
    fixtures::makeDirs(folder);
    for (const char* name : {"data", "Data", "DATA"}) fixtures::writeFile(folder + "/" + name, name);
    EXPECT_EQ(toHostPath("C:\\Twins\\Data"), c("/Twins/Data"));
    EXPECT_EQ(toHostPath("C:\\Twins\\dATA"), c("/Twins/DATA"));  // byte order, not listing order
}

TEST_F(PathTest, DriveLinksComeFromDosdevicesWithFallBacks) {
    TempDir other;
    prefix.linkDrive('d', other.path());
    fixtures::makeDirs(other / "Sons");
    EXPECT_EQ(driveRoot('D'), real(other.path()));
    EXPECT_EQ(toHostPath("d:\\SONS\\a.wav"), real(other / "Sons") + "/a.wav");
    EXPECT_EQ(driveRoot('c'), c(""));
    EXPECT_EQ(driveRoot('z'), "/");
    EXPECT_FALSE(driveRoot('e'));
    EXPECT_FALSE(driveRoot('1'));

    // Without the links c: is the prefix's drive_c and z: the host root.
    fs::remove(prefix.path() + "/dosdevices/c:");
    fs::remove(prefix.path() + "/dosdevices/z:");
    EXPECT_EQ(driveRoot('C'), c(""));
    EXPECT_EQ(driveRoot('Z'), "/");
    EXPECT_EQ(toHostPath("Z:\\tmp"), real("/tmp"));
    // A link whose target is gone falls back the same way.
    fs::create_directory_symlink(prefix.path() + "/gone", prefix.path() + "/dosdevices/c:");
    EXPECT_EQ(driveRoot('c'), c(""));
}

TEST_F(PathTest, WindowsDirectoryIsFoundWithoutRegardToCase) {
    EXPECT_EQ(windowsDirectory(), c("/windows"));
    fs::rename(prefix.driveC() + "/windows", prefix.driveC() + "/WINDOWS");
    EXPECT_EQ(windowsDirectory(), c("/WINDOWS"));
}

TEST_F(PathTest, CurrentDriveIsTheDriveWhoseRootHoldsTheCurrentFolder) {
    TempDir other;
    prefix.linkDrive('d', other.path());
    {
        ScopedCwd cwd(prefix.driveC() + "/Jeux");
        EXPECT_EQ(currentDrive(), 'c');
        ASSERT_TRUE(setCurrentDrive('D'));
        EXPECT_EQ(currentDirectory(), real(other.path()));
        EXPECT_EQ(currentDrive(), 'd');
        // Staying on the current drive keeps the current folder.
        ASSERT_TRUE(setCurrentDirectory("C:\\JEUX\\vlm2"));
        EXPECT_EQ(currentDirectory(), c("/Jeux/VLM2"));
        EXPECT_TRUE(setCurrentDrive('c'));
        EXPECT_EQ(currentDirectory(), c("/Jeux/VLM2"));
        EXPECT_FALSE(setCurrentDrive('q'));
        EXPECT_FALSE(setCurrentDirectory("C:\\NoSuch"));
        EXPECT_EQ(currentDirectory(), c("/Jeux/VLM2"));
    }
    // Without its link, c: is still the prefix's drive_c; relative paths
    // start there, taken as written or found without regard to case.
    fs::remove(prefix.path() + "/dosdevices/c:");
    {
        ScopedCwd cwd(prefix.driveC() + "/Jeux");
        EXPECT_EQ(currentDrive(), 'c');
        EXPECT_EQ(toHostPath("VLM2/STRINGS.DAT"), c("/Jeux/VLM2/STRINGS.DAT"));
        EXPECT_EQ(toHostPath("vlm2/strings.dat"), c("/Jeux/VLM2/STRINGS.DAT"));
        EXPECT_EQ(toHostPath("..\\..\\..\\Jeux\\VLM2"), c("/Jeux/VLM2"));
    }
    ScopedCwd outside("/");
    EXPECT_EQ(currentDrive(), 'z');
}

// Creates `depth` nested folders named `name` under `base` step by step (one
// path would be too long for the system to take at once) and returns the
// whole path.
std::string nest(const std::string& base, const std::string& name, int depth) {
    ScopedCwd cwd(base);
    std::string path = real(base);
    for (int i = 0; i < depth; ++i) {
        if ((::mkdir(name.c_str(), 0755) != 0 && errno != EEXIST) || ::chdir(name.c_str()) != 0)
            return {};
        path += "/" + name;
    }
    return path;
}

TEST_F(PathTest, LongPathsResolveEveryComponent) {
    const std::string name(60, 'f');
    const std::string upper(60, 'F');
    // More than 255 characters: the length Windows programs are used to.
    std::string deep = nest(prefix.driveC(), name, 6);
    ASSERT_FALSE(deep.empty());
    std::string asked = "C:";
    for (int i = 0; i < 6; ++i) asked += "\\" + upper;
    ASSERT_GT(asked.size(), 255u);
    EXPECT_EQ(toHostPath(asked + "\\x.bnm"), deep + "/x.bnm");

    // Deeper than the system takes in one path: still reached, and entered.
    deep = nest(prefix.driveC(), name, 75);
    ASSERT_FALSE(deep.empty());
    for (int i = 6; i < 75; ++i) asked += "\\" + upper;
    ASSERT_GT(asked.size(), 4096u);
    EXPECT_EQ(toHostPath(asked + "\\x.bnm"), deep + "/x.bnm");
    ScopedCwd back(prefix.path());
    ASSERT_TRUE(setCurrentDirectory(asked));
    EXPECT_EQ(toHostPath("X.BNM"), deep + "/X.BNM");
}

TEST(PathText, SlashCountsAsBackslash) {
    EXPECT_TRUE(isSeparator('/'));
    EXPECT_TRUE(isSeparator('\\'));
    EXPECT_FALSE(isSeparator(':'));
    const std::string_view bank = "/home/u/jeu/Datab\\Resson/x.bnm";
    EXPECT_EQ(lastSeparator(bank), bank.size() - 6);
    EXPECT_EQ(directoryPart(bank), "/home/u/jeu/Datab\\Resson");
    EXPECT_EQ(lastComponent(bank), "x.bnm");
    EXPECT_EQ(lastSeparator("x.bnm"), std::string_view::npos);
    EXPECT_EQ(directoryPart("x.bnm"), "");
    EXPECT_EQ(lastComponent("x.bnm"), "x.bnm");
    EXPECT_EQ(lastComponent("C:\\a\\"), "");

    EXPECT_TRUE(hasExtension("A.BNM", ".bnm"));
    EXPECT_FALSE(hasExtension(".bnm", ".bnm"));
    EXPECT_FALSE(hasExtension("a.bnmx", ".bnm"));
    EXPECT_FALSE(hasExtension("", ".bnm"));

    EXPECT_EQ(withTrailingSeparator("C:\\Jeux"), "C:\\Jeux\\");
    EXPECT_EQ(withTrailingSeparator("/home/u/"), "/home/u/");
    EXPECT_EQ(withTrailingSeparator("C:\\Jeux\\"), "C:\\Jeux\\");
    EXPECT_EQ(withTrailingSeparator(""), "");

    EXPECT_EQ(hostPathIn("C:\\out\\wavs", "1.wav"), "C:\\out\\wavs\\1.wav");
    EXPECT_EQ(hostPathIn("/home/u/out", "1.wav"), "/home/u/out/1.wav");
    EXPECT_EQ(hostPathIn("/home/u/out/", "1.wav"), "/home/u/out/1.wav");
    EXPECT_EQ(hostPathIn(".", "1.wav"), "./1.wav");

    EXPECT_TRUE(equalsNoCase("Datab\\Resson", "DATAB\\resson"));
    EXPECT_FALSE(equalsNoCase("abc", "abcd"));
    EXPECT_FALSE(equalsNoCase("\xE9", "\xC9"));  // only ASCII letters fold
    EXPECT_EQ(toLower("K7.CSB \xC9"), "k7.csb \xC9");
}

TEST(HostName, RecordedNamesAreLatin1) {
    const auto plain = gameFileName("/home/u/sons/klaxon \xC3\xA0.wav");
    EXPECT_EQ(plain.latin1, "klaxon \xE0.wav");
    EXPECT_FALSE(plain.charactersReplaced);
    const auto snowman = gameFileName("C:\\sons\\n\xE2\x98\x83\xF0\x9F\x8E\xBA.wav");
    EXPECT_EQ(snowman.latin1, "n__.wav");
    EXPECT_TRUE(snowman.charactersReplaced);
    // Bytes that are not UTF-8 (a name already 8-bit, a sequence cut short
    // or too long for its character) are kept as they are.
    for (const std::string name : {"\xE9t\xE9.wav", "a\xC3", "\xC0\xAF", "\xED\xA0\x80"})
        EXPECT_EQ(latin1FromUtf8(name).latin1, name);
}

}  // namespace
}  // namespace calyx::platform
