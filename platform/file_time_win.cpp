// The C++ library of mingw-w64 gives file times in whole seconds only; the
// system's own call keeps the file system's 100 ns.
#include "platform/file_time.h"

#include "platform/win32.h"

namespace calyx::platform {

std::optional<std::int64_t> lastWriteTicks(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                     data.ftLastWriteTime.dwLowDateTime);
}

}  // namespace calyx::platform
