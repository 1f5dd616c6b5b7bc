// Writing every sample of a bank into a folder as WAV files: File > Export
// all samples... in the editor and `calyx-cli export-all`, with the words
// both use to report it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/edit_results.h"
#include "editor/core/game_strings.h"
#include "editor/core/interface_language.h"

namespace calyx::editor {

// "<index>_<name>.wav" from the resource's name, else its file name without
// a ".wav" ending, else "<index>.wav"; every character but ASCII letters,
// digits, '-' and '.' becomes '_'.
std::string exportFileName(std::size_t index, const bank::SoundResource& resource);

struct ExportProblem {
    std::size_t index;
    // No sample data when the sample's own file is not in the game folders.
    WavError wavError;
    std::string path;  // the file that could not be opened or written, for those errors
};

// Writes resource `index`'s present sample into the existing folder
// `hostFolder` under its exportFileName, as export all writes each one (a
// row dragged out of the editor is written so too). None and the file's
// path, or what went wrong (with the path for CannotWrite).
ExportProblem exportSampleInto(bank::SoundBank& bank, std::size_t index, const std::string& hostFolder);

struct ExportAllReport {
    std::size_t exported = 0;
    std::vector<ExportProblem> problems;
};

// Exports every sample that has data (kind 1 with a non-zero size) into the
// existing folder `hostFolder`, reading each the way the edit dialog's
// export does. A new file is written directly; an existing one is replaced
// safely. `written` hears each file's path, `progress` the count done and
// the count to do.
ExportAllReport exportAllSamples(bank::SoundBank& bank,
                                 const std::string& hostFolder,
                                 const std::function<void(const std::string& path)>& written = {},
                                 const std::function<void(std::size_t done, std::size_t total)>& progress = {});

// One problem in words (UTF-8): the edit dialog's message for its code
// (the game's text when loaded), then what lies behind it in `language`.
std::string exportProblemText(const bank::SoundResource& resource, const ExportProblem& problem,
                              const GameStrings& strings, InterfaceLanguage language);

// "exported N samples to FOLDER" in `language` (the folder as given, UTF-8).
std::string exportSummary(std::size_t exported, const std::string& folder, InterfaceLanguage language);

}  // namespace calyx::editor
