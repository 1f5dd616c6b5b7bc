// Where a replacement goes and which attributes it takes, on Windows. The
// replacement itself is MoveFileExA with MOVEFILE_REPLACE_EXISTING (through
// renameReplacing), which puts the new file in place in one step; ReplaceFileA
// is not used because it fails for a target that does not exist yet and can
// leave both files renamed aside when it fails half-way.
#include "platform/safe_replace.h"

// GetFinalPathNameByHandleA came with Windows Vista.
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0600
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#include "platform/path.h"
#include "platform/win32.h"

#include <string>

namespace calyx::platform {
namespace {

// The file a path finally names, symbolic links followed, or nothing when
// it does not exist.
std::string finalPathName(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string name(MAX_PATH, '\0');
    DWORD length = ::GetFinalPathNameByHandleA(file, name.data(), MAX_PATH, VOLUME_NAME_DOS);
    if (length >= MAX_PATH) {  // too small: the answer is the size needed
        name.assign(length, '\0');
        length = ::GetFinalPathNameByHandleA(file, name.data(), length, VOLUME_NAME_DOS);
    }
    ::CloseHandle(file);
    if (length == 0 || length >= name.size()) return {};
    name.resize(length);
    // The answer has the "\\?\" form: "\\?\C:\..." or "\\?\UNC\server\share\...".
    if (name.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + name.substr(8);
    if (name.rfind("\\\\?\\", 0) == 0) return name.substr(4);
    return name;
}

}  // namespace

std::string replacementTarget(std::string_view path) {
    const std::string full = toHostPath(path);
    const std::string linked = finalPathName(full);
    return linked.empty() ? full : linked;
}

void copyPermissions(const std::string& modelHost, const std::string& host) {
    // Access rights come from the folder on Windows; what a file carries
    // itself are these attributes. Read-only is not among them: a read-only
    // target cannot be replaced anyway, and a read-only new file could not
    // be deleted after that failure.
    constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD model = ::GetFileAttributesA(modelHost.c_str());
    if (model == INVALID_FILE_ATTRIBUTES) return;
    const DWORD wanted = model & kept;
    ::SetFileAttributesA(host.c_str(), wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL);
}

}  // namespace calyx::platform
