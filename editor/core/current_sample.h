// Reading a resource's sample without a dialog: the bytes the edit dialog,
// opened on the resource and left as it opened, would play or export. Export
// all, the preview pane and calyx-cli's export and play read through it, and
// the dialog itself reads its resource's sample the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/wav_file.h"
#include "bank/sample_source.h"
#include "bank/sound_bank.h"
#include "editor/core/edit_results.h"

namespace calyx::editor {

// Which bytes to read: the first `pendingSize` bytes of a pending WAV file's
// data, or the bytes where `source` says.
struct SampleToRead {
    std::optional<std::string> pendingWav;
    std::uint32_t pendingSize = 0;
    bank::SampleSource source;
};

// What `resource`'s present sample is, from a replacement as the edit dialog
// holds it (`replaced`, its file's `path` and `size`, the resource's link
// flags when the dialog opened): a pending WAV file of the user's own, else
// where the resource's source says (its stored bytes when nothing replaces
// them).
SampleToRead presentSample(const bank::SoundResource& resource, bool replaced, const std::optional<std::string>& path,
                           std::uint32_t size, std::uint32_t linkFlags);

// Reads `what` for a resource of `bank` into `bytes`; another bank is found
// through `otherBanks`. `bytes` stays empty, with None, for a sample the bank
// does not hold whose file the game lacks.
WavError readSample(const bank::SoundBank& bank, const SampleToRead& what,
                    const bank::SoundBank::SourceBankResolver& otherBanks,
                    std::optional<std::vector<std::uint8_t>>& bytes);

// The resource's present sample: a pending WAV file, else the bytes where the
// resource's source says (another bank through `otherBanks`, or the bank's
// own resolver).
WavError readCurrentSample(const bank::SoundResource& resource, const bank::SoundBank& bank,
                           const bank::SoundBank::SourceBankResolver& otherBanks,
                           std::optional<std::vector<std::uint8_t>>& bytes);
WavError readCurrentSample(const bank::SoundResource& resource, const bank::SoundBank& bank,
                           std::optional<std::vector<std::uint8_t>>& bytes);

// Opens `path` and applies the acceptance rule; on None the file is open at
// its first sample byte.
WavError openAccepted(audio::WavFile& file, const std::string& path, audio::WaveFormat& format,
                      std::uint32_t& dataLength);

// Reads the data of the WAV file at `path` (at most `limit` bytes) into
// `bytes`, after the acceptance rule; `format` is the file's.
WavError readWavData(audio::WavFile& file, const std::string& path, audio::WaveFormat& format,
                     std::optional<std::uint32_t> limit, std::vector<std::uint8_t>& bytes);

// Writes `sample` as a WAV file of the editor's format at `path` (the
// dialog's export).
WavError writeSampleWav(const std::string& path, const std::vector<std::uint8_t>& sample);

// The dialog's code for what reading or writing a WAV file answered.
WavError wavErrorFor(audio::WavResult result);

}  // namespace calyx::editor
