// The patcher's run: command line, the installation found through the
// maker's shared INI file, the checks that refuse an unsuitable
// installation, the patch sequence and the closing message.
#pragma once

#include <string>
#include <vector>

namespace calyx::patcher {

// `arguments` are those after the program's name: the game program file,
// an unused argument, the version and, optionally, anything to turn on a
// message per copied file; or "--help" alone for the usage. Answers the exit
// code: 0 after the success box or the usage, 1 after any error box.
int runPatcher(const std::vector<std::string>& arguments);

}  // namespace calyx::patcher
