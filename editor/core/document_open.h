// Opening a bank as a document, without widgets: the long form of the path,
// the ".bnm" rule, the installation values handed to the bank, and the load.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "bank/sound_bank.h"
#include "editor/core/installation.h"

namespace calyx::editor {

// The path rebuilt with every component as the file system lists it (a
// drive "X:" is kept as written); the empty text when no file matches.
std::string resolveLongPath(std::string_view path);

enum class OpenResult {
    Opened,       // loaded (the bank may hold a warning in its error code)
    BadPath,      // no such file, or not a ".bnm" name
    CannotOpen,   // the file exists but cannot be read
    Empty,        // an empty file: nothing to load
    Truncated,    // the file ends inside its header or records
    ImpossibleCounts,
};

// Opens `path` into `bank` the way the editor's document does: the checks,
// the installation values (k7 directory, tq2 directory, both languages),
// then the load. The bank also learns how to find a WAV file's samples.
OpenResult openBank(bank::SoundBank& bank, std::string_view path, const InstallInfo& install);

}  // namespace calyx::editor
