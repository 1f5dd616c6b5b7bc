// What a windowless edit dialog said, as one line of calyx-cli's output.
#pragma once

#include <string>

#include "editor/core/headless_dialog_view.h"

namespace calyx::cli {

// The dialog's messages joined by "; ", or `fallback` when it said nothing.
inline std::string dialogSaid(const editor::HeadlessDialogView& view, const std::string& fallback) {
    return view.said(fallback);
}

}  // namespace calyx::cli
