// The patcher's message boxes on Linux: one block on standard error each,
// "[caption] (icon)", the text, a blank line.
#include "patcher/message_box.h"

#include <cstdio>
#include <string>

namespace calyx::patcher {
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

}  // namespace calyx::patcher
