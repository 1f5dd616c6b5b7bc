#include <string>

#include "patcher/message_box.h"

namespace calyx::patcher {

// A program without a window has no console to print to.
void showUsage(std::string_view text) { showMessageBox(text, "patcher", MessageIcon::None); }

}  // namespace calyx::patcher
