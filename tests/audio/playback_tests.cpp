#include "audio/playback.h"

#include <gtest/gtest.h>

#include "audio/recording_wave_out.h"
#include "audio/wave_device_owner.h"
#include "bank/sound_resource.h"

namespace calyx::audio {
namespace {

using Names = std::vector<std::string>;

TEST(VolumeWord, IsTheVolumeTimes512OnBothChannels) {
    EXPECT_EQ(volumeWord(0), 0u);
    EXPECT_EQ(volumeWord(1), 0x02000200u);
    EXPECT_EQ(volumeWord(64), 0x80008000u);
    EXPECT_EQ(volumeWord(127), 0xFE00FE00u);
    // Off the scale: its nearest end, never a wrapped word.
    EXPECT_EQ(volumeWord(128), 0xFE00FE00u);
    EXPECT_EQ(volumeWord(-3), 0u);
}

class PlaybackTest : public ::testing::Test {
protected:
    PlaybackTest()
        : owner([this](int id, const char* text) { messages.emplace_back(id, text); },
                [this] { return std::make_unique<RecordingWaveOut>(log); }),
          link(owner.makeLink()) {}

    std::shared_ptr<DeviceLog> log = std::make_shared<DeviceLog>();
    std::vector<std::pair<int, std::string>> messages;
    WaveDeviceOwner owner;
    WaveDeviceLink link;
    PlayHeader header;
    const std::uint8_t samples[6] = {1, 2, 3, 4, 5, 6};
};

TEST_F(PlaybackTest, PlayPreparesSetsTheVolumeAndWritesOnceTheDeviceIsOpen) {
    header.user = 99;
    header.bytesRecorded = 7;
    EXPECT_EQ(playSample(&link, false, header, samples, 6, volumeWord(5)), 1);
    EXPECT_EQ(log->names(), (Names{"open", "prepare", "setVolume", "write"}));
    EXPECT_EQ(log->calls[0].format, editorFormat);
    const PlayHeader& seen = log->calls[1].headerSeen;
    EXPECT_EQ(log->calls[1].header, &header);
    EXPECT_EQ(seen.data, samples);
    EXPECT_EQ(seen.bufferLength, 6u);
    EXPECT_EQ(seen.bytesRecorded, 0u);
    EXPECT_EQ(seen.user, 0u);
    EXPECT_EQ(seen.flags, 0u);
    EXPECT_EQ(seen.loops, 0u);
    EXPECT_EQ(log->calls[2].volumeWord, volumeWord(5));
    EXPECT_EQ(log->calls[3].header, &header);

    log->clear();
    EXPECT_EQ(stopSample(&link, header), 1);
    EXPECT_EQ(log->names(), (Names{"reset", "unprepare"}));
    EXPECT_EQ(log->calls[1].header, &header);
    EXPECT_EQ(log->devicesMade, 1);  // the device stays open between requests
    EXPECT_TRUE(messages.empty());
}

TEST_F(PlaybackTest, ALoopingResourceLoopsItsBufferUntilStopped) {
    EXPECT_EQ(playSample(&link, true, header, samples, 6, volumeWord(127)), 1);
    const PlayHeader& seen = log->calls[1].headerSeen;
    EXPECT_EQ(seen.flags, header_flag::beginLoop | header_flag::endLoop);
    EXPECT_EQ(seen.loops, 32767u);

    // Played again without looping, the header carries no loop.
    EXPECT_EQ(stopSample(&link, header), 1);
    log->clear();
    playSample(&link, false, header, samples, 6, 0);
    EXPECT_EQ(log->calls[0].headerSeen.flags, 0u);
    EXPECT_EQ(log->calls[0].headerSeen.loops, 0u);
}

TEST_F(PlaybackTest, TheResourceDecidesLinkAndLooping) {
    bank::SoundResource resource;
    resource.record().setWord(bank::ResourceRecord::kindAt, 1);
    resource.record().setWord(bank::ResourceRecord::loopingAt, 1);
    resource.setOwner(&link);
    EXPECT_EQ(playSample(resource, header, samples, 6, volumeWord(1)), 1);
    EXPECT_EQ(log->calls[1].headerSeen.loops, endlessLoops);
    EXPECT_EQ(stopSample(resource, header), 1);

    bank::SoundResource unlinked;
    log->clear();
    EXPECT_EQ(playSample(unlinked, header, samples, 6, 0), 1);
    EXPECT_EQ(stopSample(unlinked, header), 0);
    EXPECT_TRUE(log->calls.empty());
}

TEST_F(PlaybackTest, AFailedResetIsReportedAndTheHeaderStillTakenBack) {
    playSample(&link, false, header, samples, 6, 0);
    log->resetResult = DeviceResult::Error;
    log->clear();
    EXPECT_EQ(stopSample(&link, header), 0);
    EXPECT_EQ(log->names(), (Names{"reset", "unprepare"}));
}

TEST_F(PlaybackTest, WithoutADeviceEveryRequestTriesAgainAndSaysSo) {
    log->openResult = DeviceResult::NoDevice;
    EXPECT_EQ(owner.openWaveDevice(), 0);  // at start-up
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, 140);
    EXPECT_EQ(messages[0].second, "impossible d'initialiser le driver son");
    EXPECT_EQ(owner.waveHandle(), nullptr);

    // A second test: stopping the first, then playing, each try once.
    EXPECT_EQ(stopSample(&link, header), 0);
    EXPECT_EQ(playSample(&link, false, header, samples, 6, volumeWord(3)), 1);
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(log->names(), (Names{"open", "open", "open"}));

    // The sound card comes back: the next request opens it and plays.
    log->openResult = DeviceResult::Ok;
    log->clear();
    EXPECT_EQ(playSample(&link, false, header, samples, 6, volumeWord(3)), 1);
    EXPECT_EQ(log->names(), (Names{"open", "prepare", "setVolume", "write"}));
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_NE(owner.waveHandle(), nullptr);
}

TEST_F(PlaybackTest, OnlyTheDeviceRequestIsAnsweredAndOnlyThroughAFullLink) {
    WaveHandle handle = nullptr;
    EXPECT_EQ(sendWaveRequest(&link, 2, handle), 0);
    EXPECT_EQ(handle, nullptr);
    EXPECT_TRUE(log->calls.empty());  // an unknown request opens nothing
    EXPECT_EQ(sendWaveRequest(&link, requestDevice, handle), 1);
    EXPECT_EQ(handle, owner.waveHandle());

    WaveDeviceLink empty;
    WaveDeviceLink noHandler{&owner, nullptr};
    for (const WaveDeviceLink* broken : {&empty, &noHandler, static_cast<WaveDeviceLink*>(nullptr)}) {
        log->clear();
        EXPECT_EQ(sendWaveRequest(broken, requestDevice, handle), 0);
        EXPECT_EQ(handle, nullptr);
        EXPECT_EQ(playSample(broken, false, header, samples, 6, 0), 1);
        EXPECT_EQ(stopSample(broken, header), 0);
        EXPECT_TRUE(log->calls.empty());
    }
}

}  // namespace
}  // namespace calyx::audio
