// Saving a loaded bank under a path (Save and Save As), shared by the
// editor's document and calyx-cli. The bank is written into a new temporary
// file beside the file it was loaded from, flushed, and only then moved onto
// the target in one step: until then the target is never opened, emptied or
// deleted, and a failed save leaves it byte for byte as it was.
#pragma once

#include <string>
#include <string_view>

#include "bank/sound_bank.h"

namespace calyx::bank {

struct SaveOutcome {
    bool saved = false;
    // Why the bank's save failed (source unreadable, source missing, no
    // memory or other); None when it did not.
    BankError bankError = BankError::None;
    // The bank was saved but its companion name file could not be copied.
    bool companionFailed = false;
    // The complete new file could not take the target's place.
    bool replaceFailed = false;
    // The target's name does not end in ".bnm": nothing was written.
    bool badTargetName = false;
    // No temporary file could be made, in `temporaryFolder`.
    bool noTemporaryFile = false;
    std::string temporaryFolder;
    // What the system answered to the step that failed (an errno value),
    // when a system call is known to have failed: 0 otherwise.
    int systemError = 0;
};

// True when a bank may be saved under `path`: its last component ends in
// ".bnm" in any letter case, after at least one character. A bank under any
// other name would not open again, and its companion name file (the bank's
// name with its last letter replaced by 's') would be named wrongly.
bool isBankFileName(std::string_view path);

SaveOutcome saveDocument(SoundBank& bank, const std::string& targetPath);

}  // namespace calyx::bank
