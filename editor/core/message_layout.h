// The geometry rules of the editor's message dialog, in pixels: a message
// whose longest line does not fit widens the dialog, one of many lines makes
// it taller, and the visible buttons are spread over one centred row.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace calyx::editor {

// The width a character of the message is taken to need.
inline constexpr int messagePixelsPerCharacter = 7;

// Characters (not bytes) of the longest line of a UTF-8 text; lines end at
// CR or LF.
int longestLineLength(std::string_view utf8);

struct MessageBoxWidths {
    int dialog;
    int textBox;
};

// A message box grows no wider than this; longer lines wrap.
inline constexpr int widestMessageBox = 600;

// With W = 7 × the longest line: nothing when W − 30 fits the text box,
// else the dialog becomes W + 50 wide and the text box W − 30, the dialog
// at most `widest` (and at least as wide as it was: the text box keeps its
// 80 pixels less).
std::optional<MessageBoxWidths> widenedMessageBox(int longestLineCharacters, int textBoxWidth,
                                                  int widest = widestMessageBox);

// The share of the screen's height a message box may grow to; longer texts
// scroll in their box.
inline constexpr double tallestMessageBoxShare = 0.6;

// The height the text box grows by so that `textHeight` pixels of text show
// without scrolling: 0 when they fit, else the difference, as far as the
// dialog stays within `tallestMessageBoxShare` of `screenHeight`.
int messageBoxGrowth(int textHeight, int textBoxHeight, int dialogHeight, int screenHeight);

// The left edges of the visible buttons (in order) in a dialog `dialogWidth`
// wide: the gap is what is left over divided by the number of buttons, at
// most an eighth of the dialog, and the row is centred.
std::vector<int> buttonRowLefts(int dialogWidth, std::span<const int> buttonWidths);

}  // namespace calyx::editor
