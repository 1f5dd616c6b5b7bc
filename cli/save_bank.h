// Saving a bank from a command, with the editor's messages.
#pragma once

#include <string>

#include "cli/context.h"

namespace calyx::cli {

// Saves `bank` under `target` the editor's safe way; throws CommandFailure
// (the target is then unchanged). A companion that could not follow is a
// warning.
void saveBankOrFail(const Context& context, bank::SoundBank& bank, const std::string& target);

}  // namespace calyx::cli
