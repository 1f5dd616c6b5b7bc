// Saving a loaded bank under a path (Save and Save As), shared by the
// editor's document and calyx-cli. The bank is written into a new temporary
// file beside the file it was loaded from, flushed, and only then moved onto
// the target in one step: until then the target is never opened, emptied or
// deleted, and a failed save leaves it byte for byte as it was.
#pragma once

#include <string>
#include <string_view>

#include "bank/bank_file_name.h"
#include "bank/bank_writer.h"
#include "bank/sound_bank.h"

namespace calyx::bank {

struct SaveOutcome {
    bool saved = false;
    // The step that failed, when one did; nothing was written over the target.
    SaveFailure failure;
    // The bank was saved but its companion name file could not be copied.
    bool companionFailed = false;
};

// `progress` hears the sample bytes written so far and in all.
SaveOutcome saveDocument(SoundBank& bank, const std::string& targetPath, const BankWriter::Progress& progress = {});

}  // namespace calyx::bank
