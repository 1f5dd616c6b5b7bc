#include "audio/wav_file.h"

#include "audio/riff_chunks.h"
#include "audio/wav_header.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/safe_replace.h"

namespace calyx::audio {
namespace {

// A new WAV file is written under this prefix beside its target, then
// renamed onto it.
constexpr std::string_view tempPrefix = "~CalyxWav";

}  // namespace

WavFile::WavFile(std::unique_ptr<platform::File> ownFile) : BankStream(std::move(ownFile)) {}

WavFile::~WavFile() = default;

WavResult WavFile::openWav(std::string_view path, WaveFormat& format, std::uint32_t& dataLength) {
    setFileName(path);
    setAccess(true, false);
    if (!open()) {
        close();
        return WavResult::CannotOpen;
    }
    const WavResult result = walkToData(format, dataLength);
    if (result != WavResult::Ok) close();
    return result;
}

WavResult WavFile::walkToData(WaveFormat& format, std::uint32_t& dataLength) {
    platform::File* file = openFile();
    if (!file) return WavResult::ReadFailed;
    RiffChunkWalker walker(*file);
    const RiffForm form = walker.readForm();
    if (form.heldBytes < 8) return WavResult::ReadFailed;
    if (!form.riff) return WavResult::NotSupported;
    if (form.heldBytes < 12) return WavResult::ReadFailed;
    if (!form.wave) return WavResult::NotSupported;
    // RIFF body bytes not yet walked; unsigned arithmetic as in the length
    // word itself, so a length that lies low ends the walk early.
    std::uint32_t left = form.length - 4;

    // Chunks before the format block. A chunk is skipped only when the file
    // holds it whole, pad byte included.
    RiffChunk chunk;
    for (;;) {
        if (walker.next(chunk) != RiffChunkWalker::Step::Chunk) return WavResult::ReadFailed;
        left -= 4;
        if (chunk.is("fmt ")) break;
        if (!chunk.heldWithPad()) return WavResult::NotSupported;
        left -= static_cast<std::uint32_t>(4 + chunk.paddedLength());
        if (left < 4) return WavResult::NotSupported;
    }
    left -= 4;

    // The format block: 16 bytes, possibly followed by more that we skip.
    // A shorter block has no sample size.
    if (chunk.claimedLength < waveFormatFileSize) return WavResult::NotSupported;
    std::uint8_t block[waveFormatFileSize];
    if (!walker.readBody(chunk, block, waveFormatFileSize)) return WavResult::ReadFailed;
    decodeWaveFormat(block, format);
    if (format.formatTag != pcmFormatTag) return WavResult::NotSupported;
    if (!chunk.heldWithPad()) return WavResult::NotSupported;
    left -= static_cast<std::uint32_t>(chunk.paddedLength());

    // Chunks up to the samples.
    for (;;) {
        if (walker.next(chunk) != RiffChunkWalker::Step::Chunk) return WavResult::ReadFailed;
        left -= 8;
        if (chunk.is("data")) {
            dataLength = chunk.claimedLength;
            return seek(chunk.bodyOffset) ? WavResult::Ok : WavResult::ReadFailed;
        }
        if (!chunk.heldWithPad()) return WavResult::NotSupported;
        left -= static_cast<std::uint32_t>(chunk.paddedLength());
        if (left <= 4) return WavResult::NotSupported;
    }
}

int WavFile::readData(std::uint32_t length, void* buffer) { return read(buffer, length) ? 1 : 0; }

void WavFile::closeWav() { close(); }

std::int64_t WavFile::remainingBytes() const {
    std::int64_t at = 0;
    if (!tell(at)) return 0;
    const std::int64_t end = fileLength();
    return end > at ? end - at : 0;
}

WavResult WavFile::writeWav(std::string_view path, WaveFormat& format, std::uint32_t length,
                      const void* data) {
    format.formatTag = pcmFormatTag;
    format.extraSize = 0;
    const std::string target = platform::replacementTarget(path);
    const bool targetExists = platform::fileExists(target);
    // An existing file that we may not write stays as it is, as it would
    // if we opened it for writing directly.
    if (targetExists) {
        platform::File probe;
        if (!probe.open(target, platform::File::Mode::ReadWrite)) return WavResult::CannotOpen;
        probe.close();
    }
    std::string tempName;
    setAccess(true, true);
    if (!createTemp(tempName, tempPrefix, true, platform::directoryPart(target))) {
        close();
        // A folder that takes no new file may still hold a file we may
        // rewrite: then it is rewritten in place.
        return targetExists ? writeInPlace(target, format, length, data) : WavResult::CannotOpen;
    }
    const std::string tempHost = platform::toHostPath(tempName);
    WavResult result = writeCanonical(format, length, data);
    if (result == WavResult::Ok && !(flush() && closeChecked())) result = WavResult::WriteFailed;
    close();
    if (result == WavResult::Ok && !platform::moveIntoPlace(tempHost, path))
        result = WavResult::CannotOpen;
    if (result != WavResult::Ok) platform::deleteFile(tempHost);
    return result;
}

WavResult WavFile::writeInPlace(const std::string& target, const WaveFormat& format, std::uint32_t length,
                          const void* data) {
    setFileName(target);
    setAccess(true, true);
    if (!open()) return WavResult::CannotOpen;
    WavResult result = writeCanonical(format, length, data);
    if (!closeChecked() && result == WavResult::Ok) result = WavResult::WriteFailed;
    return result;
}

WavResult WavFile::writeCanonical(const WaveFormat& format, std::uint32_t length, const void* data) {
    // The RIFF length word could not express a larger sample.
    if (length > maxWavDataLength) return WavResult::WriteFailed;
    const auto header = canonicalWavHeader(format, length);
    if (!write(header.data(), static_cast<std::int64_t>(header.size()))) return WavResult::WriteFailed;
    if (length > 0 && !write(data, length)) return WavResult::WriteFailed;
    return WavResult::Ok;
}

WavResult locateWavData(std::string_view path, std::int64_t& dataOffset, std::uint32_t& dataLength,
                  WaveFormat* format, std::int64_t* fileLength) {
    dataOffset = 0;
    dataLength = 0;
    WavFile file;
    WaveFormat found;
    const WavResult result = file.openWav(path, found, dataLength);
    if (result != WavResult::Ok) return result;
    if (!file.tell(dataOffset)) return WavResult::ReadFailed;
    if (format) *format = found;
    if (fileLength) *fileLength = file.fileLength();
    return WavResult::Ok;
}

bool hasWavExtension(std::string_view path) { return platform::hasExtension(path, wavExtension); }

bool findWavDataChunk(const std::string& path, std::int64_t& dataOffset, std::uint32_t& dataLength) {
    return locateWavData(path, dataOffset, dataLength) == WavResult::Ok;
}

}  // namespace calyx::audio
