// Memory the program is about to fill, made ready in one request instead of
// one page fault per page: under a virtual machine a fault costs several
// microseconds, and a save fills a few hundred pages before its first byte
// reaches the disk.
#pragma once

#include <cstddef>
#include <memory>

namespace calyx::platform {

// Asks the system to back the whole pages of `length` bytes at `data` now.
// Only a hint: nothing happens where the system cannot.
void faultIn(void* data, std::size_t length);

// `length` bytes of new memory, not zeroed, faulted in.
inline std::unique_ptr<std::byte[]> newFaultedIn(std::size_t length) {
    auto memory = std::make_unique_for_overwrite<std::byte[]>(length);
    faultIn(memory.get(), length);
    return memory;
}

}  // namespace calyx::platform
