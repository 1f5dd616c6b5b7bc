// Playing a test sound of a resource on the wave-output device and stopping
// it. The caller owns the header and the sample bytes and keeps both until
// `stopSample` has run on them.
#pragma once

#include <cstdint>

#include "audio/wave_device_link.h"
#include "audio/wave_out_device.h"

namespace calyx::bank {
class SoundResource;
}

namespace calyx::audio {

inline constexpr int maxVolume = 127;

// The device volume for the editor's volume `v` (0..127): `v` × 512 on both
// channels, so the loudest is 0xFE00 per channel. Values outside the scale
// are taken as its nearest end.
constexpr std::uint32_t volumeWord(int v) {
    const auto level = static_cast<std::uint32_t>(v < 0 ? 0 : v > maxVolume ? maxVolume : v);
    return level << 9 | level << 25;
}

// Queues `length` bytes of `data` through `header` at `volume` (a volume
// word), played over and over when `looping`. Nothing happens when no
// device can be had. Always 1.
int playSample(const WaveDeviceLink* link, bool looping, PlayHeader& header, const std::uint8_t* data,
               std::uint32_t length, std::uint32_t volume);
// Stops the device at once and takes `header` back: 1 when the device was
// reset, 0 otherwise (no device).
int stopSample(const WaveDeviceLink* link, PlayHeader& header);

// The same for a resource: its link to the device and whether it loops.
int playSample(const bank::SoundResource& resource, PlayHeader& header, const std::uint8_t* data,
               std::uint32_t length, std::uint32_t volume);
int stopSample(const bank::SoundResource& resource, PlayHeader& header);

}  // namespace calyx::audio
