// The edit dialog without a window, for code that runs its procedures on a
// resource without showing the dialog (export of every sample, the preview
// pane): it keeps what is put in its boxes and passes its messages to
// `onMessage` when one is set.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "editor/core/edit_dialog_view.h"

namespace calyx::editor {

class HeadlessDialogView : public EditDialogView {
public:
    std::function<void(const UiText& text, unsigned style)> onMessage;

    std::string fileNameText() const override { return fileName_; }
    void setFileNameText(const std::string& text) override { fileName_ = text; }
    void setSizeLine(const UiText&) override {}
    void setLoopingLine(const UiText&) override {}
    void setCommentLine(const UiText&) override {}
    std::string volumeText() const override { return volume_; }
    void setVolumeText(const std::string& text) override { volume_ = text; }
    std::optional<int> trackbarPosition() const override { return trackbar_; }
    void setTrackbarPosition(int position) override { trackbar_ = position; }
    void showMessage(const UiText& text, unsigned style) override {
        if (onMessage) onMessage(text, style);
    }

private:
    std::string fileName_;
    std::string volume_;
    std::optional<int> trackbar_;
};

}  // namespace calyx::editor
