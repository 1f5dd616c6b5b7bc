// What converting a WAV file into the editor's format answers.
#pragma once

namespace calyx::audio {

// Results of `convertToEditorFormat` and `readSampleFormat`.
namespace convert_result {
inline constexpr int ok = 0;
inline constexpr int notSupported = 1;  // not a RIFF WAVE file of PCM or float samples
inline constexpr int cannotOpen = 2;    // the input could not be opened
inline constexpr int readFailed = 3;    // the input ends early or cannot be read
inline constexpr int writeFailed = 4;   // the output could not be created or written
inline constexpr int tooLong = 5;       // the converted sound would not fit in a WAV file
inline constexpr int resampleFailed = 6;
}  // namespace convert_result

}  // namespace calyx::audio
