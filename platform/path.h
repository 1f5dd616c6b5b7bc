// Paths as the game's programs write them, mapped onto the host.
//
// The programs live in a Windows installation; on Linux that installation is a
// Wine prefix. Every path form they build is accepted: "X:\a\b", "X:/a",
// host absolute "/a/b", root-relative "\a" (the root of the current drive)
// and relative "a\b". Both '\' and '/' separate components, and a component
// that does not exist as written is looked up without regard to letter case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calyx::platform {

// The prefix: $WINEPREFIX, or ~/.wine when it is not set. Empty on Windows,
// where the installation is the system itself.
std::string winePrefix();

// The Windows directory as a host path (<prefix>/drive_c/windows, found
// without regard to case). Empty when there is no prefix to speak of.
std::string windowsDirectory();

// The host folder behind drive `letter` (any case): the target of
// <prefix>/dosdevices/x: when that exists, else <prefix>/drive_c for c: and
// "/" for z:. Nothing for any other drive. On Windows "X:\" for a drive
// that exists.
std::optional<std::string> driveRoot(char letter);

// The drive letter (lower case) whose root holds the current directory, or
// 0 when no drive does.
char currentDrive();

// Makes `letter`'s root the current directory when the current drive is
// another one (as changing drive on Windows does). False when there is no
// such drive or it cannot be entered.
bool setCurrentDrive(char letter);

// The process's current directory as a host path.
std::string currentDirectory();
bool setCurrentDirectory(std::string_view path);

// The host path for `path` in any of the forms above. Each component is
// taken as written when it exists, else the first entry of its folder that
// matches it without regard to case, else as written (so a file about to
// be created keeps its name and a file of other case is replaced instead of
// gaining a twin). "." and ".." are applied to the text, as Windows does.
// Empty for an empty path and for a drive that is not mapped: an empty host
// path names nothing, so every file operation on it fails. On Windows the
// full path (GetFullPathNameA, relative paths taken from the current
// folder): the system resolves drives, separators and case.
std::string toHostPath(std::string_view path);

// Text helpers. '/' counts as '\' everywhere.
bool isSeparator(char c);
// Position of the last separator, or npos.
std::size_t lastSeparator(std::string_view path);
// Everything before the last separator (empty when there is none).
std::string_view directoryPart(std::string_view path);
// Everything after the last separator (the whole text when there is none).
std::string_view lastComponent(std::string_view path);
// True when `path` ends in `extension` (".bnm"), letter case ignored, and
// has at least one character before it.
bool hasExtension(std::string_view path, std::string_view extension);
// Appends a backslash unless the text is empty or already ends in a separator.
std::string withTrailingSeparator(std::string_view directory);
// The path of `name` in `folder`, joined with the separator the folder's
// path already uses ('/' when it has none): a path shown to the user reads
// like the folder (C:\out\a.wav on Windows, /home/u/out/a.wav elsewhere).
std::string hostPathIn(std::string_view folder, std::string_view name);
// ASCII letter-case helpers used wherever the programs compare names.
bool equalsNoCase(std::string_view a, std::string_view b);
std::string toLower(std::string_view text);

}  // namespace calyx::platform
