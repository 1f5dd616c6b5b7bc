// The last time a file was written, as the file system keeps it: in its own
// ticks (nanoseconds on Linux, 100 ns on Windows), to tell one write from the
// next even within the same second.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace calyx::platform {

// Nothing when the file cannot be looked at.
std::optional<std::int64_t> lastWriteTicks(const std::string& path);

}  // namespace calyx::platform
