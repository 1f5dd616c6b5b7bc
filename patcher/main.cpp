// patcher: brings an installed game to version 1.06.
#include <string>
#include <vector>

#include "patcher/patch_driver.h"
#include "platform/standard_streams.h"

int main(int argc, char** argv) {
    calyx::platform::writeStandardStreamsAsBytes();
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    return calyx::patcher::runPatcher(arguments);
}
