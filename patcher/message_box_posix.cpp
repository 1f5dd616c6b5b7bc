// The patcher's message boxes on Linux: one block on standard error each.
#include "patcher/message_box.h"

namespace calyx::patcher {

void showMessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    writeMessageBlock(text, caption, icon);
}

}  // namespace calyx::patcher
