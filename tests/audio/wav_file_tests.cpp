#include "audio/wav_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"

namespace calyx::audio {
namespace {

using fixtures::Bytes;
using fixtures::PcmFormat;
using fixtures::WavBuilder;

const Bytes testSamples = fixtures::pcm16({100, -200, 300, -400, 32767, -32768});

struct Opened {
    WavResult result = WavResult::CannotOpen;
    WaveFormat format;
    std::uint32_t dataLength = 0;
};

class WavFileTest : public ::testing::Test {
protected:
    std::string put(const Bytes& bytes, const std::string& name = "in.wav") {
        const std::string path = dir / name;
        fixtures::writeBytes(path, bytes);
        return path;
    }
    Opened openBytes(const Bytes& bytes) {
        Opened o;
        o.result = file.openWav(put(bytes), o.format, o.dataLength);
        return o;
    }
    bool isOpen() const {
        return (file.state() & (bank::BankStream::openForReading | bank::BankStream::openForWriting)) != 0;
    }

    fixtures::TempDir dir;
    WavFile file;
};

TEST_F(WavFileTest, WalksPastForeignAndOddChunksToTheSamples) {
    const Bytes wav = WavBuilder()
                          .chunk("LIST", {'I', 'N', 'F', 'O', 'x'})  // odd: one pad byte
                          .format()
                          .chunk("fact", {1, 2, 3})
                          .data(testSamples)
                          .bytes();
    const Opened o = openBytes(wav);
    ASSERT_EQ(o.result, WavResult::Ok);
    EXPECT_EQ(o.format, editorFormat);
    EXPECT_EQ(o.dataLength, testSamples.size());
    EXPECT_EQ(file.remainingBytes(), static_cast<std::int64_t>(testSamples.size()));
    Bytes read(testSamples.size());
    ASSERT_EQ(file.readData(static_cast<std::uint32_t>(read.size()), read.data()), 1);
    EXPECT_EQ(read, testSamples);
    EXPECT_EQ(file.readData(1, read.data()), 0);  // nothing after the samples
    file.closeWav();
    EXPECT_FALSE(isOpen());
}

TEST_F(WavFileTest, LongerFormatBlocksAreSkippedWithTheirPad) {
    // 18 bytes (a trailing size word) and 17 bytes (odd, padded).
    for (const Bytes& extra : {Bytes{0, 0}, Bytes{7}}) {
        const Opened o = openBytes(WavBuilder().format({}, extra).data(testSamples).bytes());
        ASSERT_EQ(o.result, WavResult::Ok) << extra.size();
        EXPECT_EQ(o.format, editorFormat);
        EXPECT_EQ(o.dataLength, testSamples.size());
        Bytes read(testSamples.size());
        ASSERT_EQ(file.readData(static_cast<std::uint32_t>(read.size()), read.data()), 1);
        EXPECT_EQ(read, testSamples);
    }
}

TEST_F(WavFileTest, OnlyPcmMono22050Hz16BitIsAccepted) {
    PcmFormat compressed;
    compressed.formatTag = 3;
    EXPECT_EQ(openBytes(fixtures::simpleWav(testSamples, compressed)).result, WavResult::NotSupported);
    EXPECT_FALSE(isOpen());

    PcmFormat stereo, eightBit, fast, slightlyOff;
    stereo.channels = 2;
    eightBit.bitsPerSample = 8;
    fast.samplesPerSec = 44100;
    slightlyOff.samplesPerSec = 22051;
    for (const PcmFormat& f : {stereo, eightBit, fast, slightlyOff}) {
        const Opened o = openBytes(fixtures::simpleWav(testSamples, f));
        ASSERT_EQ(o.result, WavResult::Ok);  // refused by the rule, not by the reader
        EXPECT_FALSE(isAcceptedFormat(o.format));
        file.closeWav();
    }

    PcmFormat sloppy;  // byte rate and block size are not looked at
    sloppy.avgBytesPerSec = 0;
    sloppy.blockAlign = 7;
    const Opened o = openBytes(fixtures::simpleWav(testSamples, sloppy));
    ASSERT_EQ(o.result, WavResult::Ok);
    EXPECT_TRUE(isAcceptedFormat(o.format));
    EXPECT_TRUE(isAcceptedFormat(editorFormat));
}

TEST_F(WavFileTest, OtherFilesAreNotSupportedOrUnreadable) {
    EXPECT_EQ(openBytes(WavBuilder().riffId("RIFX").format().data(testSamples).bytes()).result,
              WavResult::NotSupported);
    EXPECT_EQ(openBytes(WavBuilder().formId("AVI ").format().data(testSamples).bytes()).result,
              WavResult::NotSupported);
    // A 14-byte format block has no sample size.
    EXPECT_EQ(openBytes(WavBuilder().chunkClaiming("fmt ", 14, Bytes(16, 1)).data(testSamples).bytes()).result,
              WavResult::NotSupported);
    // No data chunk: the walk ends on the RIFF length, or on the end of
    // the file when that length lies.
    EXPECT_EQ(openBytes(WavBuilder().format().chunk("fact", {1, 2, 3, 4}).bytes()).result,
              WavResult::NotSupported);
    EXPECT_EQ(openBytes(WavBuilder().format().chunk("fact", {1, 2, 3, 4}).riffLength(1000).bytes()).result,
              WavResult::ReadFailed);
    EXPECT_EQ(openBytes({}).result, WavResult::ReadFailed);
    EXPECT_FALSE(isOpen());

    Opened o;
    EXPECT_EQ(file.openWav(dir / "missing.wav", o.format, o.dataLength), WavResult::CannotOpen);
    EXPECT_EQ(file.openWav(dir.path(), o.format, o.dataLength), WavResult::CannotOpen);
    EXPECT_FALSE(isOpen());
}

TEST_F(WavFileTest, ATruncatedFileNeverOpensAsComplete) {
    const Bytes wav =
        WavBuilder().chunk("LIST", {1, 2, 3}).format({}, {0, 0}).chunk("fact", {9, 9, 9, 9}).data(testSamples).bytes();
    const std::size_t dataStart = wav.size() - testSamples.size();
    for (std::size_t cut = 0; cut < wav.size(); ++cut) {
        const Opened o = openBytes(Bytes(wav.begin(), wav.begin() + static_cast<std::ptrdiff_t>(cut)));
        if (cut < dataStart) {
            EXPECT_TRUE(o.result == WavResult::NotSupported || o.result == WavResult::ReadFailed)
                << "cut at " << cut << " gave " << static_cast<int>(o.result);
            EXPECT_FALSE(isOpen());
        } else {
            // The data chunk claims more than is there: reported as it
            // claims, and the caller sees how much the file really holds.
            ASSERT_EQ(o.result, WavResult::Ok) << cut;
            EXPECT_EQ(o.dataLength, testSamples.size());
            EXPECT_EQ(file.remainingBytes(), static_cast<std::int64_t>(cut - dataStart));
            Bytes read(testSamples.size());
            EXPECT_EQ(file.readData(o.dataLength, read.data()), 0);
            file.closeWav();
        }
    }
}

TEST_F(WavFileTest, TheRiffLengthBoundsTheWalk) {
    // Too short to reach the format block past a LIST chunk.
    EXPECT_EQ(openBytes(WavBuilder().chunk("LIST", {1, 2}).format().data(testSamples).riffLength(14).bytes()).result,
              WavResult::NotSupported);
    // Too short to reach the data past a fact chunk.
    EXPECT_EQ(openBytes(WavBuilder().format().chunk("fact", {1, 2, 3, 4}).data(testSamples).riffLength(40).bytes())
                  .result,
              WavResult::NotSupported);
    // Lengths that are not checked where no chunk is skipped, or that are
    // too large, do not matter.
    for (std::uint32_t length : {0u, 4u, 0xFFFFFFFFu}) {
        const Opened o = openBytes(WavBuilder().format().data(testSamples).riffLength(length).bytes());
        EXPECT_EQ(o.result, WavResult::Ok) << length;
        EXPECT_EQ(o.dataLength, testSamples.size());
    }
}

TEST_F(WavFileTest, AChunkClaimingMoreThanTheFileIsNotSupported) {
    EXPECT_EQ(openBytes(WavBuilder().chunkClaiming("LIST", 0xFFFFFFFF, {1, 2}).format().data(testSamples).bytes())
                  .result,
              WavResult::NotSupported);
    EXPECT_EQ(openBytes(WavBuilder().format({}, {}).chunkClaiming("fact", 0x7FFFFFFF, {}).bytes()).result,
              WavResult::NotSupported);
    EXPECT_EQ(openBytes(WavBuilder().chunkClaiming("fmt ", 0xFFFFFFFF, Bytes(16, 0)).bytes()).result,
              WavResult::NotSupported);
    const Opened huge = openBytes(WavBuilder().format().chunkClaiming("data", 0xFFFFFFF0, testSamples).bytes());
    ASSERT_EQ(huge.result, WavResult::Ok);
    EXPECT_EQ(huge.dataLength, 0xFFFFFFF0u);
    EXPECT_EQ(file.remainingBytes(), static_cast<std::int64_t>(testSamples.size()));
}

TEST_F(WavFileTest, LocatesTheFirstSampleByte) {
    const std::string path = put(WavBuilder().chunk("LIST", {1, 2, 3}).format({}, {0, 0}).data(testSamples).bytes());
    std::int64_t offset = -1, length = -1;
    std::uint32_t dataLength = 0;
    WaveFormat format;
    ASSERT_EQ(locateWavData(path, offset, dataLength, &format, &length), WavResult::Ok);
    EXPECT_EQ(offset, 12 + (8 + 4) + (8 + 18) + 8);
    EXPECT_EQ(dataLength, testSamples.size());
    EXPECT_EQ(format, editorFormat);
    EXPECT_EQ(length, offset + static_cast<std::int64_t>(testSamples.size()));
    EXPECT_EQ(locateWavData(dir / "none.wav", offset, dataLength), WavResult::CannotOpen);
}

TEST_F(WavFileTest, WritesTheCanonicalHeaderAndTheBytesUnchanged) {
    const Bytes odd = {1, 2, 3, 4, 5};  // no pad byte follows
    WaveFormat format = editorFormat;
    format.formatTag = 0xFFFE;
    format.extraSize = 22;
    format.samplesPerSec = 11025;
    const std::string path = dir / "out.wav";
    fixtures::writeFile(path, std::string(500, 'x'));  // overwritten without a question
    ASSERT_EQ(file.writeWav(path, format, static_cast<std::uint32_t>(odd.size()), odd.data()), WavResult::Ok);
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(format.extraSize, 0);

    const Bytes written = fixtures::readBytes(path);
    Bytes expected = {'R', 'I', 'F', 'F'};
    fixtures::appendU32(expected, 36 + 5);
    for (char c : std::string("WAVEfmt ")) expected.push_back(static_cast<std::uint8_t>(c));
    fixtures::appendU32(expected, 16);
    fixtures::appendU16(expected, 1);
    fixtures::appendU16(expected, 1);
    fixtures::appendU32(expected, 11025);
    fixtures::appendU32(expected, 44100);
    fixtures::appendU16(expected, 2);
    fixtures::appendU16(expected, 16);
    for (char c : std::string("data")) expected.push_back(static_cast<std::uint8_t>(c));
    fixtures::appendU32(expected, 5);
    expected.insert(expected.end(), odd.begin(), odd.end());
    EXPECT_EQ(written, expected);

    // An empty sample is a bare header; what we write reads back.
    WavFile writer, reader;
    WaveFormat own = editorFormat;
    ASSERT_EQ(writer.writeWav(path, own, 0, nullptr), WavResult::Ok);
    EXPECT_EQ(fixtures::readBytes(path).size(), wavHeaderSize);
    Opened o;
    ASSERT_EQ(reader.openWav(path, o.format, o.dataLength), WavResult::Ok);
    EXPECT_EQ(o.format, editorFormat);
    EXPECT_EQ(o.dataLength, 0u);
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A disk that takes a limited number of bytes.
class FullDisk : public platform::File {
public:
    explicit FullDisk(std::size_t room) : room_(room) {}
    std::ptrdiff_t write(const void* data, std::size_t length) override {
        const std::size_t taken = std::min(length, room_);
        room_ -= taken;
        if (taken == 0) return -1;
        return File::write(data, taken);
    }

private:
    std::size_t room_;
};

TEST_F(WavFileTest, AFailedWriteLeavesTheOldFileAlone) {
    const std::string path = dir / "keep.wav";
    fixtures::writeFile(path, "old contents");
    for (std::size_t room : {std::size_t{0}, std::size_t{20}, std::size_t{44}, std::size_t{45}}) {
        WavFile writer(std::make_unique<FullDisk>(room));
        WaveFormat format = editorFormat;
        EXPECT_EQ(writer.writeWav(path, format, static_cast<std::uint32_t>(testSamples.size()), testSamples.data()),
                  WavResult::WriteFailed)
            << room;
        EXPECT_EQ(fixtures::readFile(path), "old contents");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

// A folder that takes no new file.
class FullFolder : public platform::File {
public:
    bool open(std::string_view path, Mode mode) override {
        return mode != Mode::CreateExclusive && File::open(path, mode);
    }
};

TEST_F(WavFileTest, AFolderThatTakesNoNewFileStillLetsAFileBeRewritten) {
    const std::string path = dir / "there.wav";
    fixtures::writeFile(path, std::string(100, 'x'));
    WaveFormat format = editorFormat;
    WavFile inPlace(std::make_unique<FullFolder>());
    ASSERT_EQ(inPlace.writeWav(path, format, static_cast<std::uint32_t>(testSamples.size()), testSamples.data()),
              WavResult::Ok);
    EXPECT_EQ(fixtures::readBytes(path), fixtures::simpleWav(testSamples));
    WavFile nothing(std::make_unique<FullFolder>());
    EXPECT_EQ(nothing.writeWav(dir / "new.wav", format, 2, testSamples.data()), WavResult::CannotOpen);
    EXPECT_FALSE(std::filesystem::exists(dir / "new.wav"));
}

TEST_F(WavFileTest, AFileThatCannotBeCreatedIsReported) {
    WaveFormat format = editorFormat;
    EXPECT_EQ(file.writeWav(dir / "no/such/folder.wav", format, 2, testSamples.data()), WavResult::CannotOpen);
    EXPECT_EQ(file.writeWav(dir.path(), format, 2, testSamples.data()), WavResult::CannotOpen);
    if (::geteuid() != 0) {  // permissions do not bind the superuser
        const std::string locked = dir / "locked.wav";
        fixtures::writeFile(locked, "mine");
        ::chmod(locked.c_str(), 0444);
        EXPECT_EQ(file.writeWav(locked, format, 2, testSamples.data()), WavResult::CannotOpen);
        EXPECT_EQ(fixtures::readFile(locked), "mine");
    }
}

}  // namespace
}  // namespace calyx::audio
