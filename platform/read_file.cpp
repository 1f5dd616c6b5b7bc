#include "platform/read_file.h"

#include <algorithm>
#include <cstdint>

#include "platform/file.h"

namespace calyx::platform {

ReadFileResult readFile(std::string_view path, std::size_t maxBytes, OverCap overCap) {
    ReadFileResult result;
    File file;
    if (!file.open(path, File::Mode::Read)) {
        result.error = ReadFileError::CannotOpen;
        return result;
    }
    const std::int64_t length = file.length();
    if (length > 0 && static_cast<std::uint64_t>(length) > maxBytes && overCap == OverCap::Refuse) {
        result.error = ReadFileError::TooLarge;
        return result;
    }
    if (length > 0) result.bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(length, maxBytes)));
    char buffer[1 << 16];
    for (;;) {
        const std::ptrdiff_t n = file.read(buffer, sizeof buffer);
        if (n < 0) {
            result.bytes.clear();
            result.error = ReadFileError::ReadFailed;
            return result;
        }
        if (n == 0) return result;
        const std::size_t room = maxBytes - result.bytes.size();
        if (static_cast<std::size_t>(n) > room) {
            result.error = ReadFileError::TooLarge;
            if (overCap == OverCap::KeepHead)
                result.bytes.append(buffer, room);
            else
                result.bytes.clear();
            return result;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace calyx::platform
