// The SDL device, heard through SDL's disk driver: it writes what it plays
// to a file in real time, so we find there exactly what the device played.
#include "audio/sdl_wave_out.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "audio/playback.h"
#include "audio/sdl_library_posix.h"
#include "audio/wave_device_owner.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"

namespace calyx::audio {
namespace {

using namespace std::chrono_literals;

// A pattern with no zero sample, so silence and sound never mix up.
std::vector<std::int16_t> pattern(std::size_t count) {
    std::vector<std::int16_t> out(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int magnitude = 1000 + static_cast<int>((i * 7919) % 30000);
        out[i] = static_cast<std::int16_t>(i % 2 ? -magnitude : magnitude);
    }
    return out;
}

std::vector<std::int16_t> samplesOf(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::int16_t> out(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8));
    return out;
}

bool near(int a, int b) { return a - b <= 1 && b - a <= 1; }

class DiskDeviceTest : public ::testing::Test {
protected:
    // The recording, once the device is closed and the file complete.
    std::vector<std::int16_t> recording() {
        device.close();
        return samplesOf(fixtures::readBytes(recordPath));
    }
    template <class Condition>
    static bool waitFor(Condition done, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(5ms);
        }
        return true;
    }

    fixtures::TempDir dir;
    std::string recordPath = dir / "played.raw";
    fixtures::ScopedEnv driver{"SDL_AUDIODRIVER", "disk"};
    fixtures::ScopedEnv file{"SDL_DISKAUDIOFILE", recordPath};
    SdlWaveOut device;
};

TEST_F(DiskDeviceTest, PlaysTheSampleOnceScaledByTheVolume) {
    ASSERT_EQ(device.open(editorFormat), DeviceResult::Ok);
    const std::vector<std::int16_t> sound = pattern(2205);  // 0.1 s
    std::vector<std::uint8_t> bytes = fixtures::pcm16(sound);
    bytes.push_back(0x7F);  // an odd last byte is not a sample

    PlayHeader header;
    header.data = bytes.data();
    header.bufferLength = static_cast<std::uint32_t>(bytes.size());
    EXPECT_EQ(device.write(header), DeviceResult::Unprepared);
    ASSERT_EQ(device.prepare(header), DeviceResult::Ok);
    ASSERT_EQ(device.setVolume(volumeWord(64)), DeviceResult::Ok);
    ASSERT_EQ(device.write(header), DeviceResult::Ok);
    EXPECT_TRUE(device.isPlaying());
    EXPECT_EQ(device.unprepare(header), DeviceResult::StillPlaying);
    ASSERT_TRUE(waitFor([&] { return !device.isPlaying(); }, 2s));
    EXPECT_EQ(device.unprepare(header), DeviceResult::Ok);
    EXPECT_EQ(header.flags & (header_flag::prepared | header_flag::inQueue), 0u);
    EXPECT_NE(header.flags & header_flag::done, 0u);
    std::this_thread::sleep_for(100ms);

    const std::vector<std::int16_t> played = recording();
    const auto start = std::find_if(played.begin(), played.end(), [](std::int16_t s) { return s != 0; });
    ASSERT_GE(played.end() - start, static_cast<std::ptrdiff_t>(sound.size()));
    const double scale = 64.0 * 512.0 / 65535.0;
    for (std::size_t i = 0; i < sound.size(); ++i)
        ASSERT_TRUE(near(start[static_cast<std::ptrdiff_t>(i)], static_cast<int>(sound[i] * scale)))
            << "sample " << i << ": " << start[static_cast<std::ptrdiff_t>(i)] << " for " << sound[i];
    EXPECT_TRUE(std::all_of(start + static_cast<std::ptrdiff_t>(sound.size()), played.end(),
                            [](std::int16_t s) { return s == 0; }));
}

TEST_F(DiskDeviceTest, ALoopingSoundPlaysUntilStoppedAndAStopSilencesAtOnce) {
    WaveDeviceOwner owner([](int, const char*) { FAIL() << "no message expected"; });
    const WaveDeviceLink link = owner.makeLink();
    ASSERT_EQ(owner.openWaveDevice(), 1);
    const std::vector<std::int16_t> sound = pattern(441);  // 20 ms
    auto bytes = std::make_unique<std::vector<std::uint8_t>>(fixtures::pcm16(sound));
    PlayHeader header;
    playSample(&link, true, header, bytes->data(), static_cast<std::uint32_t>(bytes->size()), volumeWord(127));
    std::this_thread::sleep_for(400ms);
    EXPECT_TRUE(owner.waveHandle()->isPlaying());
    EXPECT_EQ(stopSample(&link, header), 1);
    EXPECT_FALSE(owner.waveHandle()->isPlaying());
    bytes.reset();  // handed back: the device must not read it any more
    std::this_thread::sleep_for(300ms);
    owner.waveHandle()->close();

    const std::vector<std::int16_t> played = samplesOf(fixtures::readBytes(recordPath));
    const auto start = std::find_if(played.begin(), played.end(), [](std::int16_t s) { return s != 0; });
    const double scale = 127.0 * 512.0 / 65535.0;
    std::size_t heard = 0;
    while (start + static_cast<std::ptrdiff_t>(heard) != played.end() &&
           near(start[static_cast<std::ptrdiff_t>(heard)], static_cast<int>(sound[heard % sound.size()] * scale)))
        ++heard;
    // About 20 rounds in 400 ms, with room for a slow machine.
    EXPECT_GE(heard / sound.size(), 8u);
    const auto rest = start + static_cast<std::ptrdiff_t>(heard);
    EXPECT_TRUE(std::all_of(rest, played.end(), [](std::int16_t s) { return s == 0; }));
    // A sound that went on would leave no silence at the end.
    EXPECT_GE(played.end() - rest, 1024);
}

TEST(SdlWaveOut, WithoutAUsableDriverTheOpenFailsCleanly) {
    fixtures::ScopedEnv driver("SDL_AUDIODRIVER", "nonexistent");
    SdlWaveOut device;
    EXPECT_NE(device.open(editorFormat), DeviceResult::Ok);
    PlayHeader header;
    EXPECT_EQ(device.prepare(header), DeviceResult::NotOpen);
    EXPECT_EQ(device.write(header), DeviceResult::NotOpen);
    EXPECT_EQ(device.reset(), DeviceResult::NotOpen);
    EXPECT_FALSE(device.isPlaying());

    int shown = 0;
    WaveDeviceOwner owner([&](int id, const char*) { shown += id == driverMessageId; });
    EXPECT_EQ(owner.openWaveDevice(), 0);
    EXPECT_EQ(shown, 1);
}

TEST(SdlWaveOut, WithoutTheSoundLibraryTheOpenFailsCleanly) {
    EXPECT_EQ(SdlLibrary::load("libcalyx-no-such-sound-library.so.0"), nullptr);
    // A library that lacks a function the device calls counts as missing.
    EXPECT_EQ(SdlLibrary::load("libc.so.6"), nullptr);

    SdlWaveOut device([]() -> const SdlLibrary* { return nullptr; });
    EXPECT_EQ(device.open(editorFormat), DeviceResult::NoDevice);
    PlayHeader header;
    EXPECT_EQ(device.write(header), DeviceResult::NotOpen);
    EXPECT_FALSE(device.isPlaying());

    int shown = 0;
    WaveDeviceOwner owner([&](int id, const char*) { shown += id == driverMessageId; },
                          [] { return std::make_unique<SdlWaveOut>([]() -> const SdlLibrary* { return nullptr; }); });
    EXPECT_EQ(owner.openWaveDevice(), 0);
    EXPECT_EQ(shown, 1);
}

TEST(SdlWaveOut, RefusesAnyOtherFormat) {
    fixtures::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SdlWaveOut device;
    WaveFormat stereo = editorFormat;
    stereo.channels = 2;
    EXPECT_EQ(device.open(stereo), DeviceResult::BadFormat);
    EXPECT_EQ(device.open(editorFormat), DeviceResult::Ok);
}

}  // namespace
}  // namespace calyx::audio
