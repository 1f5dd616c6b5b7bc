// Paths and drives on Windows: the system resolves drive letters, both
// separators and letter case itself; paths are only made full.
#include "platform/path.h"

#include <direct.h>
#include "platform/win32.h"

#include <cctype>

namespace calyx::platform {

// There is no Wine prefix on Windows.
std::string winePrefix() { return {}; }

std::string windowsDirectory() {
    char buffer[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryA(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(buffer, length);
}

std::optional<std::string> driveRoot(char letter) {
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (drive < 'A' || drive > 'Z') return std::nullopt;
    if ((::GetLogicalDrives() & (1u << (drive - 'A'))) == 0) return std::nullopt;
    return std::string{drive, ':', '\\'};
}

char currentDrive() {
    const int drive = ::_getdrive();  // 1 is A:, 0 when the current folder has no drive
    return drive >= 1 && drive <= 26 ? static_cast<char>('a' + drive - 1) : 0;
}

bool setCurrentDrive(char letter) {
    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    if (drive < 'a' || drive > 'z') return false;
    return ::_chdrive(drive - 'a' + 1) == 0;
}

std::string currentDirectory() {
    const DWORD size = ::GetCurrentDirectoryA(0, nullptr);  // with the terminating zero
    if (size == 0) return {};
    std::string buffer(size, '\0');
    const DWORD length = ::GetCurrentDirectoryA(size, buffer.data());
    if (length == 0 || length >= size) return {};
    buffer.resize(length);
    return buffer;
}

bool setCurrentDirectory(std::string_view path) {
    return ::SetCurrentDirectoryA(std::string(path).c_str()) != 0;
}

// The full path: a relative path keeps naming what it named when it was
// converted, after the program has moved into the game's sound folder.
std::string toHostPath(std::string_view path) {
    if (path.empty()) return {};
    const std::string given(path);
    const DWORD size = ::GetFullPathNameA(given.c_str(), 0, nullptr, nullptr);  // with the terminating zero
    if (size == 0) return given;
    std::string full(size, '\0');
    const DWORD length = ::GetFullPathNameA(given.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return given;
    full.resize(length);
    return full;
}

}  // namespace calyx::platform
