#include "audio/wav_header.h"

#include <cstring>

namespace calyx::audio {
namespace {

void putId(std::uint8_t* at, const char (&id)[5]) { std::memcpy(at, id, 4); }

void putU32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<std::uint8_t, wavHeaderSize> canonicalWavHeader(const WaveFormat& format, std::uint32_t dataLength) {
    std::array<std::uint8_t, wavHeaderSize> header{};
    putId(&header[0], "RIFF");
    putU32(&header[4], dataLength + riffLengthOverhead);
    putId(&header[8], "WAVE");
    putId(&header[12], "fmt ");
    putU32(&header[16], static_cast<std::uint32_t>(waveFormatFileSize));
    WaveFormat pcm = format;
    pcm.formatTag = pcmFormatTag;
    std::uint8_t block[waveFormatFileSize];
    encodeWaveFormat(pcm, block);
    std::memcpy(&header[20], block, waveFormatFileSize);
    putId(&header[36], "data");
    putU32(&header[40], dataLength);
    return header;
}

}  // namespace calyx::audio
