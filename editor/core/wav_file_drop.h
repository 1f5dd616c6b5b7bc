// WAV files dropped from the file manager on a resource's row. The drop
// asks the question a row dropped on a row asks, then takes the first file
// as the edit dialog takes a file dropped on it and closes with OK: the
// same checks (a ".wav" name, the file's format), the same messages, and a
// refused file leaves the resource as it was.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/conversion_offer.h"
#include "editor/core/edit_dialog_view.h"
#include "editor/core/game_strings.h"
#include "editor/core/link_table.h"
#include "editor/core/resource_drop.h"

namespace calyx::editor {

enum class FileDropOutcome {
    Refused,    // nothing to drop there: no question was asked
    Cancelled,  // the user answered Cancel
    NotTaken,   // the file was refused, and the user was told why
    Replaced,   // the resource now has the file as its pending replacement
};

// Whether files may be dropped on `target`: only a sample that opens the
// edit dialog takes one, and none while its bank is being saved.
bool acceptsDroppedFiles(const bank::SoundBank& bank, const bank::SoundResource& target);

// What files dragged over a document's list mean where the mouse is: on a
// row, a replacement of its sample by the first file (or nothing, for a row
// that takes no file, or a first file whose name is not a WAV file's);
// beside the rows, banks to open, as anywhere else in the window.
enum class FileDragMeaning { ReplaceSample, NoDrop, OpenAsBanks };
FileDragMeaning fileDragMeaning(const bank::SoundBank& bank, const bank::SoundResource* rowUnderMouse,
                                std::string_view firstFile);

// Drops the first of `paths` on the resource `targetIndex` of `bank`.
// `confirm` answers the question; `messages` shows what the dialog would;
// `offer`, when set, offers to convert a file refused for its format.
FileDropOutcome dropWavFiles(bank::SoundBank& bank, std::size_t targetIndex, const std::vector<std::string>& paths,
                             LinkTable& links, const GameStrings& strings, const DropConfirmation& confirm,
                             EditDialogView& messages, const ConversionOffer& offer = {},
                             InterfaceLanguage language = InterfaceLanguage::French);

}  // namespace calyx::editor
