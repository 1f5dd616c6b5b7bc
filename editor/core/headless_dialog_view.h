// The edit dialog without a window, for code that runs its procedures on a
// resource without showing the dialog (calyx-cli's commands, export of every
// sample, the preview pane, tests): its boxes hold their text, the lines and
// messages it shows are kept, and each message also goes to `onMessage`
// when one is set.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/core/edit_dialog_view.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

class HeadlessDialogView : public EditDialogView {
public:
    std::string fileName;
    std::string volume;
    UiText sizeLine, loopingLine, commentLine;
    // Absent unless a position is given.
    std::optional<int> trackbar;
    std::vector<std::string> messages;  // UTF-8, in the order shown
    std::function<void(const UiText& text, unsigned style)> onMessage;

    std::string fileNameText() const override { return fileName; }
    void setFileNameText(const std::string& text) override { fileName = text; }
    void setSizeLine(const UiText& text) override { sizeLine = text; }
    void setLoopingLine(const UiText& text) override { loopingLine = text; }
    void setCommentLine(const UiText& text) override { commentLine = text; }
    std::string volumeText() const override { return volume; }
    void setVolumeText(const std::string& text) override { volume = text; }
    std::optional<int> trackbarPosition() const override { return trackbar; }
    void setTrackbarPosition(int position) override { trackbar = position; }
    void showMessage(const UiText& text, unsigned style) override {
        messages.push_back(text.utf8());
        if (onMessage) onMessage(text, style);
    }
    // The messages joined by "; ", or `fallback` when it said nothing.
    std::string said(const std::string& fallback) const {
        std::string text;
        for (const auto& message : messages) text += (text.empty() ? "" : "; ") + message;
        return text.empty() ? fallback : text;
    }
};

}  // namespace calyx::editor
