// Reading and writing RIFF WAVE files of uncompressed PCM. One object serves
// one read or one write; destroying it closes any file still open.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "audio/wav_header.h"
#include "audio/wave_format.h"
#include "bank/bank_stream.h"

namespace calyx::audio {

// What reading or writing a WAV file answers.
enum class WavResult {
    Ok = 0,
    NotSupported = 1,  // not a PCM RIFF WAVE file
    CannotOpen = 2,    // the file could not be opened or created
    ReadFailed = 3,
    WriteFailed = 4,
};

class WavFile : public bank::BankStream {
public:
    // The stream's own file object may be given (tests stand in for the
    // operating system with it).
    explicit WavFile(std::unique_ptr<platform::File> ownFile = std::make_unique<platform::File>());
    ~WavFile() override;

    // Opens `path` for reading and walks its chunks up to the first sample
    // byte: `format` receives the format block, `dataLength` the length the
    // data chunk claims (not compared with the file; see `remainingBytes`).
    // On `Ok` the file stays open at the first sample byte; on anything else it
    // is closed.
    WavResult openWav(std::string_view path, WaveFormat& format, std::uint32_t& dataLength);
    // 1 when all `length` bytes were read into `buffer`.
    int readData(std::uint32_t length, void* buffer);
    void closeWav();
    // Bytes from the current position to the end of the open file (0 when
    // nothing is open). A caller compares a claimed data length with it
    // before it allocates anything.
    std::int64_t remainingBytes() const;

    // Writes `length` sample bytes behind the canonical header. An existing
    // file is replaced only once the new one is complete, so a failed write
    // leaves it as it was (unless its folder takes no new file: then it is
    // rewritten in place). `format` gets `formatTag` 1 and `extraSize` 0
    // first.
    WavResult writeWav(std::string_view path, WaveFormat& format, std::uint32_t length, const void* data);

private:
    WavResult walkToData(WaveFormat& format, std::uint32_t& dataLength);
    WavResult writeInPlace(const std::string& target, const WaveFormat& format, std::uint32_t length,
                     const void* data);
    WavResult writeCanonical(const WaveFormat& format, std::uint32_t length, const void* data);
};

// Finds where the samples of the WAV file `path` start, as an import finds
// them: `dataOffset` is the offset of the first sample byte, `dataLength`
// the length the data chunk claims. Answers `openWav`'s result; the file is
// closed again. The format is not checked (see `isAcceptedFormat`), nor is
// the claimed length: `fileLength`, when asked for, receives the file's real
// length to compare it with.
WavResult locateWavData(std::string_view path, std::int64_t& dataOffset, std::uint32_t& dataLength,
                  WaveFormat* format = nullptr, std::int64_t* fileLength = nullptr);

// `locateWavData` as the bank's WAV data locator wants it: true when the
// file opened as PCM WAVE and its data chunk was found.
inline constexpr std::string_view wavExtension = ".wav";
// True when `path` ends in ".wav" in any letter case, after at least one
// character: the name the dialog, a drop and the converter take.
bool hasWavExtension(std::string_view path);

bool findWavDataChunk(const std::string& path, std::int64_t& dataOffset, std::uint32_t& dataLength);

}  // namespace calyx::audio
