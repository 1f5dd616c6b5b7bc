// Turning any uncompressed WAV file into the editor's own format: PCM,
// 22050 Hz, one channel, 16 bits. The reader (mono_wav_reader.h) averages
// the channels into one, the rate converter changes the rate, and the
// writer rounds the result to 16 bits into a temporary file beside the
// target.
#pragma once

#include <string_view>

#include "audio/convert_result.h"
#include "audio/convert_texts.h"
#include "audio/mono_wav_reader.h"

namespace calyx::audio {

// Reads the format of `path` without converting anything.
ConvertResult readSampleFormat(std::string_view path, SampleFormat& format);

// Converts `inputPath` into a new WAV file `outputPath` (written through a
// temporary file, so a failure leaves any earlier file there as it was).
// `source`, when given, receives the input's format.
ConvertResult convertToEditorFormat(std::string_view inputPath, std::string_view outputPath,
                          SampleFormat* source = nullptr);

}  // namespace calyx::audio
