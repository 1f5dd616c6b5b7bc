// Converting WAV files of every uncompressed kind to 22050 Hz mono 16-bit.
#include "audio/wav_convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/wav_file.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"

namespace calyx::audio {
namespace {

using fixtures::Bytes;
using fixtures::PcmFormat;

bool haveSox() { return std::system("command -v sox >/dev/null 2>&1") == 0; }

// Makes a half-scale sine with sox; `format` gives the file's rate, channels and encoding.
void soxSine(const std::string& path, const std::string& format, double seconds, int hertz) {
    const std::string command = "sox -n " + format + " '" + path + "' synth " + std::to_string(seconds) +
                                " sine " + std::to_string(hertz) + " vol 0.5";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

struct Converted {
    WaveFormat format;
    std::vector<std::int16_t> samples;
};

Converted readConverted(const std::string& path) {
    Converted result;
    WavFile file;
    std::uint32_t length = 0;
    EXPECT_EQ(file.openWav(path, result.format, length), WavResult::Ok);
    Bytes bytes(length);
    EXPECT_EQ(file.readData(length, bytes.data()), 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        result.samples.push_back(static_cast<std::int16_t>(fixtures::u16At(bytes, i)));
    return result;
}

double rms(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (auto s : samples) sum += static_cast<double>(s) * s;
    return std::sqrt(sum / samples.size()) / 32768.0;
}

int zeroCrossings(const std::vector<std::int16_t>& samples) {
    int count = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) count += (samples[i - 1] < 0) != (samples[i] < 0);
    return count;
}

struct SoxCase {
    const char* name;
    const char* format;  // sox output options
    std::uint16_t channels;
    std::uint32_t rate;
    std::uint16_t bits;
    bool isFloat;
};

class SoxConversion : public ::testing::TestWithParam<SoxCase> {};

// A half-scale 440 Hz sine of 0.5 s keeps its length, loudness and pitch.
TEST_P(SoxConversion, ASineStaysTheSameSine) {
    if (!haveSox()) GTEST_SKIP() << "sox is not installed";
    const SoxCase& c = GetParam();
    fixtures::TempDir dir;
    const std::string in = dir / "in.wav", out = dir / "out.wav";
    soxSine(in, c.format, 0.5, 440);

    SampleFormat source;
    ASSERT_EQ(convertToEditorFormat(in, out, &source), ConvertResult::Ok);
    EXPECT_EQ(source.channels, c.channels);
    EXPECT_EQ(source.sampleRate, c.rate);
    EXPECT_EQ(source.bitsPerSample, c.bits);
    EXPECT_EQ(source.isFloat, c.isFloat);
    EXPECT_EQ(source.frames, c.rate / 2);

    const Converted converted = readConverted(out);
    EXPECT_EQ(converted.format, editorFormat);
    EXPECT_NEAR(static_cast<double>(converted.samples.size()), 11025.0, 1.0);
    const double expectedRms = 0.5 / std::sqrt(2.0);
    EXPECT_NEAR(rms(converted.samples), expectedRms, expectedRms * 0.03);
    EXPECT_NEAR(zeroCrossings(converted.samples), 440, 3);  // 220 cycles, two per cycle
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SoxConversion,
    ::testing::Values(SoxCase{"Stereo44k24bit", "-r 44100 -c 2 -b 24", 2, 44100, 24, false},
                      SoxCase{"Mono48kFloat", "-r 48000 -c 1 -e floating-point -b 32", 1, 48000, 32, true},
                      SoxCase{"FiveChannels96kDouble", "-r 96000 -c 5 -e floating-point -b 64", 5, 96000, 64, true},
                      SoxCase{"Mono11k8bit", "-r 11025 -c 1 -b 8 -e unsigned-integer", 1, 11025, 8, false},
                      SoxCase{"Stereo8k32bit", "-r 8000 -c 2 -b 32 -e signed-integer", 2, 8000, 32, false},
                      SoxCase{"Mono22k16bit", "-r 22050 -c 1 -b 16", 1, 22050, 16, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Extensible format block: 24 bytes of extension naming PCM or float.
Bytes extensibleFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint16_t subTag) {
    Bytes block;
    fixtures::appendU16(block, 0xFFFE);
    fixtures::appendU16(block, channels);
    fixtures::appendU32(block, rate);
    fixtures::appendU32(block, rate * channels * bits / 8);
    fixtures::appendU16(block, static_cast<std::uint16_t>(channels * bits / 8));
    fixtures::appendU16(block, bits);
    fixtures::appendU16(block, 22);
    fixtures::appendU16(block, bits);
    fixtures::appendU32(block, 0);
    fixtures::appendU16(block, subTag);
    for (int b : {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71})
        block.push_back(static_cast<std::uint8_t>(b));
    return block;
}

// At the editor's own rate nothing is resampled: 16-bit mono comes out
// byte for byte, and stereo as the average of its two channels.
TEST(WavConvert, AtTheEditorsRateSamplesAreOnlyMixedDown) {
    fixtures::TempDir dir;
    const std::vector<std::int16_t> mono{0, 1, -1, 32767, -32768, 1234, -4321, 7};
    fixtures::WavBuilder()
        .chunk("LIST", Bytes(7, 'x'))
        .chunk("fmt ", extensibleFormat(1, 22050, 16, 1))
        .chunk("fact", Bytes(4, 0))
        .data(fixtures::pcm16(mono))
        .writeTo(dir / "ext.wav");
    ASSERT_EQ(convertToEditorFormat(dir / "ext.wav", dir / "out.wav"), ConvertResult::Ok);
    EXPECT_EQ(readConverted(dir / "out.wav").samples, mono);

    PcmFormat stereo{1, 2, 22050, 88200, 4, 16};
    fixtures::WavBuilder().format(stereo).data(fixtures::pcm16({1000, 3000, -200, -100, 32767, 32767})).writeTo(dir / "st.wav");
    ASSERT_EQ(convertToEditorFormat(dir / "st.wav", dir / "out.wav"), ConvertResult::Ok);
    EXPECT_EQ(readConverted(dir / "out.wav").samples, (std::vector<std::int16_t>{2000, -150, 32767}));
}

// A file written to a pipe claims a placeholder length of 2 GiB or more: its
// data runs to the end of the file. Any other claim beyond the end is a
// file that ends early.
TEST(WavConvert, ADataChunkOfUnknownLengthRunsToTheEnd) {
    fixtures::TempDir dir;
    for (std::uint32_t claim : {0xFFFFFFFFu, 0x80000000u}) {
        fixtures::WavBuilder().format().chunkClaiming("data", claim, fixtures::pcm16({5, 6, 7})).writeTo(dir / "in.wav");
        SampleFormat format;
        ASSERT_EQ(readSampleFormat(dir / "in.wav", format), ConvertResult::Ok);
        EXPECT_EQ(format.frames, 3u);
        ASSERT_EQ(convertToEditorFormat(dir / "in.wav", dir / "out.wav"), ConvertResult::Ok);
        EXPECT_EQ(readConverted(dir / "out.wav").samples, (std::vector<std::int16_t>{5, 6, 7}));
    }
    fixtures::WavBuilder().format().chunkClaiming("data", 8, fixtures::pcm16({5, 6, 7})).writeTo(dir / "in.wav");
    EXPECT_EQ(convertToEditorFormat(dir / "in.wav", dir / "out.wav"), ConvertResult::ReadFailed);
}

// Float samples that are no numbers become silence; infinities and huge
// values clip to full scale instead of overflowing the 16-bit result.
TEST(WavConvert, FloatSamplesOutOfEveryRangeAreSilenceOrFullScale) {
    fixtures::TempDir dir;
    const std::vector<float> samples{std::nanf(""), INFINITY, -INFINITY, 0.5f, 1e30f, -3.0f};
    Bytes data;
    for (float f : samples) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        fixtures::appendU32(data, bits);
    }
    fixtures::WavBuilder().format({3, 1, 22050, 88200, 4, 32}).data(data).writeTo(dir / "in.wav");
    ASSERT_EQ(convertToEditorFormat(dir / "in.wav", dir / "out.wav"), ConvertResult::Ok);
    EXPECT_EQ(readConverted(dir / "out.wav").samples,
              (std::vector<std::int16_t>{0, 32767, -32768, 16384, 32767, -32768}));
}

TEST(WavConvert, RefusesWhatItCannotReadAndLeavesTheOutputAlone) {
    fixtures::TempDir dir;
    const std::string out = dir / "out.wav";
    fixtures::writeFile(out, "earlier");
    auto refused = [&](const Bytes& bytes) {
        fixtures::writeBytes(dir / "in.wav", bytes);
        return convertToEditorFormat(dir / "in.wav", out);
    };
    const Bytes samples = fixtures::pcm16({1, 2, 3, 4});
    // Compressed (ADPCM), a block size that disagrees, a 12-bit container,
    // an absurd rate, no data chunk, data before the format, not RIFF.
    EXPECT_EQ(refused(fixtures::simpleWav(samples, {2, 1, 22050, 44100, 2, 16})), ConvertResult::NotSupported);
    EXPECT_EQ(refused(fixtures::simpleWav(samples, {1, 2, 22050, 44100, 2, 16})), ConvertResult::NotSupported);
    EXPECT_EQ(refused(fixtures::simpleWav(samples, {1, 1, 22050, 44100, 2, 12})), ConvertResult::NotSupported);
    EXPECT_EQ(refused(fixtures::simpleWav(samples, {1, 1, 1, 2, 2, 16})), ConvertResult::NotSupported);
    EXPECT_EQ(refused(fixtures::WavBuilder().format().bytes()), ConvertResult::NotSupported);
    EXPECT_EQ(refused(fixtures::WavBuilder().data(samples).format().bytes()), ConvertResult::NotSupported);
    EXPECT_EQ(refused(fixtures::WavBuilder().riffId("RIFX").format().data(samples).bytes()),
              ConvertResult::NotSupported);
    // A chunk that claims to reach past the end of the file.
    EXPECT_EQ(refused(fixtures::WavBuilder().chunkClaiming("LIST", 1u << 30, {}).format().data(samples).bytes()),
              ConvertResult::NotSupported);
    // Extensible blocks of another sub-format.
    EXPECT_EQ(refused(fixtures::WavBuilder().chunk("fmt ", extensibleFormat(1, 22050, 16, 2)).data(samples).bytes()),
              ConvertResult::NotSupported);
    EXPECT_EQ(convertToEditorFormat(dir / "missing.wav", out), ConvertResult::CannotOpen);
    EXPECT_EQ(fixtures::readFile(out), "earlier");

    fixtures::writeBytes(dir / "in.wav", fixtures::simpleWav(samples));
    EXPECT_EQ(convertToEditorFormat(dir / "in.wav", dir / "no/such/folder/out.wav"), ConvertResult::WriteFailed);
}

TEST(WavConvert, DescribesFormats) {
    EXPECT_EQ(describeFormat({false, 2, 44100, 24, 0}), "44100 Hz, stereo, 24-bit integer");
    EXPECT_EQ(describeFormat({true, 1, 48000, 32, 0}), "48000 Hz, mono, 32-bit float");
    EXPECT_EQ(describeFormat({false, 6, 8000, 8, 0}), "8000 Hz, 6 channels, 8-bit integer");
}

}  // namespace
}  // namespace calyx::audio
