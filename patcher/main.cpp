// patcher: brings an installed game to version 1.06.
#include <string>
#include <vector>

#include "patcher/patch_driver.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    return calyx::patcher::runPatcher(arguments);
}
