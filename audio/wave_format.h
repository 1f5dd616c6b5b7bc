// The PCM format block of a WAV file and of the wave-output device, and the
// rule that decides which WAV files the editor takes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace calyx::audio {

struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    // Kept in memory only; never read from or written to a file.
    std::uint16_t extraSize = 0;

    bool operator==(const WaveFormat&) const = default;
};

// Bytes of the format block as it is stored in a file (everything but
// `extraSize`).
inline constexpr std::size_t waveFormatFileSize = 16;

inline constexpr std::uint16_t pcmFormatTag = 1;
inline constexpr std::uint16_t editorChannels = 1;
inline constexpr std::uint32_t editorSampleRate = 22050;
inline constexpr std::uint16_t editorBitsPerSample = 16;
inline constexpr std::uint16_t editorBlockAlign = editorChannels * editorBitsPerSample / 8;

// The format of every sample the editor holds: PCM, mono, 22050 Hz, 16 bits.
inline constexpr WaveFormat editorFormat{pcmFormatTag,      editorChannels,
                                         editorSampleRate,  editorSampleRate * editorBlockAlign,
                                         editorBlockAlign,  editorBitsPerSample,
                                         0};

// Whether a file that opened as PCM may enter the editor: one channel,
// exactly 22050 samples per second, 16 bits. The byte rate, block size and
// extra size are not looked at (the game never reads them).
constexpr bool isAcceptedFormat(const WaveFormat& format) {
    return format.channels == editorChannels && format.samplesPerSec == editorSampleRate &&
           format.bitsPerSample == editorBitsPerSample;
}

// Fills `format` from the 16 little-endian bytes of a file's format block.
void decodeWaveFormat(const std::uint8_t (&bytes)[waveFormatFileSize], WaveFormat& format);
// The 16 little-endian file bytes of `format`.
void encodeWaveFormat(const WaveFormat& format, std::uint8_t (&bytes)[waveFormatFileSize]);

}  // namespace calyx::audio
