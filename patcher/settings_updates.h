// The three settings changes of the update: the triple-buffering switch in
// the maker's shared INI file, the game's entry under the online play
// service in the machine-wide registry, and the game's sound settings.
// None of them reports a failure; none of them stops the patch.
#pragma once

#include <string_view>

namespace calyx::patcher {

// "TripleBuffering" in the game's section becomes "NO" unless it is exactly "YES".
void updateTripleBuffering(std::string_view iniPath);

// Writes "directory", "exec" and "version" under
// HKEY_LOCAL_MACHINE\SOFTWARE\Ornwick\Arcnet Games\VLM2, creating the last
// two keys when missing. Nothing is written when "Ornwick" does not exist.
// `gameDirectory` ends in a separator.
void UpdateRegistry(std::string_view gameDirectory, std::string_view programFile,
                    std::string_view version);

// In the game's "Kpe\DLL\snd_kpe.ini": when "SXD_DIST_SATUR" of "Options"
// reads as 2 (also when absent), it becomes 8 and "SXD_DIST_FADE" becomes 64.
void updateSoundSettings(std::string_view gameDirectory);

}  // namespace calyx::patcher
