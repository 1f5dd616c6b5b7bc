#include "audio/wav_file.h"

#include <cstring>

#include "platform/byte_order.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/safe_replace.h"

namespace calyx::audio {
namespace {

bool isId(const std::uint8_t* bytes, const char (&id)[5]) { return std::memcmp(bytes, id, 4) == 0; }

using platform::readLe32;
using platform::writeLe32;

void putId(std::uint8_t* p, const char (&id)[5]) { std::memcpy(p, id, 4); }

// RIFF pads every chunk to an even length.
std::uint64_t padded(std::uint64_t length) { return length + (length & 1); }

// A new WAV file is written under this prefix beside its target, then
// renamed onto it.
constexpr std::string_view tempPrefix = "~CalyxWav";

// The bytes that precede the sample bytes in a file written by `writeWav`.
constexpr std::uint32_t headerBytesAfterRiffLength = canonicalHeaderSize - 8;

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
    std::uint8_t word[4];
    std::uint8_t pair[8];
    if (!read(word, 4)) return wav_result::readFailed;
    const bool riff = isId(word, "RIFF");
    if (!read(word, 4)) return wav_result::readFailed;
    if (!riff) return wav_result::notSupported;
    // RIFF body bytes not yet walked; unsigned arithmetic as in the length
    // word itself, so a length that lies low ends the walk early.
    std::uint32_t left = readLe32(word) - 4;
    if (!read(word, 4)) return wav_result::readFailed;
    if (!isId(word, "WAVE")) return wav_result::notSupported;

    // Chunks before the format block.
    if (!read(word, 4)) return wav_result::readFailed;
    for (;;) {
        left -= 4;
        if (isId(word, "fmt ")) break;
        if (!read(pair, 4)) return wav_result::readFailed;
        const std::uint64_t skipped = padded(readLe32(pair));
        if (!skipBytes(skipped)) return wav_result::notSupported;
        left -= static_cast<std::uint32_t>(4 + skipped);
        if (left < 4) return wav_result::notSupported;
        if (!read(word, 4)) return wav_result::readFailed;
    }
    left -= 4;

    // The format block: 16 bytes, possibly followed by more that we skip.
    if (!read(word, 4)) return wav_result::readFailed;
    const std::uint32_t formatLength = readLe32(word);
    // A shorter block has no sample size and would make us read the next
    // chunk's header as format fields.
    if (formatLength < waveFormatFileSize) return wav_result::notSupported;
    std::uint8_t block[waveFormatFileSize];
    if (!read(block, waveFormatFileSize)) return wav_result::readFailed;
    decodeWaveFormat(block, format);
    left -= waveFormatFileSize;
    if (format.formatTag != pcmFormatTag) return wav_result::notSupported;
    if (formatLength > waveFormatFileSize) {
        const std::uint64_t extra = padded(formatLength - waveFormatFileSize);
        if (!skipBytes(extra)) return wav_result::notSupported;
        left -= static_cast<std::uint32_t>(extra);
    }

    // Chunks up to the samples.
    if (!read(pair, 8)) return wav_result::readFailed;
    for (;;) {
        left -= 8;
        if (isId(pair, "data")) {
            dataLength = readLe32(pair + 4);
            return wav_result::ok;
        }
        const std::uint64_t skipped = padded(readLe32(pair + 4));
        if (!skipBytes(skipped)) return wav_result::notSupported;
        left -= static_cast<std::uint32_t>(skipped);
        if (left <= 4) return wav_result::notSupported;
        if (!read(pair, 8)) return wav_result::readFailed;
    }
}

// Skipping fails exactly when the file ends first; we look at the file's
// length instead of reading through a chunk that claims gigabytes.
bool WavFile::skipBytes(std::uint64_t count) {
    if (count == 0) return true;
    std::int64_t at = 0;
    if (!tell(at)) return false;
    const std::int64_t end = fileLength();
    if (end < at || count > static_cast<std::uint64_t>(end - at)) return false;
    return seek(at + static_cast<std::int64_t>(count)) != 0;
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
    if (length > UINT32_MAX - headerBytesAfterRiffLength) return wav_result::writeFailed;
    std::uint8_t header[canonicalHeaderSize];
    putId(header + 0, "RIFF");
    writeLe32(header + 4, length + headerBytesAfterRiffLength);
    putId(header + 8, "WAVE");
    putId(header + 12, "fmt ");
    writeLe32(header + 16, static_cast<std::uint32_t>(waveFormatFileSize));
    std::uint8_t block[waveFormatFileSize];
    encodeWaveFormat(format, block);
    std::memcpy(header + 20, block, waveFormatFileSize);
    putId(header + 36, "data");
    writeLe32(header + 40, length);
    if (!write(header, canonicalHeaderSize)) return wav_result::writeFailed;
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
