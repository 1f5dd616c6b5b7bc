#include "platform/read_fully.h"

namespace calyx::platform {

bool readFully(File& file, void* buffer, std::size_t length, std::optional<std::int64_t> offset) {
    auto* at = static_cast<std::uint8_t*>(buffer);
    while (length > 0) {
        const std::ptrdiff_t got = offset ? file.readAt(at, length, *offset) : file.read(at, length);
        if (got <= 0) return false;
        at += got;
        length -= static_cast<std::size_t>(got);
        if (offset) *offset += got;
    }
    return true;
}

}  // namespace calyx::platform
