// Writes the sample data of a bank being saved: each sample's own bytes,
// taken from a range of its source file, followed by its pad bytes.
//
// Samples that lie one after the other in both files form one range. Where
// the system can copy between the source and the new file, a long range is
// copied there without passing through the program. Short ranges, and every
// range where the system cannot (another file system, an older kernel, a
// stream attached to an archive), are read in pieces of at most one block
// and written in large blocks. Either way the memory used does not grow
// with the samples. What goes into a block is read when the block is
// complete, so that samples lying one after the other in their source come
// in one read, though pads part them in the new file.
//
// A block covers one stretch of the new file between two multiples of the
// block's size and is written once it is full: the system then keeps the
// file in large pieces of memory, which it fills, writes out and later lets
// go of far faster than pieces that straddle each other's edges.
//
// Every few megabytes written, the system is asked to start writing them to
// the disk, so that the disk works while the copy goes on and the flush
// that ends the save has less left to wait for.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "bank/bank_stream.h"

namespace calyx::bank {

class SampleDataWriter {
public:
    // Bytes collected in memory before they are written: few, since each
    // page of the block costs a page fault when it is first filled.
    static constexpr std::size_t blockSize = std::size_t{256} << 10;
    // Ranges shorter than this go through memory by default: the system's
    // copy costs more than it saves on them.
    static constexpr std::size_t systemCopyMinimum = std::size_t{1} << 20;
    // Bytes written between two requests to start writing them to the disk.
    static constexpr std::int64_t writeBackStep = std::int64_t{4} << 20;
    enum Result { Done, ReadFailed, NoMemory, WriteFailed };

    // Ranges shorter than `minSystemCopy` bytes are copied through memory.
    explicit SampleDataWriter(BankStream& out, std::size_t minSystemCopy = systemCopyMinimum)
        : out_(out), minSystemCopy_(minSystemCopy) {}

    // Puts the `length` bytes found at `from` in `source` at `at` of the
    // output, followed by `padBytes` copies of their last byte (zeros when
    // there is none). `source` must hold the bytes and stay open until
    // finish(). Nothing may be put twice at one place.
    Result copy(BankStream& source, std::int64_t from, std::uint32_t length, std::uint32_t padBytes,
                std::int64_t at);
    // Writes everything still pending.
    Result finish();
    // What the system answered to the read or write that failed last (an
    // errno value), 0 when none did or a source merely ended early.
    int systemError() const { return systemError_; }

private:
    struct Range {
        BankStream* source = nullptr;
        std::int64_t from = 0, at = 0, length = 0;
    };
    Result flushRange();
    Result flushBlock();
    Result copyThroughMemory(const Range& range);
    // Bytes of a source that belong at `offset` of the block.
    struct PendingRead {
        BankStream* source = nullptr;
        std::int64_t from = 0;
        std::size_t offset = 0, length = 0;
    };
    // Pad bytes at `offset` of the block: `byte`, or the byte before them.
    struct PendingFill {
        static constexpr int byteBefore = -1;
        std::size_t offset = 0, length = 0;
        int byte = 0;
    };

    // The bytes from `at` to the next multiple of the block's size.
    static std::size_t roomTo(std::int64_t at);
    // Room for `count` bytes that belong at `at`, after what the block holds
    // (`offset` in it); `count` is at most roomTo(at).
    Result reserve(std::int64_t at, std::size_t count, std::size_t& offset);
    // Reads and fills what the block holds, just before it is written.
    Result fillBlock();
    bool readAt(BankStream& source, std::uint8_t* buffer, std::size_t count, std::int64_t from);
    // Counts `count` bytes just written, starting the disk's write-back
    // once a step's worth has gathered.
    void wrote(std::int64_t count);
    // Answers `result`, noting the errno of the call that just failed.
    Result failedWith(Result result);

    BankStream& out_;
    // Cleared for the rest of the save at the system's first refusal.
    std::size_t minSystemCopy_;
    bool systemCopies_ = true;
    Range range_;
    std::unique_ptr<std::uint8_t[]> block_;
    std::size_t blockUsed_ = 0;
    std::vector<PendingRead> reads_;
    std::vector<PendingFill> fills_;
    // Where the bytes between two samples of a source go when both are read
    // at once; a wider gap takes two reads.
    std::array<std::uint8_t, 4096> gapBytes_{};
    std::int64_t blockStart_ = 0;
    int systemError_ = 0;
    std::int64_t notWrittenBack_ = 0;
};

}  // namespace calyx::bank
