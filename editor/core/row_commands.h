// The commands on one row of the resource list, offered by its context menu
// and by keys while the list has the focus: open the edit dialog, play the
// sample, export it as a WAV file, and go back to the bank's own sound.
// Their words, their keys, when each applies, and the procedures behind the
// last two (the edit dialog's own, run without a window).
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "bank/sound_bank.h"
#include "editor/core/edit_dialog_view.h"
#include "editor/core/edit_results.h"
#include "editor/core/game_strings.h"
#include "editor/core/interface_language.h"
#include "editor/core/link_table.h"

namespace calyx::editor {

enum class RowCommand { Edit, Play, ExportWav, ResetToBank };

struct RowCommandEntry {
    RowCommand command;
    TwoLanguageText text;
    // The keys, in the toolkit's portable key names; the first is the one
    // the menu shows.
    std::array<std::string_view, 3> keys;
};

// The commands in the order of the context menu.
std::span<const RowCommandEntry> rowCommands();

// Whether `command` applies to `resource`: editing to the resources that
// have an edit dialog, playing and exporting to samples with data, going
// back to the bank's sound to a resource whose sound or volume differs from
// what its bank holds.
bool rowCommandApplies(RowCommand command, const bank::SoundResource& resource);

// True when the resource's sound or volume is not the one its bank holds.
bool differsFromBank(const bank::SoundResource& resource);

// "Export WAV..." once the user chose `path`: the file the edit dialog's
// export writes; its problems are shown through `view`.
WavError exportRowWav(bank::SoundResource& resource, bank::SoundBank& bank, LinkTable& links,
                      const GameStrings& strings, InterfaceLanguage language, const std::string& path,
                      EditDialogView& view);

// "Reset to the bank's sound": what the edit dialog's "Reset" followed by
// OK does (the bank's own sample and stored volume, the links given up).
// False when there was nothing to reset.
bool resetToBank(bank::SoundResource& resource, bank::SoundBank& bank, LinkTable& links, const GameStrings& strings,
                 InterfaceLanguage language, EditDialogView& view);

}  // namespace calyx::editor
