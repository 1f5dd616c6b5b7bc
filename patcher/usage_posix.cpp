#include <cstdio>
#include <string>

#include "patcher/message_box.h"

namespace calyx::patcher {

void showUsage(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace calyx::patcher
