#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"

namespace calyx::platform {
namespace {

using fixtures::readFile;
using fixtures::TempDir;
using fixtures::writeFile;

std::string get(std::string_view section, std::string_view key, const std::string& path,
                std::size_t size = 256, std::string_view fallback = "DEF") {
    return getProfileString(section, key, fallback, size, path);
}

TEST(Profile, ReadsWithWindowsRules) {
    TempDir dir;
    const std::string ini = dir / "a.ini";
    writeFile(ini,
              "; a comment=not a key\r\n"
              "top=before any section\r\n"
              "[TQ2]\r\n"
              "  Directory =  C:\\Jeux\\VLM2\\  \r\n"
              "Language=\"English\"\r\n"
              "Single='x'\r\n"
              "Unmatched=\"abc'\r\n"
              "Lone=\"\r\n"
              "Empty=\r\n"
              "[ k7tq ]\r\n"
              "Language=French\r\n"
              "[tq2]\r\n"
              "Later=in a second section of the same name\r\n");
    EXPECT_EQ(get("tq2", "DIRECTORY", ini), "C:\\Jeux\\VLM2\\");
    EXPECT_EQ(get("TQ2", "Language", ini), "English");
    EXPECT_EQ(get("TQ2", "Single", ini), "x");
    EXPECT_EQ(get("TQ2", "Unmatched", ini), "\"abc'");
    EXPECT_EQ(get("TQ2", "Lone", ini), "\"");
    EXPECT_EQ(get("TQ2", "Empty", ini), "");
    EXPECT_EQ(get("K7TQ", "language", ini), "French");
    // Only the first section of a name counts; comments are no keys.
    EXPECT_EQ(get("TQ2", "Later", ini), "DEF");
    EXPECT_EQ(get("TQ2", "; a comment", ini), "DEF");
    EXPECT_EQ(get("TQ2", "Missing", ini), "DEF");
    EXPECT_EQ(get("Nowhere", "Language", ini), "DEF");
    EXPECT_EQ(get("TQ2", "Language", dir / "missing.ini"), "DEF");
    EXPECT_EQ(get("TQ2", "Language", dir / "missing.ini", 256, "NO  "), "NO");
}

TEST(Profile, CutsToTheBuffer) {
    TempDir dir;
    const std::string ini = dir / "a.ini";
    writeFile(ini, "[S]\nk=ABCDEFGHIJ\n");
    char buffer[7] = "zzzzzz";
    EXPECT_EQ(getProfileString("S", "k", "", buffer, sizeof buffer, ini), 6u);
    EXPECT_STREQ(buffer, "ABCDEF");
    EXPECT_EQ(getProfileString("S", "none", "0123456789", buffer, 4, ini), 3u);
    EXPECT_STREQ(buffer, "012");
    EXPECT_EQ(getProfileString("S", "k", "", buffer, 1, ini), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(getProfileString("S", "k", "", buffer, 0, ini), 0u);
}

TEST(Profile, ReadsIntegers) {
    TempDir dir;
    const std::string ini = dir / "a.ini";
    writeFile(ini, "[Options]\na=8\nb= -12xyz\nc=+7\nd=abc\ne=\nf=\"64\"\ng=4294967298\n");
    EXPECT_EQ(getProfileInt("options", "a", 2, ini), 8);
    EXPECT_EQ(getProfileInt("Options", "b", 2, ini), -12);
    EXPECT_EQ(getProfileInt("Options", "c", 2, ini), 7);
    EXPECT_EQ(getProfileInt("Options", "d", 2, ini), 0);
    EXPECT_EQ(getProfileInt("Options", "e", 2, ini), 2);
    EXPECT_EQ(getProfileInt("Options", "f", 2, ini), 64);
    EXPECT_EQ(getProfileInt("Options", "g", 2, ini), 2);  // wraps in 32 bits
    EXPECT_EQ(getProfileInt("Options", "absent", 2, ini), 2);
    EXPECT_EQ(getProfileInt("Options", "a", 2, dir / "none.ini"), 2);
}

TEST(Profile, WriteKeepsEverythingElse) {
    TempDir dir;
    const std::string ini = dir / "a.ini";
    const std::string before =
        "; settings\r\n[TQ2]\r\n  Directory=C:\\G\\\r\n  tripleBuffering = yes ; old\r\n"
        "Language=French\r\n\r\n[Other]\r\nx=1\r\n";
    writeFile(ini, before);
    ASSERT_TRUE(writeProfileString("tq2", "TripleBuffering", "NO", ini));
    EXPECT_EQ(readFile(ini),
              "; settings\r\n[TQ2]\r\n  Directory=C:\\G\\\r\n  tripleBuffering=NO\r\n"
              "Language=French\r\n\r\n[Other]\r\nx=1\r\n");

    // A new key goes after the section's last entry, before its blank lines.
    ASSERT_TRUE(writeProfileString("TQ2", "New", "v", ini));
    EXPECT_EQ(readFile(ini),
              "; settings\r\n[TQ2]\r\n  Directory=C:\\G\\\r\n  tripleBuffering=NO\r\n"
              "Language=French\r\nNew=v\r\n\r\n[Other]\r\nx=1\r\n");

    // A new section goes at the end, after a blank line.
    ASSERT_TRUE(writeProfileString("Options", "SXD_DIST_SATUR", "8", ini));
    const std::string tail = "x=1\r\n\r\n[Options]\r\nSXD_DIST_SATUR=8\r\n";
    const std::string after = readFile(ini);
    ASSERT_GE(after.size(), tail.size());
    EXPECT_EQ(after.substr(after.size() - tail.size()), tail);
    EXPECT_EQ(get("Options", "sxd_dist_satur", ini), "8");
}

TEST(Profile, WriteFollowsTheFilesLineEnding) {
    TempDir dir;
    const std::string unix = dir / "unix.ini";
    writeFile(unix, "[A]\nx=1\ny=2\r\n[B]\nz=3");  // mostly LF, no final newline
    ASSERT_TRUE(writeProfileString("B", "w", "4", unix));
    ASSERT_TRUE(writeProfileString("C", "v", "5", unix));
    EXPECT_EQ(readFile(unix), "[A]\nx=1\ny=2\r\n[B]\nz=3\nw=4\n\n[C]\nv=5\n");

    const std::string fresh = dir / "new.ini";
    ASSERT_TRUE(writeProfileString("TQ2", "TripleBuffering", "NO", fresh));
    EXPECT_EQ(readFile(fresh), "[TQ2]\r\nTripleBuffering=NO\r\n");

    // A file in a missing folder cannot be created; line breaks are refused.
    EXPECT_FALSE(writeProfileString("A", "k", "v", dir / "none/x.ini"));
    EXPECT_FALSE(writeProfileString("A", "k", "two\nlines", fresh));
}

TEST(Profile, PathsOfEveryFormAndCase) {
    fixtures::WinePrefix prefix;
    prefix.writeIni("[TQ2]\r\nLanguage=German\r\n");
    EXPECT_EQ(get("TQ2", "Language", "C:\\WINDOWS\\ornwick\\ORNWICK.INI"), "German");
    ASSERT_TRUE(writeProfileString("TQ2", "TripleBuffering", "NO", "c:/windows/ornwick/ornwick.ini"));
    EXPECT_EQ(readFile(prefix.iniPath()), "[TQ2]\r\nLanguage=German\r\nTripleBuffering=NO\r\n");
}

TEST(Profile, MalformedFilesAreHarmless) {
    TempDir dir;
    const std::string ini = dir / "junk.ini";
    std::string junk("[TQ2\0]\n\0\0=\xff\xfe[\n[TQ2]\nLanguage=Eng\0lish\n=novalue\n[]\n]\n", 50);
    junk += std::string(200000, 'x');  // a huge line without newline
    writeFile(ini, junk);
    EXPECT_EQ(get("TQ2", "Language", ini), "Eng");
    EXPECT_EQ(get("TQ2", "", ini), "DEF");
    ASSERT_TRUE(writeProfileString("TQ2", "Language", "French", ini));
    const std::string after = readFile(ini);
    EXPECT_EQ(after.size(), junk.size() - 2);
    EXPECT_NE(after.find(std::string("[TQ2\0]\n", 7)), std::string::npos);
    EXPECT_EQ(get("TQ2", "Language", ini), "French");

    writeFile(ini, "\xEF\xBB\xBF[TQ2]\r\nLanguage=German\r\n");
    EXPECT_EQ(get("TQ2", "Language", ini), "German");
}

}  // namespace
}  // namespace calyx::platform
