// What the resource edit dialog shows, as its procedures see it: the
// file-name box, the size, looping and comment lines, the volume box and
// trackbar, and its message boxes. The widgets implement it; tests and
// calyx-cli fake it.
#pragma once

#include <optional>
#include <string>

#include "editor/core/ui_text.h"

namespace calyx::editor {

class EditDialogView {
public:
    virtual ~EditDialogView() = default;

    // File-name box (8-bit text as typed; paths as the system spells them).
    virtual std::string fileNameText() const = 0;
    virtual void setFileNameText(const std::string& text) = 0;
    virtual void setSizeLine(const UiText& text) = 0;
    virtual void setLoopingLine(const UiText& text) = 0;
    virtual void setCommentLine(const UiText& text) = 0;

    virtual std::string volumeText() const = 0;
    virtual void setVolumeText(const std::string& text) = 0;
    // The trackbar's position; nothing when the trackbar is not there.
    virtual std::optional<int> trackbarPosition() const = 0;
    virtual void setTrackbarPosition(int position) = 0;

    // A message box with the given style (exclamation for errors).
    virtual void showMessage(const UiText& text, unsigned style) = 0;
};

}  // namespace calyx::editor
