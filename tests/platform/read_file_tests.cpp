#include "platform/read_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "fixtures/temp_dir.h"

namespace calyx::platform {
namespace {

using fixtures::TempDir;

TEST(ReadFile, ReadsWholeFilesUpToAndIncludingTheCap) {
    TempDir dir;
    const std::string bytes("a\0b\r\n\xff", 6);
    fixtures::writeFile(dir / "six", bytes);
    fixtures::writeFile(dir / "empty", "");
    ReadFileResult read = readFile(dir / "six", 6);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.bytes, bytes);
    read = readFile(dir / "empty", 0);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.bytes, "");
}

TEST(ReadFile, AFileOverTheCapIsRefusedOrCutAsTheCallerAsks) {
    TempDir dir;
    fixtures::writeFile(dir / "six", "abcdef");
    ReadFileResult refused = readFile(dir / "six", 5);
    EXPECT_EQ(refused.error, ReadFileError::TooLarge);
    EXPECT_EQ(refused.bytes, "");
    ReadFileResult head = readFile(dir / "six", 5, OverCap::KeepHead);
    EXPECT_EQ(head.error, ReadFileError::TooLarge);
    EXPECT_EQ(head.bytes, "abcde");

    // A device that never ends and reports no length stops at the cap.
    refused = readFile("/dev/zero", 100000);
    EXPECT_EQ(refused.error, ReadFileError::TooLarge);
    EXPECT_EQ(refused.bytes, "");
    head = readFile("/dev/zero", 100000, OverCap::KeepHead);
    EXPECT_EQ(head.error, ReadFileError::TooLarge);
    EXPECT_EQ(head.bytes, std::string(100000, '\0'));
}

TEST(ReadFile, SaysWhenThereIsNothingToRead) {
    TempDir dir;
    fixtures::makeDirs(dir / "folder");
    EXPECT_EQ(readFile(dir / "missing", 10).error, ReadFileError::CannotOpen);
    EXPECT_EQ(readFile(dir / "folder", 10).error, ReadFileError::CannotOpen);
    fixtures::writeFile(dir / "locked", "secret");
    ::chmod((dir / "locked").c_str(), 0);
    if (::geteuid() != 0) {
        EXPECT_EQ(readFile(dir / "locked", 10).error, ReadFileError::CannotOpen);
    }
}

}  // namespace
}  // namespace calyx::platform
