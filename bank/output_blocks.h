// Consecutive pieces of a file being written, collected in memory and
// written in large blocks: a bank of many small samples costs a few large
// writes instead of one per sample.
#pragma once

#include <cstdint>
#include <vector>

#include "bank/bank_stream.h"

namespace calyx::bank {

class OutputBlocks {
public:
    // Bytes collected before they are written.
    static constexpr std::size_t blockSize = std::size_t{1} << 20;
    enum Result { Reserved, NoMemory, WriteFailed };

    explicit OutputBlocks(BankStream& out) : out_(out) {}

    // Room for `size` bytes that belong at `position` of the file; `bytes`
    // points at it until the next call. What was collected before is written
    // first when it is full or does not end where this piece begins.
    Result reserve(std::int64_t position, std::uint32_t size, std::uint8_t*& bytes);
    // Writes what was collected (the stream zero-fills any gap before it).
    bool flush();

private:
    BankStream& out_;
    std::vector<std::uint8_t> bytes_;
    std::int64_t start_ = 0;
};

}  // namespace calyx::bank
