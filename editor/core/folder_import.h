// Taking a folder of WAV files back into a bank, the reverse of export all:
// which file goes to which resource (export all names each file
// "<index>_<name>.wav", or "<index>.wav"), whether a file still holds the
// resource's present sound, and the words of the summary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/interface_language.h"

namespace calyx::editor {

// The resource index a file name starts with as export all writes it:
// digits, then "_" and anything, or nothing, before a ".wav" ending (any
// letter case). Nothing for another name.
std::optional<std::size_t> exportedIndexOf(std::string_view fileName);

struct FolderWav {
    std::string name;                  // the file's name in the folder
    std::string path;                  // its host path
    std::optional<std::size_t> index;  // from its name
};

// The ".wav" files of a folder (any letter case; no sub-folders), by index,
// the files without one last, then by name. Nothing when the folder cannot be read.
std::optional<std::vector<FolderWav>> wavFilesIn(const std::string& hostFolder);

// The bytes of a WAV file's data chunk; nothing when the file is not a
// RIFF WAVE file holding its whole data chunk, or holds more than `maxBytes`.
std::optional<std::vector<std::uint8_t>> soundBytesOf(const std::string& hostPath, std::size_t maxBytes);

enum class FolderImportOutcome { Replaced, Unchanged, Skipped, Refused };

struct FolderImportCounts {
    std::size_t replaced = 0, unchanged = 0, skipped = 0, refused = 0;
    void add(FolderImportOutcome outcome);
};

// "replaced N, unchanged M, skipped S, refused K" (or in French).
std::string folderImportSummary(const FolderImportCounts& counts,
                                InterfaceLanguage language = InterfaceLanguage::English);
// The word a line of the report starts with ("replaced", "unchanged",
// "skipped", "refused"); `dryRun` says "would replace" for a replacement.
std::string_view folderImportWord(FolderImportOutcome outcome, bool dryRun);

}  // namespace calyx::editor
