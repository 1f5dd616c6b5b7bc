#include "patcher/message_box.h"

#include <cstdio>
#include <string>

#include "patcher/patch_texts.h"

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

// "[caption] (icon)", the text, a blank line.
void writeMessageBlock(std::string_view text, std::string_view caption, MessageIcon icon) {
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

void ShowAbort(std::string_view line1, std::string_view line2) {
    showMessageBox(std::string(line1) + " " + std::string(line2), texts::abortCaption, MessageIcon::Stop);
}

}  // namespace calyx::patcher
