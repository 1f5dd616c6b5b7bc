// Writing every sample of a bank into a folder as WAV files, for
// `calyx-cli export-all` and its benchmark.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "bank/sound_bank.h"

namespace calyx::cli {

// "<index>_<name>.wav" from the resource's name, else its file name without
// a ".wav" ending, else "<index>.wav"; every character but ASCII letters,
// digits, '-' and '.' becomes '_'.
std::string exportFileName(std::size_t index, const bank::SoundResource& resource);

// Reads a resource's sample the way the edit dialog's export does for a
// resource without a pending change: from the bank file for a stored
// sample, else from the file its record names, found in the game folders.
// False when there is none or it cannot be read (`problem` then says why).
bool readResourceSample(bank::SoundBank& bank, bank::SoundResource& resource, std::vector<std::uint8_t>& sample,
                        std::string& problem);

struct ExportAllReport {
    std::size_t exported = 0;
    // One line per sample that could not be exported.
    std::vector<std::string> problems;
};

// Exports every sample that has data (kind 1 with a non-zero size) into the
// existing folder `hostFolder` as 22050 Hz mono 16-bit WAV files. A new file
// is written directly; an existing one is replaced safely. `written` hears
// each file's path, `progress` the count done and the count to do.
ExportAllReport exportAllSamples(bank::SoundBank& bank, const std::string& hostFolder,
                                 const std::function<void(const std::string& path)>& written = {},
                                 const std::function<void(std::size_t done, std::size_t total)>& progress = {});

}  // namespace calyx::cli
