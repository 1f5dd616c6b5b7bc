#include "audio/mono_wav_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "audio/convert_result.h"
#include "audio/riff_chunks.h"
#include "audio/wave_format.h"
#include "platform/byte_order.h"
#include "platform/read_fully.h"

namespace calyx::audio {
namespace {

constexpr std::uint16_t formatTagFloat = 3;
constexpr std::uint16_t formatTagExtensible = 0xFFFE;
constexpr std::size_t plainFormatSize = 16;
constexpr std::size_t extensibleFormatSize = 40;
// The 14 bytes that follow the format tag in the sub-format GUID of every
// WAVE_FORMAT_EXTENSIBLE block of PCM or float samples.
constexpr std::array<std::uint8_t, 14> subFormatGuidTail{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// Rates outside these bounds are taken for damaged headers: a tiny rate
// would turn a few bytes into gigabytes of output.
constexpr std::uint32_t lowestRate = 1000;
constexpr std::uint32_t highestRate = 768000;
// Frames read and converted at a time, and the byte cap of one read.
constexpr std::size_t blockFrames = 8192;
constexpr std::size_t blockBytesCap = std::size_t{1} << 22;
// A file written to a pipe cannot know its data length: it claims a
// placeholder of 2 GiB or more.
constexpr std::uint32_t placeholderDataLength = 0x80000000;

using platform::readLe16;
using platform::readLe32;

using platform::readFully;

// Float samples may hold anything: NaN is read as silence, and values far
// beyond full scale (infinities included) are clipped to a bound that keeps
// mixing and resampling finite. The output clips to full scale anyway.
constexpr double floatSampleBound = 64.0;
double boundedFloatSample(double value) {
    if (std::isnan(value)) return 0.0;
    return std::clamp(value, -floatSampleBound, floatSampleBound);
}

double decodeU8(const std::uint8_t* p) { return (p[0] - 128.0) / 128.0; }
double decodeS16(const std::uint8_t* p) { return static_cast<std::int16_t>(readLe16(p)) / 32768.0; }
double decodeS24(const std::uint8_t* p) { return platform::readLeSigned24(p) / 8388608.0; }
double decodeS32(const std::uint8_t* p) { return static_cast<std::int32_t>(readLe32(p)) / 2147483648.0; }
double decodeF32(const std::uint8_t* p) {
    const std::uint32_t bits = readLe32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return boundedFloatSample(value);
}
double decodeF64(const std::uint8_t* p) {
    const std::uint64_t bits = platform::readLe64(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return boundedFloatSample(value);
}

using SampleDecoder = double (*)(const std::uint8_t*);
SampleDecoder decoderFor(bool isFloat, std::uint16_t bits) {
    if (isFloat) return bits == 32 ? decodeF32 : bits == 64 ? decodeF64 : nullptr;
    switch (bits) {
    case 8: return decodeU8;
    case 16: return decodeS16;
    case 24: return decodeS24;
    case 32: return decodeS32;
    default: return nullptr;
    }
}

}  // namespace

ConvertResult MonoWavReader::open(std::string_view path) {
    if (!file_.open(path, platform::File::Mode::Read)) return ConvertResult::CannotOpen;
    if (file_.length() < 0) return ConvertResult::ReadFailed;
    RiffChunkWalker walker(file_);
    const RiffForm form = walker.readForm();
    if (form.heldBytes < 12 || !form.riff || !form.wave) return ConvertResult::NotSupported;
    bool haveFormat = false;
    for (;;) {
        RiffChunk chunk;
        switch (walker.next(chunk)) {
        case RiffChunkWalker::Step::Chunk: break;
        case RiffChunkWalker::Step::ReadFailed: return ConvertResult::ReadFailed;
        default: return ConvertResult::NotSupported;  // no data chunk
        }
        if (chunk.is("data")) {
            if (!haveFormat) return ConvertResult::NotSupported;
            // A placeholder length runs to the end of the file; any other
            // claim past the end is a file that ends early.
            if (!chunk.heldWhole() && chunk.claimedLength < placeholderDataLength) return ConvertResult::ReadFailed;
            format_.frames = static_cast<std::uint64_t>(chunk.heldLength()) / frameBytes_;
            framesLeft_ = format_.frames;
            if (file_.seek(chunk.bodyOffset, platform::File::Origin::Start) != chunk.bodyOffset)
                return ConvertResult::ReadFailed;
            return ConvertResult::Ok;
        }
        // A chunk may lack the pad byte at the very end of the file.
        if (!chunk.heldWhole()) return ConvertResult::NotSupported;
        if (chunk.is("fmt ")) {
            const ConvertResult parsed = readFormatBlock(walker, chunk);
            if (parsed != ConvertResult::Ok) return parsed;
            haveFormat = true;
        }
    }
}

ConvertResult MonoWavReader::readFormatBlock(RiffChunkWalker& walker, const RiffChunk& chunk) {
    const std::uint32_t length = chunk.claimedLength;
    if (length < plainFormatSize) return ConvertResult::NotSupported;
    std::uint8_t block[extensibleFormatSize] = {};
    if (!walker.readBody(chunk, block, std::min<std::size_t>(length, sizeof block))) return ConvertResult::ReadFailed;
    std::uint16_t tag = readLe16(block);
    format_.channels = readLe16(block + 2);
    format_.sampleRate = readLe32(block + 4);
    const std::uint16_t blockAlign = readLe16(block + 12);
    format_.bitsPerSample = readLe16(block + 14);
    if (tag == formatTagExtensible) {
        if (length < extensibleFormatSize) return ConvertResult::NotSupported;
        if (!std::equal(subFormatGuidTail.begin(), subFormatGuidTail.end(), block + 26))
            return ConvertResult::NotSupported;
        tag = readLe16(block + 24);
    }
    if (tag != pcmFormatTag && tag != formatTagFloat) return ConvertResult::NotSupported;
    format_.isFloat = tag == formatTagFloat;
    decode_ = decoderFor(format_.isFloat, format_.bitsPerSample);
    if (!decode_ || format_.channels == 0) return ConvertResult::NotSupported;
    if (format_.sampleRate < lowestRate || format_.sampleRate > highestRate) return ConvertResult::NotSupported;
    frameBytes_ = std::size_t{format_.channels} * (format_.bitsPerSample / 8u);
    if (blockAlign != frameBytes_) return ConvertResult::NotSupported;
    return ConvertResult::Ok;
}

std::ptrdiff_t MonoWavReader::read(std::vector<float>& out) {
    const std::size_t frames = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), framesLeft_));
    raw_.resize(frames * frameBytes_);
    if (frames > 0 && !readFully(file_, raw_.data(), raw_.size())) return -1;
    const std::size_t sampleBytes = format_.bitsPerSample / 8u;
    for (std::size_t f = 0; f < frames; ++f) {
        const std::uint8_t* frame = raw_.data() + f * frameBytes_;
        double sum = 0;
        for (std::size_t c = 0; c < format_.channels; ++c) sum += decode_(frame + c * sampleBytes);
        const double mono = sum / format_.channels;
        out[f] = std::isfinite(mono) ? static_cast<float>(mono) : 0.0f;
    }
    framesLeft_ -= frames;
    return static_cast<std::ptrdiff_t>(frames);
}

std::size_t MonoWavReader::framesPerBlock() const {
    return std::max<std::size_t>(1, std::min(blockFrames, blockBytesCap / frameBytes_));
}

}  // namespace calyx::audio
