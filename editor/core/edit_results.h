// What the edit dialog's procedures answer about WAV files. The numbers are
// the dialog's own codes: each has its message in messages.h.
#pragma once

namespace calyx::editor {

// What reading a sample for the dialog or writing it to a WAV file answers.
enum class WavError {
    None = 0,
    FormatNotSupported = 1,
    CannotOpen = 2,
    CannotRead = 3,
    CannotWrite = 4,
    NoSampleData = 5,
    NotBound = 6,  // no resource: nothing is shown
};

// What importing a WAV file into the dialog answers.
enum class ImportResult {
    Taken = 1,
    NotWavName = 2,
    NotWavNameDropped = 3,  // how a drop reports `NotWavName`
    NotStored = 4,          // fewer than 4 sample bytes
    CannotOpenOrRead = 5,
    FormatNotSupported = 6,
};

}  // namespace calyx::editor
