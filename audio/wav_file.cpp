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

int WavFile::openWav(std::string_view path, WaveFormat& format, std::uint32_t& dataLength) {
    setFileName(path);
    setAccess(true, false);
    if (!open()) {
        close();
        return wav_result::cannotOpen;
    }
    const int result = walkToData(format, dataLength);
    if (result != wav_result::ok) close();
    return result;
}

int WavFile::walkToData(WaveFormat& format, std::uint32_t& dataLength) {
    platform::File* file = openFile();
    if (!file) return wav_result::readFailed;
    RiffChunkWalker walker(*file);
    const RiffForm form = walker.readForm();
    if (form.heldBytes < 8) return wav_result::readFailed;
    if (!form.riff) return wav_result::notSupported;
    if (form.heldBytes < 12) return wav_result::readFailed;
    if (!form.wave) return wav_result::notSupported;
    // RIFF body bytes not yet walked; unsigned arithmetic as in the length
    // word itself, so a length that lies low ends the walk early.
    std::uint32_t left = form.length - 4;

    // Chunks before the format block. A chunk is skipped only when the file
    // holds it whole, pad byte included.
    RiffChunk chunk;
    for (;;) {
        if (walker.next(chunk) != RiffChunkWalker::Step::Chunk) return wav_result::readFailed;
        left -= 4;
        if (chunk.is("fmt ")) break;
        if (!chunk.heldWithPad()) return wav_result::notSupported;
        left -= static_cast<std::uint32_t>(4 + chunk.paddedLength());
        if (left < 4) return wav_result::notSupported;
    }
    left -= 4;

    // The format block: 16 bytes, possibly followed by more that we skip.
    // A shorter block has no sample size.
    if (chunk.claimedLength < waveFormatFileSize) return wav_result::notSupported;
    std::uint8_t block[waveFormatFileSize];
    if (!walker.readBody(chunk, block, waveFormatFileSize)) return wav_result::readFailed;
    decodeWaveFormat(block, format);
    if (format.formatTag != pcmFormatTag) return wav_result::notSupported;
    if (!chunk.heldWithPad()) return wav_result::notSupported;
    left -= static_cast<std::uint32_t>(chunk.paddedLength());

    // Chunks up to the samples.
    for (;;) {
        if (walker.next(chunk) != RiffChunkWalker::Step::Chunk) return wav_result::readFailed;
        left -= 8;
        if (chunk.is("data")) {
            dataLength = chunk.claimedLength;
            return seek(chunk.bodyOffset) ? wav_result::ok : wav_result::readFailed;
        }
        if (!chunk.heldWithPad()) return wav_result::notSupported;
        left -= static_cast<std::uint32_t>(chunk.paddedLength());
        if (left <= 4) return wav_result::notSupported;
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

int WavFile::writeWav(std::string_view path, WaveFormat& format, std::uint32_t length,
                      const void* data) {
    format.formatTag = pcmFormatTag;
    format.extraSize = 0;
    const std::string target = platform::replacementTarget(path);
    const bool targetExists = platform::fileExists(target);
    // An existing file that we may not write stays as it is, as it would
    // if we opened it for writing directly.
    if (targetExists) {
        platform::File probe;
        if (!probe.open(target, platform::File::Mode::ReadWrite)) return wav_result::cannotOpen;
        probe.close();
    }
    std::string tempName;
    setAccess(true, true);
    if (!createTemp(tempName, tempPrefix, true, platform::directoryPart(target))) {
        close();
        // A folder that takes no new file may still hold a file we may
        // rewrite: then it is rewritten in place.
        return targetExists ? writeInPlace(target, format, length, data) : wav_result::cannotOpen;
    }
    const std::string tempHost = platform::toHostPath(tempName);
    int result = writeCanonical(format, length, data);
    if (result == wav_result::ok && !(flush() && closeChecked())) result = wav_result::writeFailed;
    close();
    if (result == wav_result::ok && !platform::moveIntoPlace(tempHost, path))
        result = wav_result::cannotOpen;
    if (result != wav_result::ok) platform::deleteFile(tempHost);
    return result;
}

int WavFile::writeInPlace(const std::string& target, const WaveFormat& format, std::uint32_t length,
                          const void* data) {
    setFileName(target);
    setAccess(true, true);
    if (!open()) return wav_result::cannotOpen;
    int result = writeCanonical(format, length, data);
    if (!closeChecked() && result == wav_result::ok) result = wav_result::writeFailed;
    return result;
}

int WavFile::writeCanonical(const WaveFormat& format, std::uint32_t length, const void* data) {
    // The RIFF length word could not express a larger sample.
    if (length > maxWavDataLength) return wav_result::writeFailed;
    const auto header = canonicalWavHeader(format, length);
    if (!write(header.data(), static_cast<std::int64_t>(header.size()))) return wav_result::writeFailed;
    if (length > 0 && !write(data, length)) return wav_result::writeFailed;
    return wav_result::ok;
}

int locateWavData(std::string_view path, std::int64_t& dataOffset, std::uint32_t& dataLength,
                  WaveFormat* format, std::int64_t* fileLength) {
    dataOffset = 0;
    dataLength = 0;
    WavFile file;
    WaveFormat found;
    const int result = file.openWav(path, found, dataLength);
    if (result != wav_result::ok) return result;
    if (!file.tell(dataOffset)) return wav_result::readFailed;
    if (format) *format = found;
    if (fileLength) *fileLength = file.fileLength();
    return wav_result::ok;
}

bool findWavDataChunk(const std::string& path, std::int64_t& dataOffset, std::uint32_t& dataLength) {
    return locateWavData(path, dataOffset, dataLength) == wav_result::ok;
}

}  // namespace calyx::audio
