// What converting a WAV file into the editor's format answers.
#pragma once

namespace calyx::audio {

enum class ConvertResult {
    Ok = 0,
    NotSupported = 1,  // not a RIFF WAVE file of PCM or float samples
    CannotOpen = 2,    // the input could not be opened
    ReadFailed = 3,    // the input ends early or cannot be read
    WriteFailed = 4,   // the output could not be created or written
    TooLong = 5,       // the converted sound would not fit in a WAV file
    ResampleFailed = 6,
};

}  // namespace calyx::audio
