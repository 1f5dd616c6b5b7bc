// Where the games are installed, as the maker's shared INI file in the
// Windows directory records it (sections "TQ2" and "K7TQ", keys "Directory"
// and "Language").
#pragma once

#include <string>
#include <string_view>

namespace calyx::editor {

struct Installation {
    // Each directory ends in a backslash, or is empty when not recorded.
    std::string k7Dir;
    std::string tq2Dir;
    // Language sub-folder names, or empty.
    std::string k7Language;
    std::string tq2Language;
};

// What the document hands to a bank before loading it: copies of the two
// directories and the installation's own language texts (not owned).
struct InstallInfo {
    std::string k7Dir;
    std::string tq2Dir;
    const std::string* k7Language = nullptr;
    const std::string* tq2Language = nullptr;
};

// <Windows directory>\Ornwick\Ornwick.Ini, or empty without a Windows
// directory.
std::string sharedIniPath();

// Fills `installation` from the shared INI file (everything empty when the
// file is missing; a missing, empty or "NULL" value leaves its field empty)
// and moves into the game's sound folder: the drive of the chosen directory,
// then <dir>Datab\Resson for the second game, else <dir>K7Datab\Resson. The
// second game's directory is chosen when known. A directory that does not
// start with a drive letter changes nothing, except that a host absolute
// directory ("/...") is still entered.
void ReadInstallation(Installation& installation);

InstallInfo GetInstallInfo(const Installation& installation);

// The game's sound folder, where the editor's file dialogs open:
// <tq2Dir>Datab\Resson when the second game is known, else
// <k7Dir>K7Datab\Resson; empty when neither is.
std::string soundFolderPath(const Installation& installation);

// The game's strings.dat: <tq2Dir>datab\resson\strings.dat when the second
// game is known, else <k7Dir>K7datab\resson\strings.dat (relative to the
// current directory when neither is).
std::string gameStringsPath(const Installation& installation);

// True when `path` names a file that can be opened for reading.
bool FileExists(std::string_view path);

}  // namespace calyx::editor
