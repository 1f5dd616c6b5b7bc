// The patcher's message boxes on Windows.
#include "patcher/message_box.h"

#include <cstdlib>
#include <string>

#include "platform/win32.h"

namespace calyx::patcher {
namespace {

// Tests run the patcher with its boxes on standard error, where nobody has
// to click them away.
bool boxesGoToStandardError() {
    const char* where = std::getenv("CALYX_TEST_BOXES");
    return where && std::string_view(where) == "stderr";
}

}  // namespace

void showMessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    if (boxesGoToStandardError()) {
        writeMessageBlock(text, caption, icon);
        return;
    }
    UINT style = MB_OK;
    if (icon == MessageIcon::Stop) style |= MB_ICONSTOP;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    ::MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(), style);
}

}  // namespace calyx::patcher
