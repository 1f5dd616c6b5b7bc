// Reading any uncompressed WAV file's samples averaged into one channel:
// integer PCM of 8 (unsigned), 16, 24 or 32 bits, IEEE float of 32 or 64
// bits, in plain or WAVE_FORMAT_EXTENSIBLE format blocks, at any rate from
// 1000 to 768000 Hz, with any number of channels. The file is read in
// blocks, so its size sets no memory bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "audio/convert_result.h"
#include "platform/file.h"

namespace calyx::audio {

struct RiffChunk;
class RiffChunkWalker;

// What a WAV file holds, as its format block and data chunk say.
struct SampleFormat {
    bool isFloat = false;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;  // bits each sample occupies in the file
    std::uint64_t frames = 0;         // frames actually present in the file
};

class MonoWavReader {
public:
    // Opens `path` and walks to its first sample.
    ConvertResult open(std::string_view path);

    const SampleFormat& format() const { return format_; }

    // Up to `out.size()` frames; the count read, or -1 when a read failed.
    std::ptrdiff_t read(std::vector<float>& out);

    // Frames per block: a bounded number, and a bounded number of bytes of
    // the file however many channels it has.
    std::size_t framesPerBlock() const;

private:
    ConvertResult readFormatBlock(RiffChunkWalker& walker, const RiffChunk& chunk);

    platform::File file_;
    SampleFormat format_;
    // One sample of the file as a value in [-1, 1] (floats as they are).
    double (*decode_)(const std::uint8_t*) = nullptr;
    std::size_t frameBytes_ = 1;
    std::uint64_t framesLeft_ = 0;
    std::vector<std::uint8_t> raw_;
};

}  // namespace calyx::audio
