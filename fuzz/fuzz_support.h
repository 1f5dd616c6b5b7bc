// Helpers shared by the fuzz targets: a private scratch folder for the
// inputs that the parsers read from files, and a check that stops the run
// when a parser breaks one of its promises.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace calyx::bank {
class NameTable;
}

namespace calyx::fuzz {

// The input as text, bytes unchanged.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Writes the input as `name` in this process's scratch folder (made on first
// use, removed at exit) and answers the file's path.
std::string writeInput(std::string_view name, std::string_view bytes);
// `name`'s path in the scratch folder.
std::string scratchPath(std::string_view name);

// Prints `what` and aborts when `ok` is false: the fuzzer reports it as a
// crash and the replay fails.
void check(bool ok, const char* what);

// Every entry a name script gave is found again by its id, and looked up
// through buffers of the sizes the list uses.
void checkEveryEntryFound(const bank::NameTable& table);

// Splits off the text before the first '\n' of `rest` (all of it when there
// is none); `rest` keeps what follows the '\n'.
std::string_view takeLine(std::string_view& rest);

}  // namespace calyx::fuzz
