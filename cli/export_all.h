// Writing every sample of a bank into a folder as WAV files, for
// `calyx-cli export-all` and its benchmark.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/game_strings.h"

namespace calyx::cli {

// "<index>_<name>.wav" from the resource's name, else its file name without
// a ".wav" ending, else "<index>.wav"; every character but ASCII letters,
// digits, '-' and '.' becomes '_'.
std::string exportFileName(std::size_t index, const bank::SoundResource& resource);

struct ExportProblem {
    std::size_t index;
    // The edit dialog's WAV error code (editor::wav_error): no sample data
    // when the sample's own file is not in the game folders.
    int wavError;
    std::string path;  // the file that could not be written, for a write error
};

struct ExportAllReport {
    std::size_t exported = 0;
    std::vector<ExportProblem> problems;
};

// Exports every sample that has data (kind 1 with a non-zero size) into the
// existing folder `hostFolder`, reading each the way the edit dialog's
// export does. A new file is written directly; an existing one is replaced
// safely. `written` hears each file's path, `progress` the count done and
// the count to do.
ExportAllReport exportAllSamples(bank::SoundBank& bank, const editor::GameStrings& strings,
                                 const std::string& hostFolder,
                                 const std::function<void(const std::string& path)>& written = {},
                                 const std::function<void(std::size_t done, std::size_t total)>& progress = {});

}  // namespace calyx::cli
