#include "audio/wav_convert.h"

#include <soxr.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "audio/wav_header.h"
#include "platform/byte_order.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/safe_replace.h"
#include "platform/temp_file.h"

namespace calyx::audio {
namespace {

constexpr std::uint16_t formatTagPcm = 1;
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
constexpr std::uint32_t placeholderDataLength = 0x80000000;
constexpr int tempNameCount = 20;
constexpr std::string_view tempPrefix = "~CalyxConvert";

using platform::readLe16;
using platform::readLe32;

bool readFully(platform::File& file, void* buffer, std::size_t length) {
    auto* at = static_cast<std::uint8_t*>(buffer);
    while (length > 0) {
        const std::ptrdiff_t got = file.read(at, length);
        if (got <= 0) return false;
        at += got;
        length -= static_cast<std::size_t>(got);
    }
    return true;
}

// One sample of the file as a value in [-1, 1] (floats as they are).
using SampleDecoder = double (*)(const std::uint8_t*);

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
double decodeS24(const std::uint8_t* p) {
    return platform::readLeSigned24(p) / 8388608.0;
}
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

// Reads a WAV file's samples, averaged into one channel, block by block.
class MonoReader {
public:
    int open(std::string_view path) {
        if (!file_.open(path, platform::File::Mode::Read)) return convert_result::cannotOpen;
        const std::int64_t fileLength = file_.length();
        if (fileLength < 0) return convert_result::readFailed;
        std::uint8_t riff[12];
        if (!readFully(file_, riff, sizeof riff)) return convert_result::notSupported;
        if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
            return convert_result::notSupported;
        std::int64_t position = sizeof riff;
        bool haveFormat = false;
        // Every chunk length is checked against the file's real size.
        while (position + 8 <= fileLength) {
            std::uint8_t head[8];
            if (!readFully(file_, head, sizeof head)) return convert_result::readFailed;
            position += 8;
            const std::uint32_t length = readLe32(head + 4);
            const std::int64_t left = fileLength - position;
            if (std::memcmp(head, "data", 4) == 0) {
                if (!haveFormat) return convert_result::notSupported;
                // A file written to a pipe cannot know its length: it claims
                // a placeholder of 2 GiB or more, and the data runs to the end.
                const bool lengthUnknown = length >= placeholderDataLength && length > left;
                if (!lengthUnknown && length > left) return convert_result::readFailed;
                const std::int64_t bytes = lengthUnknown ? left : std::int64_t{length};
                format_.frames = static_cast<std::uint64_t>(bytes) / frameBytes_;
                framesLeft_ = format_.frames;
                return convert_result::ok;
            }
            if (length > left) return convert_result::notSupported;
            std::int64_t skip = length + (length & 1);
            if (std::memcmp(head, "fmt ", 4) == 0) {
                const int parsed = readFormatBlock(length);
                if (parsed != convert_result::ok) return parsed;
                haveFormat = true;
                skip -= std::min<std::uint32_t>(length, extensibleFormatSize);
            }
            position = std::min(position + (length + (length & 1)), fileLength);
            if (skip > 0 && file_.seek(position, platform::File::Origin::Start) < 0)
                return convert_result::readFailed;
        }
        return convert_result::notSupported;
    }

    const SampleFormat& format() const { return format_; }

    // Up to `out.size()` frames; the count read, or -1 when a read failed.
    std::ptrdiff_t read(std::vector<float>& out) {
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

    // Frames per block: at most `blockFrames`, and at most `blockBytesCap`
    // bytes of the file however many channels it has.
    std::size_t framesPerBlock() const { return std::max<std::size_t>(1, std::min(blockFrames, blockBytesCap / frameBytes_)); }

private:
    int readFormatBlock(std::uint32_t length) {
        if (length < plainFormatSize) return convert_result::notSupported;
        std::uint8_t block[extensibleFormatSize] = {};
        if (!readFully(file_, block, std::min<std::size_t>(length, sizeof block))) return convert_result::readFailed;
        std::uint16_t tag = readLe16(block);
        format_.channels = readLe16(block + 2);
        format_.sampleRate = readLe32(block + 4);
        const std::uint16_t blockAlign = readLe16(block + 12);
        format_.bitsPerSample = readLe16(block + 14);
        if (tag == formatTagExtensible) {
            if (length < extensibleFormatSize) return convert_result::notSupported;
            if (!std::equal(subFormatGuidTail.begin(), subFormatGuidTail.end(), block + 26))
                return convert_result::notSupported;
            tag = readLe16(block + 24);
        }
        if (tag != formatTagPcm && tag != formatTagFloat) return convert_result::notSupported;
        format_.isFloat = tag == formatTagFloat;
        decode_ = decoderFor(format_.isFloat, format_.bitsPerSample);
        if (!decode_ || format_.channels == 0) return convert_result::notSupported;
        if (format_.sampleRate < lowestRate || format_.sampleRate > highestRate) return convert_result::notSupported;
        frameBytes_ = std::size_t{format_.channels} * (format_.bitsPerSample / 8u);
        if (blockAlign != frameBytes_) return convert_result::notSupported;
        return convert_result::ok;
    }

    platform::File file_;
    SampleFormat format_;
    SampleDecoder decode_ = nullptr;
    std::size_t frameBytes_ = 1;
    std::uint64_t framesLeft_ = 0;
    std::vector<std::uint8_t> raw_;
};

// Writes a 22050 Hz mono 16-bit file sample by sample into a temporary
// file beside the target, which takes the target's place once complete.
class EditorWavWriter {
public:
    ~EditorWavWriter() {
        if (!tempHost_.empty()) {
            file_.close();
            platform::deleteFile(tempHost_);
        }
    }

    bool create(std::string_view target) {
        target_ = std::string(target);
        std::string folder(platform::directoryPart(platform::replacementTarget(target)));
        if (folder.empty()) folder = ".";
        const auto names = platform::numberedNames(folder, tempPrefix, ".tmp", tempNameCount);
        if (!platform::createTempFile(file_, names, platform::OnRefusal::TryNextName)) return false;
        tempHost_ = file_.fullPath();
        const auto header = canonicalWavHeader(editorFormat, 0);
        return write(header.data(), header.size());
    }

    // False once the sound has outgrown what a WAV file can describe.
    bool fits(std::size_t moreFrames) const {
        return dataBytes_ + std::uint64_t{moreFrames} * editorBlockAlign <= maxWavDataLength;
    }

    bool append(const std::vector<float>& samples, std::size_t count) {
        pcm_.resize(count * editorBlockAlign);
        for (std::size_t i = 0; i < count; ++i) {
            const double scaled = std::nearbyint(double{samples[i]} * 32768.0);
            const auto value = static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
            const auto bits = static_cast<std::uint16_t>(value);
            platform::writeLe16(&pcm_[2 * i], bits);
        }
        dataBytes_ += pcm_.size();
        return write(pcm_.data(), pcm_.size());
    }

    bool finish() {
        const auto header = canonicalWavHeader(editorFormat, static_cast<std::uint32_t>(dataBytes_));
        if (file_.seek(0, platform::File::Origin::Start) != 0 || !write(header.data(), header.size())) return false;
        if (!file_.flush() || !file_.close()) return false;
        if (!platform::moveIntoPlace(tempHost_, target_)) return false;
        tempHost_.clear();
        return true;
    }

private:
    bool write(const void* data, std::size_t length) {
        return length == 0 || file_.write(data, length) == static_cast<std::ptrdiff_t>(length);
    }

    platform::File file_;
    std::string target_;
    std::string tempHost_;
    std::uint64_t dataBytes_ = 0;
    std::vector<std::uint8_t> pcm_;
};

struct SoxrDeleter {
    void operator()(soxr_t resampler) const { soxr_delete(resampler); }
};
using Resampler = std::unique_ptr<std::remove_pointer_t<soxr_t>, SoxrDeleter>;

Resampler makeResampler(std::uint32_t inputRate) {
    soxr_error_t error = nullptr;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    Resampler resampler(soxr_create(inputRate, editorSampleRate, 1, &error, &io, &quality, nullptr));
    if (error) resampler.reset();
    return resampler;
}

int convertStream(MonoReader& reader, EditorWavWriter& writer) {
    const std::uint32_t rate = reader.format().sampleRate;
    // The expected length is known before any work: refuse what cannot fit.
    const std::uint64_t expected = reader.format().frames * editorSampleRate / rate;
    if (expected > maxWavDataLength / editorBlockAlign) return convert_result::tooLong;

    std::vector<float> input(reader.framesPerBlock());
    Resampler resampler;
    if (rate != editorSampleRate) {
        resampler = makeResampler(rate);
        if (!resampler) return convert_result::resampleFailed;
    }
    // Room for one block's output, with the resampler's delay on top.
    std::vector<float> output(input.size() * editorSampleRate / rate + 4096);
    auto emit = [&writer, &output](std::size_t count) {
        if (!writer.fits(count)) return convert_result::tooLong;
        return writer.append(output, count) ? convert_result::ok : convert_result::writeFailed;
    };
    for (;;) {
        const std::ptrdiff_t got = reader.read(input);
        if (got < 0) return convert_result::readFailed;
        const bool last = got == 0;
        if (!resampler) {
            if (last) return convert_result::ok;
            std::copy_n(input.begin(), got, output.begin());
            if (const int r = emit(static_cast<std::size_t>(got)); r != convert_result::ok) return r;
            continue;
        }
        // Input 0 frames with a null pointer drains the resampler.
        std::size_t offset = 0;
        do {
            std::size_t used = 0, made = 0;
            const float* in = last ? nullptr : input.data() + offset;
            if (soxr_process(resampler.get(), in, last ? 0 : static_cast<std::size_t>(got) - offset, &used,
                             output.data(), output.size(), &made))
                return convert_result::resampleFailed;
            offset += used;
            if (!last && used == 0 && made == 0) return convert_result::resampleFailed;
            if (const int r = emit(made); r != convert_result::ok) return r;
            if (last && made == 0) return convert_result::ok;
        } while (last || offset < static_cast<std::size_t>(got));
    }
}

}  // namespace

int readSampleFormat(std::string_view path, SampleFormat& format) {
    MonoReader reader;
    const int result = reader.open(path);
    if (result == convert_result::ok) format = reader.format();
    return result;
}

int convertToEditorFormat(std::string_view inputPath, std::string_view outputPath, SampleFormat* source) {
    MonoReader reader;
    const int opened = reader.open(inputPath);
    if (opened != convert_result::ok) return opened;
    if (source) *source = reader.format();
    EditorWavWriter writer;
    if (!writer.create(outputPath)) return convert_result::writeFailed;
    const int result = convertStream(reader, writer);
    if (result != convert_result::ok) return result;
    return writer.finish() ? convert_result::ok : convert_result::writeFailed;
}

std::string describeFormat(const SampleFormat& format) {
    std::string text = std::to_string(format.sampleRate) + " Hz, ";
    text += format.channels == 1 ? "mono" : format.channels == 2 ? "stereo" : std::to_string(format.channels) + " channels";
    text += ", " + std::to_string(format.bitsPerSample) + "-bit " + (format.isFloat ? "float" : "integer");
    return text;
}

std::string_view convertResultText(int code) {
    switch (code) {
    case convert_result::ok: return "converted";
    case convert_result::notSupported:
        return "not a WAV file of PCM or float samples (8, 16, 24 or 32-bit integer, 32 or 64-bit float, "
               "1000 to 768000 Hz)";
    case convert_result::cannotOpen: return "cannot be opened";
    case convert_result::readFailed: return "cannot be read (the file ends early or a read failed)";
    case convert_result::writeFailed: return "the converted file cannot be written";
    case convert_result::tooLong: return "too long: the converted sound would exceed 4 GiB";
    case convert_result::resampleFailed: return "the sample rate could not be converted";
    default: return "internal error";
    }
}

}  // namespace calyx::audio
