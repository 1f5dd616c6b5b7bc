#include "editor/core/disk_stamp.h"

#include <filesystem>
#include <system_error>

#include "platform/file_time.h"

namespace calyx::editor {

std::optional<DiskStamp> readDiskStamp(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) return std::nullopt;
    DiskStamp stamp;
    stamp.size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    const auto time = platform::lastWriteTicks(path);
    if (!time) return std::nullopt;
    stamp.writeTime = *time;
    return stamp;
}

bool changedOnDisk(const std::optional<DiskStamp>& recorded, const std::optional<DiskStamp>& now) {
    return recorded && now && *recorded != *now;
}

}  // namespace calyx::editor
