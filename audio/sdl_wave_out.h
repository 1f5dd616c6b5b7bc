// The wave-output device on SDL2: mono 16-bit PCM at 22050 Hz, buffers
// played in order from the audio callback, each sample scaled by the
// device volume. A device that cannot be opened (no sound library, no sound
// driver, no sound server) answers `DeviceResult::NoDevice`.
#pragma once

#include <deque>

#include "audio/wave_out_device.h"

namespace calyx::audio {

struct SdlLibrary;

class SdlWaveOut : public WaveOutDevice {
public:
    // Gives the loaded SDL, or nothing when there is none; asked at each open.
    using LibraryLoader = const SdlLibrary* (*)();

    explicit SdlWaveOut(LibraryLoader loadLibrary = defaultLoader());
    ~SdlWaveOut() override;

    DeviceResult open(const WaveFormat& format) override;
    DeviceResult prepare(PlayHeader& header) override;
    DeviceResult setVolume(std::uint32_t volumeWord) override;
    DeviceResult write(PlayHeader& header) override;
    DeviceResult reset() override;
    DeviceResult unprepare(PlayHeader& header) override;
    void close() override;
    bool isPlaying() const override;

private:
    // A written buffer as the callback walks it. A header flagged as both
    // the beginning and the end of a loop plays `loops` times in a row.
    struct Queued {
        PlayHeader* header;
        const std::uint8_t* data;
        std::uint32_t sampleCount;
        std::uint32_t next = 0;
        std::uint32_t playsLeft;
    };

    // SDL's audio callback (SDL calls it with the device lock held).
    static void callback(void* self, std::uint8_t* stream, int length);
    void fill(std::int16_t* out, std::size_t count);
    bool isQueued(const PlayHeader& header) const;

    static LibraryLoader defaultLoader();

    LibraryLoader loadLibrary_;
    const SdlLibrary* sdl_ = nullptr;  // set while the device is open
    std::uint32_t device_ = 0;         // SDL's device id; 0 when closed
    // Shared with the callback; touched only under the device lock.
    std::deque<Queued> queue_;
    std::uint16_t volume_ = 0xFFFF;
};

}  // namespace calyx::audio
