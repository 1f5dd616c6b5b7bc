// The preview's waveform: min/max columns of a known sample, and which
// bytes a resource's preview reads (the bank's, a pending WAV file's data
// chunk) with its size, duration and loop.
#include <gtest/gtest.h>

#include <filesystem>

#include "edit_test_support.h"
#include "editor/core/resource_edit_session.h"
#include "editor/core/sample_preview.h"
#include "editor/core/waveform_summary.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using test::Bytes;

// A ramp of 8 frames: -4, -3, ..., 3.
const Bytes ramp = fixtures::pcm16({-4, -3, -2, -1, 0, 1, 2, 3});

TEST(WaveformSummary, ColumnsHoldTheLowestAndHighestFrameOfTheirShare) {
    EXPECT_EQ(summarizeWaveform(ramp, 4),
              (std::vector<WaveColumn>{{-4, -3}, {-2, -1}, {0, 1}, {2, 3}}));
    // Shares of unequal length: frames 0-1, 2-4, 5-7.
    EXPECT_EQ(summarizeWaveform(ramp, 3), (std::vector<WaveColumn>{{-4, -3}, {-2, 0}, {1, 3}}));
    EXPECT_EQ(summarizeWaveform(ramp, 1), (std::vector<WaveColumn>{{-4, 3}}));
    // The full 16-bit range, little-endian, with the extremes inside a column.
    EXPECT_EQ(summarizeWaveform(fixtures::pcm16({5, -32768, 32767, 7}), 1),
              (std::vector<WaveColumn>{{-32768, 32767}}));
}

TEST(WaveformSummary, LongColumnsFindExtremesAnywhereInTheirShare) {
    // 1,000 frames in 3 columns (333, 333, 334 frames); one spike each, at
    // places that are not multiples of any block length.
    std::vector<std::int16_t> frames(1000, 0);
    frames[1] = -7;
    frames[400] = 12345;
    frames[999] = -32768;
    frames[998] = 5;
    EXPECT_EQ(summarizeWaveform(fixtures::pcm16(frames), 3),
              (std::vector<WaveColumn>{{-7, 0}, {0, 12345}, {-32768, 5}}));
}

TEST(WaveformSummary, FewFramesStretchAndPartialFramesAreNoFrames) {
    // Two frames over four columns: each column shows the frame under it.
    EXPECT_EQ(summarizeWaveform(fixtures::pcm16({-9, 9}), 4),
              (std::vector<WaveColumn>{{-9, -9}, {-9, -9}, {9, 9}, {9, 9}}));
    // A trailing odd byte is ignored; one byte alone is nothing.
    Bytes odd = fixtures::pcm16({100});
    odd.push_back(0x80);
    EXPECT_EQ(summarizeWaveform(odd, 2), (std::vector<WaveColumn>{{100, 100}, {100, 100}}));
    EXPECT_TRUE(summarizeWaveform(Bytes{0x12}, 10).empty());
    EXPECT_TRUE(summarizeWaveform(ramp, 0).empty());
}

class PreviewTest : public ::testing::Test {
protected:
    fixtures::TempDir dir;
    LinkTable links;
    GameStrings strings;

    std::unique_ptr<bank::SoundBank> open(std::vector<fixtures::ResourceSpec> resources) {
        fixtures::BankSpec spec;
        spec.resources = std::move(resources);
        return test::openBankFile(test::writeBank(dir, "Preview.bnm", spec));
    }
};

TEST_F(PreviewTest, AStoredSampleShowsItsOwnBytesSizeDurationAndLoop) {
    auto looping = test::sample(2, fixtures::pcm16(std::vector<std::int16_t>(22050, 1000)), "LOOP.WAV");
    looping.looping = true;
    looping.loopStart = 4410;
    looping.loopEnd = 44100;
    auto bank = open({test::sample(1, ramp, "RAMP.WAV"), looping});

    const SamplePreview first = previewResource(*bank->resourceAt(0), *bank, links, 2);
    EXPECT_EQ(first.kind, PreviewKind::Sample);
    EXPECT_EQ(first.error, WavError::None);
    EXPECT_EQ(first.size, 16u);
    EXPECT_FALSE(first.looping);
    EXPECT_EQ(first.columns, (std::vector<WaveColumn>{{-4, -1}, {0, 3}}));

    const SamplePreview second = previewResource(*bank->resourceAt(1), *bank, links, 3);
    EXPECT_DOUBLE_EQ(second.seconds, 1.0);
    EXPECT_TRUE(second.looping);
    EXPECT_EQ(second.loopStart, 4410u);
    EXPECT_EQ(second.loopEnd, 44100u);
    EXPECT_EQ(second.columns, (std::vector<WaveColumn>(3, {1000, 1000})));
}

TEST_F(PreviewTest, APendingWavShowsItsDataChunkAndCdTracksAndEmptySlotsNoWave) {
    fixtures::ResourceSpec cd;
    cd.id = 3;
    cd.kind = 3;
    fixtures::ResourceSpec empty;
    empty.id = 4;
    empty.kind = 0;
    auto bank = open({test::sample(1, ramp, "RAMP.WAV"), cd, empty});

    // A chunk before the data: only the data chunk's bytes are the sample.
    const std::string wav = dir / "new.wav";
    fixtures::WavBuilder()
        .format()
        .chunk("LIST", Bytes(10, 0x7f))
        .data(fixtures::pcm16({-200, 300, -100, 50}))
        .writeTo(wav);
    bank->resourceAt(0)->setReplacement(true, 8, wav);
    const SamplePreview replaced = previewResource(*bank->resourceAt(0), *bank, links, 2);
    EXPECT_EQ(replaced.size, 8u);
    EXPECT_EQ(replaced.columns, (std::vector<WaveColumn>{{-200, 300}, {-100, 50}}));

    // A pending file that has gone: no waveform, and the reason.
    std::filesystem::remove(wav);
    const SamplePreview gone = previewResource(*bank->resourceAt(0), *bank, links, 2);
    EXPECT_NE(gone.error, WavError::None);
    EXPECT_TRUE(gone.columns.empty());

    EXPECT_EQ(previewResource(*bank->resourceAt(1), *bank, links, 2).kind, PreviewKind::CdAudio);
    const SamplePreview slot = previewResource(*bank->resourceAt(2), *bank, links, 2);
    EXPECT_EQ(slot.kind, PreviewKind::EmptySlot);
    EXPECT_TRUE(slot.columns.empty());
}

}  // namespace
}  // namespace calyx::editor
