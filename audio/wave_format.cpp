#include "audio/wave_format.h"

#include "platform/byte_order.h"

namespace calyx::audio {

using platform::readLe16;
using platform::readLe32;
using platform::writeLe16;
using platform::writeLe32;

void decodeWaveFormat(const std::uint8_t (&bytes)[waveFormatFileSize], WaveFormat& format) {
    format.formatTag = readLe16(bytes + 0);
    format.channels = readLe16(bytes + 2);
    format.samplesPerSec = readLe32(bytes + 4);
    format.avgBytesPerSec = readLe32(bytes + 8);
    format.blockAlign = readLe16(bytes + 12);
    format.bitsPerSample = readLe16(bytes + 14);
}

void encodeWaveFormat(const WaveFormat& format, std::uint8_t (&bytes)[waveFormatFileSize]) {
    writeLe16(bytes + 0, format.formatTag);
    writeLe16(bytes + 2, format.channels);
    writeLe32(bytes + 4, format.samplesPerSec);
    writeLe32(bytes + 8, format.avgBytesPerSec);
    writeLe16(bytes + 12, format.blockAlign);
    writeLe16(bytes + 14, format.bitsPerSample);
}

}  // namespace calyx::audio
