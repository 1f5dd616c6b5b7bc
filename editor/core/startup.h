// The editor's start-up lookup: find the installed game, move into its sound
// folder and take the game's texts from its strings.dat.
#pragma once

#include "editor/core/game_strings.h"
#include "editor/core/installation.h"

namespace calyx::editor {

// `ReadInstallation` into `installation`, then `strings.load` from
// `gameStringsPath`. 1 when the game's texts were loaded, else 0 (the editor
// then keeps its French texts).
int LoadGameStrings(GameStrings& strings, Installation& installation);

}  // namespace calyx::editor
