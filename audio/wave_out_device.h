// The wave-output device: a queue of sample buffers played asynchronously in
// one fixed format, with a per-device volume. Shaped like the system's wave
// output so that the playback code reads as it behaves: open, prepare a
// buffer header, set the volume, write, reset (stop at once and hand every
// buffer back), unprepare.
#pragma once

#include <cstdint>

#include "audio/wave_format.h"

namespace calyx::audio {

// The 32-byte header of one queued buffer. The buffer and the header belong
// to the caller and must stay valid until `reset` (or the end of playback)
// has handed them back and `unprepare` has run.
struct PlayHeader {
    const std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0;
    std::uint32_t bytesRecorded = 0;
    std::uintptr_t user = 0;
    std::uint32_t flags = 0;
    std::uint32_t loops = 0;
    PlayHeader* next = nullptr;
    std::uintptr_t reserved = 0;
};

// Bits of `PlayHeader::flags`.
namespace header_flag {
inline constexpr std::uint32_t done = 0x01;       // handed back by the device
inline constexpr std::uint32_t prepared = 0x02;
inline constexpr std::uint32_t beginLoop = 0x04;  // the first buffer of a loop
inline constexpr std::uint32_t endLoop = 0x08;    // the last buffer of a loop
inline constexpr std::uint32_t inQueue = 0x10;
}  // namespace header_flag

// The loop count of a looping test sound: in effect until it is stopped.
inline constexpr std::uint32_t endlessLoops = 0x7FFF;

// What a device operation answers; the numbers are the system's wave-output
// results.
enum class DeviceResult : int {
    Ok = 0,
    Error = 1,
    NoDevice = 2,       // no device can be opened
    NotOpen = 5,        // the device has not been opened
    InvalidParam = 11,
    BadFormat = 32,     // the device does not play this format
    StillPlaying = 33,  // the header is still queued
    Unprepared = 34,    // the header was not prepared
};

class WaveOutDevice {
public:
    WaveOutDevice() = default;
    WaveOutDevice(const WaveOutDevice&) = delete;
    WaveOutDevice& operator=(const WaveOutDevice&) = delete;
    virtual ~WaveOutDevice();

    // Opens the device for `format`; any result but Ok means no device can play.
    virtual DeviceResult open(const WaveFormat& format) = 0;
    virtual DeviceResult prepare(PlayHeader& header) = 0;
    // Low 16 bits left channel, high 16 bits right; 0 silent, 0xFFFF full.
    // A mono device follows the left channel.
    virtual DeviceResult setVolume(std::uint32_t volumeWord) = 0;
    // Queues the buffer behind any already queued.
    virtual DeviceResult write(PlayHeader& header) = 0;
    // Stops at once and hands every queued buffer back; once it returns the
    // device no longer touches any of them.
    virtual DeviceResult reset() = 0;
    virtual DeviceResult unprepare(PlayHeader& header) = 0;
    // Stops and releases the device.
    virtual void close() = 0;
    // True while a written buffer has not finished playing.
    virtual bool isPlaying() const = 0;
};

}  // namespace calyx::audio
