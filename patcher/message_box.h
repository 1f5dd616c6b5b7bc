// The patcher's only way to speak: message boxes with an OK button.
//
// On Windows each box is MessageBoxA (with the environment variable
// CALYX_TEST_BOXES=stderr, as tests run it, the block below). Elsewhere
// each box is written to the standard error stream as one block, in the
// order the boxes would appear:
//
//     [<caption>] (<icon>)
//     <text>
//     <an empty line>
//
// where <icon> is "stop", "information" or "none" and an empty caption
// gives "[]". The text is written as it is; the patcher's texts hold no line
// breaks, so every block is exactly three lines.
#pragma once

#include <string_view>

namespace calyx::patcher {

enum class MessageIcon { None, Stop, Information };

void showMessageBox(std::string_view text, std::string_view caption, MessageIcon icon);

// Writes the box's block to standard error.
void writeMessageBlock(std::string_view text, std::string_view caption, MessageIcon icon);

// The usage asked for with --help: on standard output where there is a
// console, else in a box.
void showUsage(std::string_view text);

// The box that ends a run: `line1`, one space, `line2`, under the caption
// "Patching is aborted" with the stop icon. It returns to its caller.
void ShowAbort(std::string_view line1, std::string_view line2);

}  // namespace calyx::patcher
