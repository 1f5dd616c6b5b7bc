// What a bank file looked like on disk when the editor last read or wrote
// it (its size and last-write time), to tell when another program (the
// game's tools, calyx-cli, another editor) has changed it since.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace calyx::editor {

struct DiskStamp {
    std::uint64_t size = 0;
    std::int64_t writeTime = 0;  // the file system's last-write time, in its own ticks
    bool operator==(const DiskStamp&) const = default;
};

// Nothing when there is no such file.
std::optional<DiskStamp> readDiskStamp(const std::string& path);

// Whether the file has changed since `recorded`: a file that is there now
// and differs. A file that has gone is not a change worth a question (there
// is nothing to overwrite or to reload), nor is one never recorded.
bool changedOnDisk(const std::optional<DiskStamp>& recorded, const std::optional<DiskStamp>& now);

}  // namespace calyx::editor
