// File names between the host and the game's records.
//
// The game keeps file names as 8-bit text (Latin-1 in practice). On Linux a
// host file name is UTF-8, so a name recorded from a host path is converted;
// on Windows the programs' names are already in the system's 8-bit code page.
#pragma once

#include <string>
#include <string_view>

namespace calyx::platform {

struct GameFileName {
    std::string latin1;
    // Characters that Latin-1 cannot hold became '_'.
    bool charactersReplaced = false;
};

// UTF-8 text as Latin-1: characters above U+00FF become '_'. A byte that
// does not start a well-formed UTF-8 sequence is taken as a Latin-1
// character already (a host whose names are 8-bit).
GameFileName latin1FromUtf8(std::string_view utf8);

// The last component of a host path as the game records file names.
GameFileName gameFileName(std::string_view hostPath);

}  // namespace calyx::platform
