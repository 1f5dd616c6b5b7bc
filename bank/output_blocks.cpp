#include "bank/output_blocks.h"

#include <new>

namespace calyx::bank {

OutputBlocks::Result OutputBlocks::reserve(std::int64_t position, std::uint32_t size,
                                           std::uint8_t*& bytes) {
    const bool follows = position == start_ + static_cast<std::int64_t>(bytes_.size());
    if (!bytes_.empty() && (!follows || bytes_.size() >= blockSize) && !flush()) return WriteFailed;
    if (bytes_.empty()) start_ = position;
    const std::size_t at = bytes_.size();
    try {
        bytes_.resize(at + size);
    } catch (const std::bad_alloc&) {
        return NoMemory;
    }
    bytes = bytes_.data() + at;
    return Reserved;
}

bool OutputBlocks::flush() {
    if (bytes_.empty()) return true;
    const bool ok = out_.seek(start_) && out_.write(bytes_.data(), static_cast<std::int64_t>(bytes_.size()));
    bytes_.clear();
    return ok;
}

}  // namespace calyx::bank
