// Reading a sample's bytes from where its source says they are: the file
// that holds them and where they begin in it. The save's copy, the edit
// dialog and the export read through these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bank/sample_source.h"
#include "bank/sound_bank.h"

namespace calyx::bank {

// The file that holds `source`'s bytes for a resource of `bank`: the bank's
// own path, the bank `otherBanks` gives for the link key, the WAV file, or
// the game file found in the game's folders (else its name as given, and
// `foundInGameFolders` is set false). Nothing when there is no such bank.
std::optional<std::string> sourceFilePath(const SoundBank& bank, const SampleSource& source,
                                          const SoundBank::SourceBankResolver& otherBanks,
                                          bool* foundInGameFolders = nullptr);

// Where `source`'s bytes begin in `path`, the file that holds them, open as
// `stream`: the first byte of a WAV file's data chunk (found by
// `wavLocator`), the start of a game file, or the offset in a bank's area;
// the main area of the bank being read starts at `ownMainStart`, another
// bank's at the word `mainWordOffset` of its header. Nothing when that
// cannot be read.
std::optional<std::int64_t> sourceStart(const SampleSource& source, const std::string& path, BankStream& stream,
                                        std::uint32_t ownMainStart, std::uint32_t mainWordOffset,
                                        const SoundBank::WavDataLocator& wavLocator);

// What reading a source's bytes came to.
enum class SourceRead { Read, NoGameFile, Failed };

// Reads `source`'s own bytes for a resource of `bank` into `buffer` (empty
// unless Read). Nothing is allocated for bytes the file does not hold.
// NoGameFile: a game file that the game's folders do not hold.
SourceRead readSourceBytes(const SoundBank& bank, const SampleSource& source,
                           const SoundBank::SourceBankResolver& otherBanks, std::vector<std::uint8_t>& buffer);

// Reads `size` bytes at `start` of the open `stream`; false, with `buffer`
// empty, when the file does not hold them all.
bool readBytesAt(BankStream& stream, std::int64_t start, std::uint32_t size, std::vector<std::uint8_t>& buffer);

// The resources whose samples the bank holds but whose bytes lie (in part)
// beyond the end of its file, `fileLength` bytes long: a file cut off after
// its records. In file order.
std::vector<std::size_t> samplesPastTheEnd(const SoundBank& bank, std::int64_t fileLength);

}  // namespace calyx::bank
