// The English texts calyx-cli shows about a conversion.
#pragma once

#include <string>
#include <string_view>

#include "audio/convert_result.h"
#include "audio/mono_wav_reader.h"

namespace calyx::audio {

// "44100 Hz, stereo, 24-bit integer".
std::string describeFormat(const SampleFormat& format);
// What a conversion's result means.
std::string_view convertResultText(ConvertResult result);

}  // namespace calyx::audio
