// Reading exactly as many bytes as asked from an open file: short reads are
// taken up where they stopped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/file.h"

namespace calyx::platform {

// Reads `length` bytes into `buffer`, from the file's position or, when
// `offset` is given, from there (the position stays). False when the file
// ends first or a read fails.
bool readFully(File& file, void* buffer, std::size_t length, std::optional<std::int64_t> offset = std::nullopt);

}  // namespace calyx::platform
