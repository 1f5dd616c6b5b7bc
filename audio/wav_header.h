// The 44-byte header that every WAV file the programs write begins with:
// "RIFF", the RIFF length, "WAVE", a 16-byte "fmt " chunk and the "data"
// chunk's id and length. The samples follow it unchanged.
#pragma once

#include <array>
#include <cstdint>

#include "audio/wave_format.h"

namespace calyx::audio {

inline constexpr std::size_t wavHeaderSize = 44;
// The RIFF length word counts everything after itself: the header's last
// 36 bytes and the samples.
inline constexpr std::uint32_t riffLengthOverhead = 36;
// The longest sample the RIFF length word can describe.
inline constexpr std::uint32_t maxWavDataLength = UINT32_MAX - riffLengthOverhead;

// The header for `dataLength` sample bytes of `format` (its tag is written
// as PCM). `dataLength` must be at most `maxWavDataLength`.
std::array<std::uint8_t, wavHeaderSize> canonicalWavHeader(const WaveFormat& format, std::uint32_t dataLength);

}  // namespace calyx::audio
