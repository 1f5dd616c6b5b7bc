// What the status bar and the tooltips say about a command: each command id
// has one game text holding the status-bar prompt, a newline, and the
// tooltip. Without the game's texts every prompt and tip is empty.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "editor/core/game_strings.h"

namespace calyx::editor {

// The longest command text taken, and the longest tooltip (its buffer holds
// 80 characters with the terminator).
inline constexpr std::size_t maxCommandTextLength = 254;
inline constexpr std::size_t maxTooltipLength = 79;

// The game text id of a command, or nothing for a command without a text.
std::optional<int> commandTextId(int commandId);

// The command's whole text (game bytes, at most 254), empty when `strings`
// is null, not loaded, or has no text for the command.
std::string textForCommand(int commandId, const GameStrings* strings);
// The part before the first newline (the whole text when it has none).
std::string promptForCommand(int commandId, const GameStrings* strings);
// The part after the first newline, up to the next one, at most 79
// characters; empty for a text without a newline and for command 0.
std::string tooltipForCommand(int commandId, const GameStrings* strings);

}  // namespace calyx::editor
