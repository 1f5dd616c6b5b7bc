// Turning any uncompressed WAV file into the editor's own format: PCM,
// 22050 Hz, one channel, 16 bits.
//
// The reader takes integer PCM of 8 (unsigned), 16, 24 or 32 bits, IEEE
// float of 32 or 64 bits, in plain or WAVE_FORMAT_EXTENSIBLE format blocks,
// at any rate and with any number of channels. Channels are averaged into
// one, the rate is changed with libsoxr, and the result is rounded to 16
// bits. The file is read in blocks, so its size sets no memory bound.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace calyx::audio {

// Results of `convertToEditorFormat`.
namespace convert_result {
inline constexpr int ok = 0;
inline constexpr int notSupported = 1;  // not a RIFF WAVE file of PCM or float samples
inline constexpr int cannotOpen = 2;    // the input could not be opened
inline constexpr int readFailed = 3;    // the input ends early or cannot be read
inline constexpr int writeFailed = 4;   // the output could not be created or written
inline constexpr int tooLong = 5;       // the converted sound would not fit in a WAV file
inline constexpr int resampleFailed = 6;
}  // namespace convert_result

// What a WAV file holds, as its format block and data chunk say.
struct SampleFormat {
    bool isFloat = false;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;  // bits each sample occupies in the file
    std::uint64_t frames = 0;         // frames actually present in the file
};

// Reads the format of `path` without converting anything.
int readSampleFormat(std::string_view path, SampleFormat& format);

// Converts `inputPath` into a new WAV file `outputPath` (written through a
// temporary file, so a failure leaves any earlier file there as it was).
// `source`, when given, receives the input's format.
int convertToEditorFormat(std::string_view inputPath, std::string_view outputPath,
                          SampleFormat* source = nullptr);

// "44100 Hz, 2 channels, 24-bit integer", for messages.
std::string describeFormat(const SampleFormat& format);
// The English text of a result code, for messages.
std::string_view convertResultText(int code);

}  // namespace calyx::audio
