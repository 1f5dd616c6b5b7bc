// The sample data of a save: ranges copied by the system or through memory,
// runs joined, pad bytes, a system that refuses, sources that end early,
// disks that fill up, blocks written whole on the block grid, and the
// disk's write-back started along the way.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "bank/sample_data_writer.h"
#include "fixtures/bank_builder.h"
#include "fixtures/file_size_limit.h"
#include "fixtures/temp_dir.h"

namespace calyx {
namespace {

using Bytes = std::vector<unsigned char>;
using bank::BankStream;
using bank::SampleDataWriter;
using fixtures::TempDir;

struct Piece {
    int source;  // 0 or 1
    std::int64_t from;
    std::uint32_t length, pad;
    std::int64_t at;
};

// Two source files and the pieces of a new file taken from them.
class SampleDataWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        sources_[0] = fixtures::patternBytes(3 << 20, 7);
        sources_[1] = fixtures::patternBytes(5000, 99);
    }

    void openSources(const std::string& folder) {
        for (int i = 0; i < 2; ++i) {
            const std::string path = folder + "/source" + std::to_string(i);
            fixtures::writeBytes(path, sources_[i]);
            in_[i].setFileName(path);
            in_[i].setAccess(true, false);
            ASSERT_EQ(in_[i].open(), 1);
        }
    }

    // Opens `stream` on the file `name` of the test's folder.
    bool openIn(BankStream& stream, const std::string& name, bool forWriting) {
        stream.setFileName(dir_ / name);
        stream.setAccess(true, forWriting);
        return stream.open() == 1;
    }

    // Writes the pieces into `out` (the sources' own, or all from `source`);
    // the result of the first failure, or of finish().
    SampleDataWriter::Result writeInto(BankStream& out, const std::vector<Piece>& pieces, std::size_t minSystemCopy,
                                       BankStream* source = nullptr) {
        SampleDataWriter writer(out, minSystemCopy);
        for (const Piece& p : pieces)
            if (auto r = writer.copy(source ? *source : in_[p.source], p.from, p.length, p.pad, p.at);
                r != SampleDataWriter::Done)
                return r;
        return writer.finish();
    }

    // Writes the pieces into a new, empty file.
    SampleDataWriter::Result write(const std::vector<Piece>& pieces, std::size_t minSystemCopy) {
        if (!openIn(out_, "out", true)) return SampleDataWriter::WriteFailed;
        return writeInto(out_, pieces, minSystemCopy);
    }

    Bytes expected(const std::vector<Piece>& pieces) const {
        Bytes file;
        for (const Piece& p : pieces) {
            const auto end = static_cast<std::size_t>(p.at) + p.length + p.pad;
            if (file.size() < end) file.resize(end);
            const Bytes& s = sources_[p.source];
            std::copy_n(s.begin() + p.from, p.length, file.begin() + p.at);
            const unsigned char last = p.length > 0 ? s[static_cast<std::size_t>(p.from) + p.length - 1] : 0;
            std::fill_n(file.begin() + p.at + p.length, p.pad, last);
        }
        return file;
    }

    TempDir dir_;
    Bytes sources_[2];
    BankStream in_[2];
    BankStream out_;
};

// Runs that join, a run longer than a block, pads that end runs, a sample
// of nothing but pad, a piece from the other source in between, and a
// piece placed before the ones already written.
const std::vector<Piece> mixedPieces = {
    {0, 0, 1000, 0, 0},       {0, 1000, 2000, 0, 1000},       {0, 3000, 1500000, 3, 3000},
    {1, 10, 4000, 0, 1503003}, {0, 1503000, 1200000, 8, 1507003}, {0, 5, 0, 4, 2707011},
    {0, 2703000, 100, 0, 2707015}, {1, 0, 16, 0, 2707115},
};

TEST_F(SampleDataWriterTest, SystemCopiesAndMemoryCopiesWriteTheSameBytes) {
    openSources(dir_.path());
    for (std::size_t minimum : {std::size_t{0}, SampleDataWriter::systemCopyMinimum}) {
        SCOPED_TRACE(minimum);
        ASSERT_EQ(write(mixedPieces, minimum), SampleDataWriter::Done);
        EXPECT_EQ(fixtures::readBytes(dir_ / "out"), expected(mixedPieces));
    }
}

TEST_F(SampleDataWriterTest, PadsRepeatTheLastByteWhereverTheSampleEnds) {
    openSources(dir_.path());
    const auto block = static_cast<std::int64_t>(SampleDataWriter::blockSize);
    const std::vector<Piece> pieces = {
        {0, 7, static_cast<std::uint32_t>(block - 100), 4, 100},  // ends on a block's end
        {0, 1, 2, 3, block + 4},                                   // pad and sample in one block
        {1, 3, 4, 5, 2 * block - 6},                               // pad across a block's end
        {0, 0, 0, 4, 2 * block + 3},                               // nothing but pad
        {0, 5000, 1100000, 2, 2 * block + 7},                      // a long range, then its pad
        {0, 1105000, 10, 6, 2 * block + 1100009},                  // joined in its source across a pad
    };
    for (std::size_t minimum : {std::size_t{0}, SampleDataWriter::systemCopyMinimum, std::size_t{1} << 40}) {
        SCOPED_TRACE(minimum);
        ASSERT_EQ(write(pieces, minimum), SampleDataWriter::Done);
        EXPECT_EQ(fixtures::readBytes(dir_ / "out"), expected(pieces));
    }
}

TEST_F(SampleDataWriterTest, ASourceOnAnotherFileSystemIsCopiedThroughMemory) {
    // /dev/shm is a file system of its own on most machines.
    std::error_code ec;
    struct stat here {}, there {};
    if (!std::filesystem::is_directory("/dev/shm", ec) || ::stat(dir_.path().c_str(), &here) != 0 ||
        ::stat("/dev/shm", &there) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second file system";
    const std::string folder = "/dev/shm/calyx-writer-" + std::to_string(::getpid());
    fixtures::makeDirs(folder);
    openSources(folder);
    const auto result = write(mixedPieces, 0);
    std::filesystem::remove_all(folder, ec);
    ASSERT_EQ(result, SampleDataWriter::Done);
    EXPECT_EQ(fixtures::readBytes(dir_ / "out"), expected(mixedPieces));
}

TEST_F(SampleDataWriterTest, ASourceThatEndsEarlyIsAReadFailure) {
    openSources(dir_.path());
    for (std::size_t minimum : {std::size_t{0}, SampleDataWriter::systemCopyMinimum}) {
        SCOPED_TRACE(minimum);
        // The source is cut after the pieces were checked against its length.
        EXPECT_EQ(write({{1, 4000, 2000, 0, 0}}, minimum), SampleDataWriter::ReadFailed);
        EXPECT_EQ(write({{1, 4000, 1000, 2, 0}, {1, 5000, 50, 0, 1002}}, minimum), SampleDataWriter::ReadFailed);
    }
}

TEST_F(SampleDataWriterTest, AFullDiskIsAWriteFailure) {
    openSources(dir_.path());
    for (std::size_t minimum : {std::size_t{0}, SampleDataWriter::systemCopyMinimum}) {
        SCOPED_TRACE(minimum);
        fixtures::FileSizeLimit full(100000);
        EXPECT_EQ(write({{0, 0, 2 << 20, 0, 0}}, minimum), SampleDataWriter::WriteFailed);
        EXPECT_EQ(write({{0, 0, 1000, 0, 0}, {0, 0, 10, 3, 200000}}, minimum), SampleDataWriter::WriteFailed);
    }
}

// The system's file, noting where each write went and how long it was.
class WriteLog : public platform::File {
public:
    std::vector<std::pair<std::int64_t, std::size_t>> writes;
    std::ptrdiff_t writeAt(const void* data, std::size_t length, std::int64_t offset) override {
        writes.emplace_back(offset, length);
        return File::writeAt(data, length, offset);
    }
};

TEST_F(SampleDataWriterTest, BlocksAreWrittenWholeBetweenMultiplesOfTheirSize) {
    openSources(dir_.path());
    // The mixed pieces 5,000 bytes into the new file, after its header.
    constexpr std::int64_t headerLength = 5000;
    std::vector<Piece> pieces = mixedPieces;
    for (Piece& p : pieces) p.at += headerLength;
    auto log = std::make_unique<WriteLog>();
    WriteLog& file = *log;
    BankStream out(std::move(log));
    ASSERT_TRUE(openIn(out, "out", true));
    // Every range through memory.
    ASSERT_EQ(writeInto(out, pieces, std::size_t{1} << 40), SampleDataWriter::Done);
    out.close();
    const auto block = static_cast<std::int64_t>(SampleDataWriter::blockSize);
    const std::int64_t end = pieces.back().at + pieces.back().length;
    ASSERT_FALSE(file.writes.empty());
    EXPECT_EQ(file.writes.front(), std::make_pair(headerLength, static_cast<std::size_t>(block - headerLength)));
    for (std::size_t i = 1; i + 1 < file.writes.size(); ++i)
        EXPECT_EQ(file.writes[i], std::make_pair(static_cast<std::int64_t>(i) * block, SampleDataWriter::blockSize));
    EXPECT_EQ(file.writes.size(), static_cast<std::size_t>(end / block + 1));
    EXPECT_EQ(file.writes.back().first + static_cast<std::int64_t>(file.writes.back().second), end);
    Bytes written = fixtures::readBytes(dir_ / "out");
    written.erase(written.begin(), written.begin() + headerLength);
    for (Piece& p : pieces) p.at -= headerLength;
    EXPECT_EQ(written, expected(pieces));
}

// The system's file, noting each read: where, and into how many buffers.
class ReadLog : public platform::File {
public:
    struct Read {
        std::int64_t offset;
        std::size_t length, buffers;
        bool operator==(const Read&) const = default;
    };
    std::vector<Read> reads;
    std::ptrdiff_t readAt(void* buffer, std::size_t length, std::int64_t offset) override {
        reads.push_back({offset, length, 1});
        return File::readAt(buffer, length, offset);
    }
    std::ptrdiff_t readScatteredAt(const Scatter* buffers, std::size_t count, std::int64_t offset) override {
        std::size_t length = 0;
        for (std::size_t i = 0; i < count; ++i) length += buffers[i].length;
        reads.push_back({offset, length, count});
        return File::readScatteredAt(buffers, count, offset);
    }
};

TEST_F(SampleDataWriterTest, SamplesNearEachOtherInTheirSourceComeInOneRead) {
    openSources(dir_.path());
    auto log = std::make_unique<ReadLog>();
    ReadLog& file = *log;
    BankStream source(std::move(log));
    ASSERT_TRUE(openIn(source, "source0", false));
    // Samples one after the other in the source with pads between them in
    // the new file, one a little further on, then one too far for a read.
    const std::vector<Piece> pieces = {{0, 1000, 998, 2, 0},
                                       {0, 1998, 3000, 0, 1000},
                                       {0, 5098, 61, 3, 4000},
                                       {0, 5159, 10, 0, 4064},
                                       {0, 20000, 10, 0, 4074}};
    ASSERT_TRUE(openIn(out_, "out", true));
    ASSERT_EQ(writeInto(out_, pieces, std::size_t{1} << 40, &source), SampleDataWriter::Done);
    out_.close();
    EXPECT_EQ(file.reads, (std::vector<ReadLog::Read>{{1000, 4169, 5}, {20000, 10, 1}}));
    EXPECT_EQ(fixtures::readBytes(dir_ / "out"), expected(pieces));
}

// The system's file, noting each request to start writing back and how long
// the file was then.
class WriteBackLog : public platform::File {
public:
    std::vector<std::int64_t> lengthsAtRequests;
    void startWriteBack() override {
        lengthsAtRequests.push_back(length());
        File::startWriteBack();
    }
};

TEST_F(SampleDataWriterTest, TheDiskStartsWritingBackEveryStepOfTheCopy) {
    openSources(dir_.path());
    // Seven copies of the large source, each with a pad: 21 MiB and a little.
    std::vector<Piece> pieces;
    for (std::int64_t i = 0, at = 0; i < 7; ++i, at += (3 << 20) + 1) pieces.push_back({0, 0, 3 << 20, 1, at});
    for (std::size_t minimum : {std::size_t{0}, SampleDataWriter::blockSize, SampleDataWriter::systemCopyMinimum}) {
        SCOPED_TRACE(minimum);
        auto log = std::make_unique<WriteBackLog>();
        WriteBackLog& requests = *log;
        BankStream out(std::move(log));
        ASSERT_TRUE(openIn(out, "out", true));
        ASSERT_EQ(writeInto(out, pieces, minimum), SampleDataWriter::Done);
        out.close();
        // One request per full step, each once its step is in the file.
        const std::int64_t written = pieces.back().at + (3 << 20) + 1;
        const auto steps = static_cast<std::size_t>(written / SampleDataWriter::writeBackStep);
        ASSERT_EQ(requests.lengthsAtRequests.size(), steps);
        for (std::size_t i = 0; i < steps; ++i)
            EXPECT_GE(requests.lengthsAtRequests[i], static_cast<std::int64_t>(i + 1) * SampleDataWriter::writeBackStep);
        EXPECT_EQ(fixtures::readBytes(dir_ / "out"), expected(pieces));
    }
}

}  // namespace
}  // namespace calyx
