#include "audio/wave_format.h"

namespace calyx::audio {
namespace {

std::uint16_t u16At(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t u32At(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void putU16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

void putU32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

void decodeWaveFormat(const std::uint8_t (&bytes)[waveFormatFileSize], WaveFormat& format) {
    format.formatTag = u16At(bytes + 0);
    format.channels = u16At(bytes + 2);
    format.samplesPerSec = u32At(bytes + 4);
    format.avgBytesPerSec = u32At(bytes + 8);
    format.blockAlign = u16At(bytes + 12);
    format.bitsPerSample = u16At(bytes + 14);
}

void encodeWaveFormat(const WaveFormat& format, std::uint8_t (&bytes)[waveFormatFileSize]) {
    putU16(bytes + 0, format.formatTag);
    putU16(bytes + 2, format.channels);
    putU32(bytes + 4, format.samplesPerSec);
    putU32(bytes + 8, format.avgBytesPerSec);
    putU16(bytes + 12, format.blockAlign);
    putU16(bytes + 14, format.bitsPerSample);
}

}  // namespace calyx::audio
