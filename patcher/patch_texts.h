// Every text the patcher shows, and the names it reads and writes.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace calyx::patcher::texts {

// Captions.
inline constexpr std::string_view abortCaption = "Patching is aborted";
inline constexpr std::string_view errorCaption = "Error";
inline constexpr std::string_view successCaption = "Success";
inline constexpr std::string_view copyCaption = "";

// Messages; "%s" takes the values in order.
inline constexpr std::string_view incorrectParameters = "Incorrect parameters => patch aborted";
inline constexpr std::string_view noWindowsDirectory = "The system can't return the Windows Directory";
inline constexpr std::string_view systemError = "System Error";
inline constexpr std::string_view iniUnreachable = "Unable to find %s ini file : %s is unreachable";
inline constexpr std::string_view reinstallPrefix = "You should re-install";
inline constexpr std::string_view noLanguageKey =
    "The Language key in %s ini file does not exist or does not contain any value";
inline constexpr std::string_view noDirectoryKey =
    "The Directory key in %s ini file does not exist or does not contain any value";
inline constexpr std::string_view japaneseRefused =
    "The patch 1.06 does not work with original Japanese version.";
inline constexpr std::string_view japaneseHasIt = "Your VLM2 CD already contains the 1.06 version.";
inline constexpr std::string_view patched = "%s had been successfully patched";
inline constexpr std::string_view patchFailed = "An error has occured while patching %s";
inline constexpr std::string_view sourceMissing = "Unable to find source the file %s in archive.";
inline constexpr std::string_view patchCorrupted = "Patch may be corrupted.";
inline constexpr std::string_view unableToUpdate = "Unable to update the file %s (may be write protected) ";
inline constexpr std::string_view reinstallGame = "You should re-install ";
inline constexpr std::string_view copyAnnouncement = "Copy %s => %s";

// What --help shows.
inline constexpr std::string_view usage =
    "Usage: patcher PROGRAM-FILE SECOND-ARGUMENT VERSION [VERBOSE]\n"
    "Brings the installed game recorded in the shared INI file (Windows directory\n"
    "\\Ornwick\\Ornwick.Ini, section TQ2) to version 1.06, from the update's files\n"
    "in the current folder.\n"
    "  PROGRAM-FILE     the game program shipped with the update, a file name of\n"
    "                   the current folder (vlm_d.exe or vlm_v.exe)\n"
    "  SECOND-ARGUMENT  kept, not used\n"
    "  VERSION          the version written to the registry, at most 11 characters\n"
    "  VERBOSE          any fourth argument announces every file copied\n"
    "Every message is a box (on Linux a block on standard error). Exit status: 0\n"
    "when the game was patched, 1 when the patch was refused or failed.\n";

// Game titles.
inline constexpr std::string_view unknownTitle = "VLM2 / TQ2";
inline constexpr std::string_view germanTitle = "Velmora 2";
inline constexpr std::string_view otherTitle = "Velmora Circuit Champions 2";

// Languages, compared with letter case.
inline constexpr std::string_view japanese = "Japanese";
inline constexpr std::string_view german = "German";
inline constexpr std::string_view french = "French";

// The maker's shared INI file below the Windows directory, and its entries.
inline constexpr std::string_view iniBelowWindows = "\\Ornwick\\Ornwick.Ini";
inline constexpr std::string_view gameSection = "TQ2";
inline constexpr std::string_view languageKey = "Language";
inline constexpr std::string_view directoryKey = "Directory";
inline constexpr std::string_view missingValue = "NULL";

// `pattern` with each "%s" replaced by the next of `values`.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace calyx::patcher::texts
