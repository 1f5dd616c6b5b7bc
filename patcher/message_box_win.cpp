// The patcher's message boxes on Windows.
#include "patcher/message_box.h"

#include <string>

#include "platform/win32.h"

namespace calyx::patcher {

void showMessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    UINT style = MB_OK;
    if (icon == MessageIcon::Stop) style |= MB_ICONSTOP;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    ::MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(), style);
}

}  // namespace calyx::patcher
