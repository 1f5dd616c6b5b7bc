#include "bank/bank_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bank/bank_archive.h"
#include "fixtures/temp_dir.h"
#include "platform/file.h"

namespace calyx::bank {
namespace {

using fixtures::readFile;
using fixtures::ScopedCwd;
using fixtures::TempDir;
using fixtures::writeFile;
using platform::File;
namespace fs = std::filesystem;

// A file in memory that stands in for the disk: it can deliver its bytes in
// pieces, refuse to be opened, take only so many bytes, and it records what
// was asked of it.
class MemoryFile : public File {
public:
    std::string data;
    std::size_t readPiece = SIZE_MAX;  // most bytes one read delivers
    bool readFails = false;
    std::size_t capacity = SIZE_MAX;  // the disk is full past this size
    bool openFails = false;
    std::vector<std::string> openedNames;
    std::vector<Mode> openedModes;
    std::vector<std::size_t> readRequests;
    std::vector<std::size_t> writeRequests;
    int flushes = 0;

    bool open(std::string_view path, Mode mode) override {
        openedNames.emplace_back(path);
        openedModes.push_back(mode);
        if (openFails) return false;
        if (mode == Mode::CreateWrite || mode == Mode::CreateReadWrite || mode == Mode::CreateExclusive)
            data.clear();
        open_ = true;
        position_ = 0;
        return true;
    }
    bool isOpen() const override { return open_; }
    std::ptrdiff_t read(void* buffer, std::size_t length) override {
        readRequests.push_back(length);
        if (!open_ || readFails) return -1;
        const std::size_t left = data.size() > position_ ? data.size() - position_ : 0;
        const std::size_t n = std::min({length, readPiece, left});
        std::memcpy(buffer, data.data() + position_, n);
        position_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    std::ptrdiff_t write(const void* bytes, std::size_t length) override {
        writeRequests.push_back(length);
        if (!open_) return -1;
        const std::size_t room = capacity > position_ ? capacity - position_ : 0;
        const std::size_t n = std::min(length, room);
        if (n == 0 && length > 0) return -1;
        if (data.size() < position_ + n) data.resize(position_ + n);
        std::memcpy(data.data() + position_, bytes, n);
        position_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    std::int64_t seek(std::int64_t offset, Origin origin) override {
        const std::int64_t at = (origin == Origin::End ? static_cast<std::int64_t>(data.size()) : 0) + offset;
        if (!open_ || at < 0) return -1;
        position_ = static_cast<std::size_t>(at);
        return at;
    }
    std::int64_t position() const override { return open_ ? static_cast<std::int64_t>(position_) : -1; }
    std::int64_t length() const override { return open_ ? static_cast<std::int64_t>(data.size()) : -1; }
    bool flush() override {
        ++flushes;
        return open_;
    }
    bool close() override {
        open_ = false;
        return true;
    }
    std::string fullPath() const override { return "/memory/" + openedNames.back(); }

private:
    bool open_ = false;
    std::size_t position_ = 0;
};

// A stream over a MemoryFile that the test keeps a hand on.
struct MemoryStream {
    MemoryStream() : stream(std::unique_ptr<File>(file = new MemoryFile)) {}
    MemoryFile* file;
    BankStream stream;
};

std::string pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>(i * 7 + i / 251);
    return s;
}

constexpr std::uint32_t readOnlyOpen = 0x0D;  // name, open for reading, reading allowed
constexpr std::uint32_t writeOnlyOpen = 0x13;

TEST(BankStream, PermissionsAndStateBits) {
    MemoryStream m;
    BankStream& s = m.stream;
    EXPECT_EQ(s.state(), 0x18u);
    EXPECT_FALSE(s.archiveMode());
    EXPECT_EQ(s.open(), 0);  // no name
    EXPECT_EQ(s.read(nullptr, 0), 1);

    s.setFileName("a.bin");
    EXPECT_EQ(s.state(), 0x19u);
    // Reading nothing opens nothing.
    char byte;
    EXPECT_EQ(s.read(&byte, 0), 1);
    EXPECT_TRUE(m.file->openedNames.empty());

    s.setAccess(true, false);
    EXPECT_EQ(s.state(), 0x09u);
    EXPECT_EQ(s.write("x", 1), 0);
    EXPECT_TRUE(m.file->openedNames.empty());
    m.file->data = "abc";
    EXPECT_EQ(s.read(&byte, 1), 1);  // opens on first use
    EXPECT_EQ(m.file->openedModes.back(), File::Mode::Read);
    EXPECT_EQ(s.state(), readOnlyOpen);
    EXPECT_EQ(s.open(), 1);  // already open: nothing more
    EXPECT_EQ(m.file->openedNames.size(), 1u);

    s.close();
    EXPECT_EQ(s.state(), 0x09u);
    EXPECT_FALSE(m.file->isOpen());
    s.setAccess(false, true);
    EXPECT_EQ(s.read(&byte, 1), 0);
    EXPECT_EQ(s.write("x", 1), 1);
    EXPECT_EQ(m.file->openedModes.back(), File::Mode::CreateWrite);
    EXPECT_EQ(s.state(), writeOnlyOpen);

    // Both allowed: created for writing yet open for both.
    s.setAccess(true, true);
    s.setFileName("b.bin");
    EXPECT_FALSE(m.file->isOpen());
    EXPECT_EQ(s.state(), 0x19u);
    EXPECT_EQ(s.open(), 1);
    EXPECT_EQ(m.file->openedModes.back(), File::Mode::CreateReadWrite);
    EXPECT_EQ(s.state(), 0x1Fu);
    s.setFileName("");
    EXPECT_EQ(s.state(), 0x18u);
    EXPECT_EQ(s.fileName(), "");

    // A file that will not open leaves the stream closed.
    m.file->openFails = true;
    s.setFileName("c.bin");
    EXPECT_EQ(s.write("x", 1), 0);
    EXPECT_EQ(s.seek(0), 0);
    std::int64_t at = 99;
    EXPECT_EQ(s.tell(at), 0);
    EXPECT_EQ(at, 0);
    EXPECT_EQ(s.state(), 0x19u);
}

TEST(BankStream, ReadsArrivingInPiecesAreJoinedWithinFiveAttempts) {
    MemoryStream m;
    m.file->data = "0123456789";
    m.file->readPiece = 6;
    m.stream.setAccess(true, false);
    m.stream.setFileName("pieces");
    char buffer[11] = {};
    ASSERT_EQ(m.stream.read(buffer, 10), 1);
    EXPECT_STREQ(buffer, "0123456789");
    EXPECT_EQ(m.file->readRequests, (std::vector<std::size_t>{10, 4}));

    // One byte a time: five attempts, then failure.
    MemoryStream slow;
    slow.file->data = "0123456789";
    slow.file->readPiece = 1;
    slow.stream.setAccess(true, false);
    slow.stream.setFileName("slow");
    EXPECT_EQ(slow.stream.read(buffer, 6), 0);
    EXPECT_EQ(slow.file->readRequests, (std::vector<std::size_t>{6, 5, 4, 3, 2}));
    EXPECT_EQ(slow.stream.read(buffer, 5), 1);  // exactly five pieces suffice
    std::int64_t at = 0;
    EXPECT_EQ(slow.stream.tell(at), 1);
    EXPECT_EQ(at, 10);

    slow.file->readFails = true;
    slow.file->readRequests.clear();
    EXPECT_EQ(slow.stream.read(buffer, 1), 0);
    EXPECT_EQ(slow.file->readRequests.size(), 5u);
}

TEST(BankStream, AShortWriteIsAFailure) {
    MemoryStream m;
    m.file->capacity = 10;
    m.stream.setAccess(false, true);
    m.stream.setFileName("full");
    EXPECT_EQ(m.stream.write("12345", 5), 1);
    EXPECT_EQ(m.stream.write("67890abc", 8), 0);
    EXPECT_EQ(m.stream.writeZeros(10), 0);
}

TEST(BankStream, ZerosAndSkipsGoInBlocks) {
    MemoryStream m;
    m.stream.setAccess(false, true);
    m.stream.setFileName("zeros");
    ASSERT_EQ(m.stream.writeZeros(10000), 1);
    EXPECT_EQ(m.file->writeRequests, (std::vector<std::size_t>{4096, 4096, 1808}));
    EXPECT_EQ(m.file->data, std::string(10000, '\0'));
    EXPECT_EQ(m.stream.writeZeros(0), 1);

    // Seeking past the end while writing fills the gap the same way.
    m.file->writeRequests.clear();
    ASSERT_EQ(m.stream.seek(15000), 1);
    EXPECT_EQ(m.file->writeRequests, (std::vector<std::size_t>{4096, 904}));
    EXPECT_EQ(m.file->data.size(), 15000u);

    m.stream.setAccess(true, false);
    m.stream.setFileName("skip");
    m.file->data = pattern(1000);
    ASSERT_EQ(m.stream.skip(600), 1);
    EXPECT_EQ(m.file->readRequests, (std::vector<std::size_t>{256, 256, 88}));
    char byte = 0;
    ASSERT_EQ(m.stream.read(&byte, 1), 1);
    EXPECT_EQ(byte, m.file->data[600]);
    EXPECT_EQ(m.stream.skip(400), 0);  // only 399 left
}

TEST(BankStream, SeekOnDisk) {
    TempDir dir;
    {
        BankStream s;  // writing only, into a new file
        s.setAccess(false, true);
        s.setFileName(dir / "new.bin");
        ASSERT_EQ(s.seek(10), 1);
        EXPECT_EQ(s.seek(10), 1);  // the current position
        ASSERT_EQ(s.seek(4), 1);
        ASSERT_EQ(s.write("ab", 2), 1);
        std::int64_t at = 0;
        EXPECT_EQ(s.tell(at), 1);
        EXPECT_EQ(at, 6);
        EXPECT_EQ(s.seek(-1), 0);
        EXPECT_TRUE(s.flush());
    }
    EXPECT_EQ(readFile(dir / "new.bin"), std::string("\0\0\0\0ab\0\0\0\0", 10));

    BankStream r;  // reading only
    r.setAccess(true, false);
    r.setFileName(dir / "new.bin");
    EXPECT_EQ(r.seek(11), 0);
    ASSERT_EQ(r.seek(10), 1);  // the end itself is fine
    ASSERT_EQ(r.seek(4), 1);
    char two[2];
    ASSERT_EQ(r.read(two, 2), 1);
    EXPECT_EQ(std::string(two, 2), "ab");
    EXPECT_EQ(readFile(dir / "new.bin").size(), 10u);

    BankStream missing;
    missing.setAccess(true, false);
    missing.setFileName(dir / "missing.bin");
    EXPECT_EQ(missing.seek(0), 0);
    EXPECT_EQ(missing.state(), 0x09u);
}

TEST(BankStream, CreateTempNameRule) {
    TempDir dir;
    ScopedCwd cwd(dir.path());
    std::string name;
    {
        BankStream s;
        ASSERT_EQ(s.createTemp(name, "~Calyx", true, dir.path()), 1);
        EXPECT_EQ(name, dir.path() + "\\~Calyx0.tmp");
        EXPECT_EQ(s.fileName(), name);
        EXPECT_EQ(s.state(), 0x1Fu);
        EXPECT_EQ(s.write("temp", 4), 1);
    }
    EXPECT_EQ(readFile(dir / "~Calyx0.tmp"), "temp");
    {
        BankStream s;
        s.setAccess(false, true);
        ASSERT_EQ(s.createTemp(name, "~Calyx", false, dir.path()), 1);
        EXPECT_EQ(name, "~Calyx1.tmp");  // the current folder; 0 is taken
        EXPECT_EQ(s.state(), writeOnlyOpen);
        ASSERT_EQ(s.createTemp(name, "~Calyx", true, ""), 1);
        EXPECT_EQ(name, "~Calyx2.tmp");
    }
    EXPECT_EQ(readFile(dir / "~Calyx0.tmp"), "temp");  // never truncated

    // The folder is used while name, folder and separator stay under 256
    // characters: "~Calyx9.tmp" fits beside a 243-character folder,
    // "~Calyx10.tmp" does not.
    MemoryStream m;
    m.file->openFails = true;
    const std::string folder(243, 'd');
    EXPECT_EQ(m.stream.createTemp(name, "~Calyx", true, folder), 0);
    ASSERT_EQ(m.file->openedNames.size(), 40u);  // two rounds of 20
    EXPECT_EQ(m.file->openedNames[9], folder + "\\~Calyx9.tmp");
    EXPECT_EQ(m.file->openedNames[10], "~Calyx10.tmp");
    EXPECT_EQ(m.file->openedNames[20], folder + "\\~Calyx0.tmp");
    EXPECT_EQ(m.file->openedModes[0], File::Mode::CreateExclusive);
    EXPECT_EQ(name, "~Calyx19.tmp");  // the last name tried
    EXPECT_EQ(m.stream.state(), 0x19u);
}

TEST(BankStream, CreateTempSkipsNamesTakenOrImpossible) {
    TempDir dir;
    writeFile(dir / "~Calyx0.tmp", "another save's file");
    fixtures::makeDirs(dir / "~CALYX1.TMP");  // taken in other case, and a folder
    BankStream s;
    std::string name;
    ASSERT_EQ(s.createTemp(name, "~Calyx", true, dir.path()), 1);
    EXPECT_EQ(name, dir.path() + "\\~Calyx2.tmp");
    EXPECT_EQ(readFile(dir / "~Calyx0.tmp"), "another save's file");
}

TEST(BankStream, CreateTempCleansUpStaleFilesAfterTwentyFailures) {
    TempDir dir;
    for (int i = 0; i < 20; ++i) writeFile(dir / ("~X" + std::to_string(i) + ".tmp"), "stale");
    BankStream s;
    std::string name;
    ASSERT_EQ(s.createTemp(name, "~X", true, dir.path()), 1);
    EXPECT_EQ(name, dir.path() + "\\~X0.tmp");
    EXPECT_EQ(readFile(dir / "~X0.tmp"), "");  // created anew
    // Deleting stops once more than three went: ~X0 to ~X3.
    for (int i = 1; i <= 3; ++i) EXPECT_FALSE(fs::exists(dir / ("~X" + std::to_string(i) + ".tmp")));
    for (int i = 4; i < 20; ++i) EXPECT_EQ(readFile(dir / ("~X" + std::to_string(i) + ".tmp")), "stale");

    // Names that cannot be deleted either: no temporary file.
    TempDir blocked;
    for (int i = 0; i < 20; ++i) fixtures::makeDirs(blocked / ("~X" + std::to_string(i) + ".tmp"));
    EXPECT_EQ(s.createTemp(name, "~X", true, blocked.path()), 0);
    EXPECT_EQ(name, blocked.path() + "\\~X19.tmp");
}

// A real file holding `contents`, opened for reading and writing.
struct DiskFile {
    explicit DiskFile(const std::string& contents) {
        writeFile(dir / "doc.bnm", contents);
        file.open(dir / "doc.bnm", File::Mode::ReadWrite);
    }
    std::string contents() const { return readFile(dir / "doc.bnm"); }
    TempDir dir;
    File file;
};

TEST(BankStream, ReadsThroughALoadingArchive) {
    const std::string bytes = pattern(10000);
    DiskFile disk(bytes);
    BankArchive archive(disk.file, BankArchive::Mode::Load);
    BankStream s;
    s.attachToArchive(archive);
    EXPECT_TRUE(s.archiveMode());
    EXPECT_EQ(s.state(), readOnlyOpen);
    EXPECT_EQ(s.fileName(), disk.file.fullPath());

    std::string got(5000, '\0');
    ASSERT_EQ(s.read(got.data(), 5000), 1);  // refills across 4096
    EXPECT_EQ(got, bytes.substr(0, 5000));
    std::int64_t at = 0;
    EXPECT_EQ(s.tell(at), 1);
    EXPECT_EQ(at, 5000);
    EXPECT_EQ(s.write("x", 1), 0);

    ASSERT_EQ(s.seek(100), 1);
    char byte = 0;
    ASSERT_EQ(s.read(&byte, 1), 1);
    EXPECT_EQ(byte, bytes[100]);
    EXPECT_EQ(s.seek(10001), 0);
    ASSERT_EQ(s.seek(9998), 1);
    EXPECT_EQ(s.read(got.data(), 2), 1);
    // Running out is a failure, not two bytes of whatever was there.
    EXPECT_EQ(s.read(got.data(), 1), 0);

    // The archive's file is never the stream's to close.
    s.close();
    EXPECT_TRUE(disk.file.isOpen());
    s.setFileName("");
    EXPECT_FALSE(s.archiveMode());
    EXPECT_TRUE(disk.file.isOpen());
}

TEST(BankStream, WritesThroughAStoringArchive) {
    DiskFile disk("old content that the save replaces");
    ASSERT_TRUE(disk.file.open(disk.dir / "doc.bnm", File::Mode::CreateReadWrite));
    const std::string bytes = pattern(5000);
    {
        BankArchive archive(disk.file, BankArchive::Mode::Store);
        BankStream s;
        s.attachToArchive(archive);
        EXPECT_EQ(s.state(), writeOnlyOpen);
        ASSERT_EQ(s.write(bytes.data(), 4096), 1);
        EXPECT_EQ(disk.file.length(), 0);  // a full buffer waits for the next byte
        ASSERT_EQ(s.write(bytes.data() + 4096, 904), 1);
        EXPECT_EQ(disk.file.length(), 4096);
        std::int64_t at = 0;
        EXPECT_EQ(s.tell(at), 1);
        EXPECT_EQ(at, 5000);
        char byte;
        EXPECT_EQ(s.read(&byte, 1), 0);

        // close() drops the stream's hold only: writing goes on in the same
        // document, never in a truncated one.
        s.close();
        EXPECT_TRUE(disk.file.isOpen());
        ASSERT_EQ(s.write("!", 1), 1);
        EXPECT_EQ(s.state(), writeOnlyOpen);

        ASSERT_EQ(s.seek(6000), 1);  // flushes, then zero fill
        EXPECT_EQ(s.write("end", 3), 1);
        EXPECT_TRUE(s.flush());
    }
    const std::string expected = bytes + "!" + std::string(999, '\0') + "end";
    const std::string written = disk.contents();
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
}

TEST(BankStream, AFailedArchiveWriteFailsForGood) {
    MemoryFile file;
    file.capacity = 5000;
    file.open("doc", File::Mode::CreateReadWrite);
    BankArchive archive(file, BankArchive::Mode::Store);
    BankStream s;
    s.attachToArchive(archive);
    const std::string bytes = pattern(10000);
    EXPECT_EQ(s.write(bytes.data(), 8193), 0);  // the second buffer did not fit
    EXPECT_EQ(s.write("x", 1), 0);
    EXPECT_FALSE(s.flush());
    EXPECT_FALSE(archive.flush());
}

TEST(BankArchive, LoadingPositionFlushAndEnd) {
    MemoryFile file;
    file.open("doc", File::Mode::Read);
    file.data = pattern(5000);
    file.seek(123, File::Origin::Start);
    BankArchive archive(file, BankArchive::Mode::Load);
    EXPECT_TRUE(archive.isLoading());
    EXPECT_EQ(archive.position(), 0);  // it starts at the first byte
    std::uint8_t byte = 0;
    ASSERT_TRUE(archive.readByte(byte));
    EXPECT_EQ(byte, static_cast<std::uint8_t>(file.data[0]));
    EXPECT_EQ(file.position(), 4096);  // read ahead
    EXPECT_EQ(archive.position(), 1);
    ASSERT_TRUE(archive.flush());
    EXPECT_EQ(file.position(), 1);  // given back

    std::string rest(4999, '\0');
    ASSERT_TRUE(archive.read(rest.data(), rest.size()));
    EXPECT_EQ(rest, file.data.substr(1));
    EXPECT_FALSE(archive.readByte(byte));
    EXPECT_EQ(archive.position(), 5000);

    MemoryFile broken;
    broken.open("broken", File::Mode::Read);
    broken.readFails = true;
    BankArchive failing(broken, BankArchive::Mode::Load);
    EXPECT_FALSE(failing.readByte(byte));
    broken.readFails = false;
    EXPECT_FALSE(failing.readByte(byte));  // a read error is not forgotten
}

TEST(BankArchive, StoringBuffersAndFlushesOnDestruction) {
    MemoryFile file;
    file.open("doc", File::Mode::CreateReadWrite);
    {
        BankArchive archive(file, BankArchive::Mode::Store);
        EXPECT_TRUE(archive.isStoring());
        for (int i = 0; i < 4097; ++i) ASSERT_TRUE(archive.writeByte(static_cast<std::uint8_t>(i)));
        EXPECT_EQ(file.writeRequests, (std::vector<std::size_t>{4096}));
        EXPECT_EQ(archive.position(), 4097);
        ASSERT_TRUE(archive.write("ab", 2));
    }
    ASSERT_EQ(file.data.size(), 4099u);
    EXPECT_EQ(static_cast<std::uint8_t>(file.data[4096]), 0u);  // byte 4096 wraps to 0
    EXPECT_EQ(file.data.substr(4097), "ab");
}

}  // namespace
}  // namespace calyx::bank
