#include "patcher/message_box.h"

#include <string>

#include "patcher/patch_texts.h"

namespace calyx::patcher {

void ShowAbort(std::string_view line1, std::string_view line2) {
    showMessageBox(std::string(line1) + " " + std::string(line2), texts::abortCaption, MessageIcon::Stop);
}

}  // namespace calyx::patcher
