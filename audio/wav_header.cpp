#include "audio/wav_header.h"

#include <cstring>

#include "platform/byte_order.h"

namespace calyx::audio {
namespace {

void putId(std::uint8_t* at, const char (&id)[5]) { std::memcpy(at, id, 4); }

}  // namespace

std::array<std::uint8_t, wavHeaderSize> canonicalWavHeader(const WaveFormat& format, std::uint32_t dataLength) {
    std::array<std::uint8_t, wavHeaderSize> header{};
    putId(&header[0], "RIFF");
    platform::writeLe32(&header[4], dataLength + riffLengthOverhead);
    putId(&header[8], "WAVE");
    putId(&header[12], "fmt ");
    platform::writeLe32(&header[16], static_cast<std::uint32_t>(waveFormatFileSize));
    WaveFormat pcm = format;
    pcm.formatTag = pcmFormatTag;
    std::uint8_t block[waveFormatFileSize];
    encodeWaveFormat(pcm, block);
    std::memcpy(&header[20], block, waveFormatFileSize);
    putId(&header[36], "data");
    platform::writeLe32(&header[40], dataLength);
    return header;
}

}  // namespace calyx::audio
