// Reading a whole file into memory, never more than a stated size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace calyx::platform {

enum class ReadFileError {
    None,
    CannotOpen,  // missing, a folder, or not readable
    TooLarge,    // more bytes than the cap
    ReadFailed,  // the system failed part-way
};

// What a file larger than the cap gives: nothing, or its first `maxBytes`
// bytes (a caller may still use the head of an oversized file, but must not
// write it back as if it were the whole).
enum class OverCap { Refuse, KeepHead };

struct ReadFileResult {
    ReadFileError error = ReadFileError::None;
    std::string bytes;
    explicit operator bool() const { return error == ReadFileError::None; }
};

// The whole file at `path` (any path form). The cap is checked against the
// file's length before reading and again while reading, so a file that grows
// meanwhile is still cut at the cap.
ReadFileResult readFile(std::string_view path, std::size_t maxBytes, OverCap overCap = OverCap::Refuse);

}  // namespace calyx::platform
