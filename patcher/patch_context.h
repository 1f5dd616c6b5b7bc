// What one run of the patcher knows once its command line and the shared INI
// file have been read.
#pragma once

#include <string>

namespace calyx::patcher {

struct PatchContext {
    std::string gameTitle;       // in every message; the game's title once the language is known
    std::string programFile;     // the game program shipped with the update ("vlm_d.exe", ...)
    std::string secondArgument;  // kept, not used
    std::string version;         // written to the registry
    std::string language;        // "Language" of the game's section, letter case kept
    bool verbose = false;        // every file copy announces itself
};

}  // namespace calyx::patcher
