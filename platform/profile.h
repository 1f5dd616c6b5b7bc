// Profile (INI) files with the semantics of the Windows profile functions:
// sections and keys match without regard to case; values lose surrounding
// blanks and one pair of matching quotes; a missing file, section or key gives
// the default; writes keep every other line, comment, order and line ending
// of the file and create the file, section or key when missing. Paths take
// any form of path.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace calyx::platform {

// Copies the value (or `defaultValue`) into `buffer` of `size` bytes, cut to
// size − 1 characters and zero-terminated; answers the number of characters
// copied, not counting the terminator (0 when `size` is 0).
std::size_t getProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, char* buffer, std::size_t size,
                             std::string_view iniPath);

// The same, into a string of at most `size` − 1 characters.
std::string getProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, std::size_t size,
                             std::string_view iniPath);

// The value read as a decimal integer (leading digits, optional sign), or
// `defaultValue` when the key is missing.
int getProfileInt(std::string_view section, std::string_view key, int defaultValue,
                  std::string_view iniPath);

// Sets `key` = `value` in `section`; false when the file cannot be written.
bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view iniPath);

}  // namespace calyx::platform
