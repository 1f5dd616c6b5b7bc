// What a windowless edit dialog said, as one line of calyx-cli's output.
#pragma once

#include <string>

#include "editor/core/headless_dialog_view.h"

namespace calyx::cli {

// The dialog's messages joined by "; ", or `fallback` when it said nothing.
inline std::string dialogSaid(const editor::HeadlessDialogView& view, const std::string& fallback) {
    std::string text;
    for (const auto& message : view.messages) text += (text.empty() ? "" : "; ") + message;
    return text.empty() ? fallback : text;
}

}  // namespace calyx::cli
