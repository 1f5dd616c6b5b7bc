// Carrying a sound from a reader to a writer at the editor's sample rate:
// the rate is changed with libsoxr (high quality) unless it is already the
// editor's.
#pragma once

#include "audio/convert_result.h"

namespace calyx::audio {

class MonoWavReader;
class EditorWavWriter;

// Reads all of `reader` into `writer`.
ConvertResult convertRate(MonoWavReader& reader, EditorWavWriter& writer);

}  // namespace calyx::audio
