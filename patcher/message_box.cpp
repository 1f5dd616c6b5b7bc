#include "patcher/message_box.h"

#include <string>

#include "patcher/patch_texts.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace calyx::patcher {

#ifdef _WIN32

void showMessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    UINT style = MB_OK;
    if (icon == MessageIcon::Stop) style |= MB_ICONSTOP;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    ::MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(), style);
}

#else

namespace {

const char* iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop: return "stop";
    case MessageIcon::Information: return "information";
    case MessageIcon::None: break;
    }
    return "none";
}

}  // namespace

void showMessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    std::string block = "[";
    block += caption;
    block += "] (";
    block += iconName(icon);
    block += ")\n";
    block += text;
    block += "\n\n";
    std::fwrite(block.data(), 1, block.size(), stderr);
    std::fflush(stderr);
}

#endif

void ShowAbort(std::string_view line1, std::string_view line2) {
    showMessageBox(std::string(line1) + " " + std::string(line2), texts::kAbortCaption, MessageIcon::Stop);
}

}  // namespace calyx::patcher
