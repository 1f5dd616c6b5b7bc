#include "editor/core/message_layout.h"

#include <algorithm>
#include <numeric>

namespace calyx::editor {

int longestLineLength(std::string_view utf8) {
    int longest = 0;
    int current = 0;
    for (const char c : utf8) {
        if (c == '\r' || c == '\n') {
            current = 0;
            continue;
        }
        // Continuation bytes belong to the character before them.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) longest = std::max(longest, ++current);
    }
    return longest;
}

std::optional<MessageBoxWidths> widenedMessageBox(int longestLineCharacters, int textBoxWidth, int widest) {
    const int wanted = messagePixelsPerCharacter * longestLineCharacters;
    if (wanted - 30 <= textBoxWidth) return std::nullopt;
    // Beyond the widest box the lines wrap in the text box.
    const int dialog = std::max(std::min(wanted + 50, widest), textBoxWidth + 80);
    if (dialog - 80 <= textBoxWidth) return std::nullopt;
    return MessageBoxWidths{dialog, dialog - 80};
}

int messageBoxGrowth(int textHeight, int textBoxHeight, int dialogHeight, int screenHeight) {
    const int room = static_cast<int>(screenHeight * tallestMessageBoxShare) - dialogHeight;
    return std::clamp(textHeight - textBoxHeight, 0, std::max(room, 0));
}

std::vector<int> buttonRowLefts(int dialogWidth, std::span<const int> buttonWidths) {
    std::vector<int> lefts;
    if (buttonWidths.empty()) return lefts;
    const int count = static_cast<int>(buttonWidths.size());
    const int total = std::accumulate(buttonWidths.begin(), buttonWidths.end(), 0);
    const int gap = std::min((dialogWidth - total) / count, dialogWidth / 8);
    int left = dialogWidth / 2 - (total + gap * (count - 1)) / 2;
    for (const int width : buttonWidths) {
        lefts.push_back(left);
        left += width + gap;
    }
    return lefts;
}

}  // namespace calyx::editor
