#include "platform/file_time.h"

#include <filesystem>
#include <system_error>

namespace calyx::platform {

std::optional<std::int64_t> lastWriteTicks(const std::string& path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    return static_cast<std::int64_t>(time.time_since_epoch().count());
}

}  // namespace calyx::platform
