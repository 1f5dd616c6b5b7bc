// Before the toolkit starts: is there a display to open the editor's window
// on? Qt would abort without one; the editor says so in one line instead.
#pragma once

#include <optional>
#include <string>

namespace calyx::editor {

// Nothing when the window can be shown (or Qt is asked for a platform that
// needs no display, such as offscreen); else what is missing.
std::optional<std::string> missingDisplay(int argc, char** argv);

}  // namespace calyx::editor
