// The patch sequence proper: the update's files (the "archive", plain files
// in the current directory and its language folders) go into the installed
// game tree in a fixed order, with the settings updates at fixed places.
//
// A game file is never left half written: each copy goes into a new file
// beside its destination, which is renamed into place only when complete.
// Names in the game tree and in the archive are found without regard to
// letter case, as Windows and Wine find them.
#pragma once

#include <string_view>

#include "patcher/patch_context.h"

namespace calyx::patcher {

// What `CopyFileRaw` answers.
enum class CopyResult {
    Copied = 1,
    SourceUnreadable = -1,       // missing or unreadable source
    DestinationUnwritable = -2,  // missing folder, read-only file
    WriteFailed = -3,            // the new content could not be completed or put in place
};

// Runs the whole sequence on the game directory `gameDirectory` (ending in a
// separator) with the shared INI file `iniPath`; false at the first failed
// copy, after its abort message.
bool PatchInstallation(std::string_view gameDirectory, std::string_view iniPath,
                       const PatchContext& context);

// Copies prefix + name to folder + name; on failure shows the abort message
// and answers false.
bool CopyPatchFile(std::string_view name, std::string_view prefix, std::string_view folder,
                   const PatchContext& context);

// Copies `source` over `destination`; when it fails, the old file is as it
// was.
CopyResult CopyFileRaw(std::string_view source, std::string_view destination, bool verbose);

// Replaces every occurrence of the old icon's image ("K73.ICO" past its
// 64-byte header) in the game program by the new icon's ("K73A.ICO"). Any
// failure, or a new icon shorter than the old one, leaves the program as it was.
void ReplaceProgramIcon(std::string_view gameDirectory, std::string_view programFile);

// True when `destination` may be written: its folder exists and it is not a
// folder or a read-only file.
bool destinationWritable(std::string_view destination);

}  // namespace calyx::patcher
