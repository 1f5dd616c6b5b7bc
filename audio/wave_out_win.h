// The wave-output device on Windows: the system's own wave output (winmm),
// which the device interface mirrors call for call. The system's buffer
// headers are kept beside the callers' ones (their layout differs in a
// 64-bit program); a header's done and queued bits are read back from the
// system's. A device that cannot be opened answers `DeviceResult::NoDevice`.
#pragma once

#include <map>
#include <memory>

#include "audio/wave_out_device.h"

namespace calyx::audio {

class WinWaveOut : public WaveOutDevice {
public:
    WinWaveOut();
    ~WinWaveOut() override;

    DeviceResult open(const WaveFormat& format) override;
    DeviceResult prepare(PlayHeader& header) override;
    DeviceResult setVolume(std::uint32_t volumeWord) override;
    DeviceResult write(PlayHeader& header) override;
    DeviceResult reset() override;
    DeviceResult unprepare(PlayHeader& header) override;
    void close() override;
    bool isPlaying() const override;

private:
    struct SystemHeaders;

    std::unique_ptr<SystemHeaders> headers_;
};

}  // namespace calyx::audio
