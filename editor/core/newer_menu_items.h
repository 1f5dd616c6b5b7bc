// Menu items the game's texts know nothing of: each with its English and
// French text and the item it follows wherever that item is shown; and
// their keys.
#pragma once

#include <span>

#include "editor/core/interface_language.h"
#include "editor/core/menu_tables.h"

namespace calyx::editor {

namespace command {
// Shows or hides the preview pane.
inline constexpr int viewPreviewPane = 32900;
// Writes every sample of the active bank into a folder as WAV files.
inline constexpr int fileExportAllSamples = 32901;
// Takes a folder of WAV files named as export all names them back into the
// active bank.
inline constexpr int fileImportFolder = 32902;
}  // namespace command

struct NewerMenuItem {
    int command;
    TwoLanguageText text;
    int after;  // the command whose item it follows
};

std::span<const NewerMenuItem> newerMenuItems();
// The keys of commands newer than the game's accelerator table.
std::span<const Accelerator> newerAccelerators();

}  // namespace calyx::editor
