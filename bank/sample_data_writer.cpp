#include "bank/sample_data_writer.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "platform/memory.h"

namespace calyx::bank {

SampleDataWriter::Result SampleDataWriter::copy(BankStream& source, std::int64_t from, std::uint32_t length,
                                                std::uint32_t padBytes, std::int64_t at) {
    if (length > 0) {
        const Range piece{&source, from, at, length};
        if (!systemCopies_ || !out_.openFile() || !source.openFile()) {
            if (const Result r = copyThroughMemory(piece); r != Done) return r;
        } else if (range_.length > 0 && range_.source == &source && from == range_.from + range_.length &&
                   at == range_.at + range_.length) {
            range_.length += length;
        } else {
            if (const Result r = flushRange(); r != Done) return r;
            range_ = piece;
        }
    }
    if (padBytes == 0) return Done;
    // The pad ends the range (what follows lies elsewhere in the new file)
    // and goes after it, in file order.
    if (const Result r = flushRange(); r != Done) return r;
    const std::int64_t padAt = at + length;
    // The pad repeats the sample's last byte: taken from the block once it
    // is read when the sample ends there and the pad fits beside it, else
    // read now.
    int last = 0;
    const bool endInBlock = length > 0 && blockUsed_ > 0 &&
                            blockStart_ + static_cast<std::int64_t>(blockUsed_) == padAt &&
                            roomTo(padAt) < blockSize && padBytes <= roomTo(padAt);
    if (endInBlock) {
        last = PendingFill::byteBefore;
    } else if (length > 0) {
        std::uint8_t byte = 0;
        if (!readAt(source, &byte, 1, from + length - 1)) return ReadFailed;
        last = byte;
    }
    for (std::uint32_t done = 0; done < padBytes;) {
        const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(padBytes - done, roomTo(padAt + done)));
        std::size_t offset = 0;
        if (const Result r = reserve(padAt + done, count, offset); r != Done) return r;
        fills_.push_back({offset, count, last});
        done += count;
    }
    return Done;
}

SampleDataWriter::Result SampleDataWriter::finish() {
    if (const Result r = flushRange(); r != Done) return r;
    return flushBlock();
}

SampleDataWriter::Result SampleDataWriter::flushRange() {
    if (range_.length == 0) return Done;
    Range range = range_;
    range_ = Range{};
    // A short range goes through memory with its neighbours.
    if (range.length < static_cast<std::int64_t>(minSystemCopy_)) return copyThroughMemory(range);
    platform::File* out = out_.openFile();
    platform::File* in = range.source->openFile();
    if (!out || !in) return WriteFailed;
    // In steps, so that the disk starts on each while the next is copied.
    while (range.length > 0) {
        const std::int64_t step = std::min(range.length, writeBackStep);
        const platform::File::RangeCopy done = out->copyRange(*in, range.from, range.at, step);
        wrote(done.copied);
        range.from += done.copied;
        range.at += done.copied;
        range.length -= done.copied;
        if (done.copied == step) continue;
        if (done.failed) return failedWith(WriteFailed);
        if (!done.unsupported) return ReadFailed;  // the source ended early
        systemCopies_ = false;
        return copyThroughMemory(range);
    }
    return Done;
}

SampleDataWriter::Result SampleDataWriter::copyThroughMemory(const Range& range) {
    for (std::int64_t done = 0; done < range.length;) {
        const auto count = static_cast<std::size_t>(
            std::min<std::int64_t>(range.length - done, static_cast<std::int64_t>(roomTo(range.at + done))));
        std::size_t offset = 0;
        if (const Result r = reserve(range.at + done, count, offset); r != Done) return r;
        reads_.push_back({range.source, range.from + done, offset, count});
        done += static_cast<std::int64_t>(count);
    }
    return Done;
}

std::size_t SampleDataWriter::roomTo(std::int64_t at) {
    return blockSize - static_cast<std::size_t>(at % static_cast<std::int64_t>(blockSize));
}

SampleDataWriter::Result SampleDataWriter::reserve(std::int64_t at, std::size_t count, std::size_t& offset) {
    // A block never reaches past a boundary: one that ends on it is full.
    const bool follows = at == blockStart_ + static_cast<std::int64_t>(blockUsed_);
    if (blockUsed_ > 0 && (!follows || roomTo(at) == blockSize)) {
        if (const Result r = flushBlock(); r != Done) return r;
    }
    if (!block_) {
        block_.reset(new (std::nothrow) std::uint8_t[blockSize]);
        if (!block_) return NoMemory;
        platform::faultIn(block_.get(), blockSize);
    }
    if (blockUsed_ == 0) blockStart_ = at;
    offset = blockUsed_;
    blockUsed_ += count;
    return Done;
}

SampleDataWriter::Result SampleDataWriter::fillBlock() {
    // Neighbours in the block that lie one after the other in their source,
    // or nearly (the gap read into a scratch buffer), come in one read.
    platform::File::Scatter buffers[platform::File::maxScatter];
    for (std::size_t i = 0; i < reads_.size();) {
        const PendingRead& first = reads_[i];
        platform::File* file = first.source->openFile();
        std::size_t count = 0;
        buffers[count++] = {block_.get() + first.offset, first.length};
        std::int64_t sourceEnd = first.from + static_cast<std::int64_t>(first.length);
        std::size_t next = i + 1;
        for (; file && next < reads_.size() && count + 2 <= platform::File::maxScatter; ++next) {
            const PendingRead& r = reads_[next];
            const std::int64_t gap = r.from - sourceEnd;
            if (r.source != first.source || gap < 0 || gap > static_cast<std::int64_t>(gapBytes_.size())) break;
            if (gap > 0) buffers[count++] = {gapBytes_.data(), static_cast<std::size_t>(gap)};
            buffers[count++] = {block_.get() + r.offset, r.length};
            sourceEnd = r.from + static_cast<std::int64_t>(r.length);
        }
        const auto total = static_cast<std::size_t>(sourceEnd - first.from);
        const std::ptrdiff_t got = !file       ? 0
                                   : count == 1 ? file->readAt(buffers[0].buffer, buffers[0].length, first.from)
                                                : file->readScatteredAt(buffers, count, first.from);
        if (got < 0 || static_cast<std::size_t>(got) != total) {
            // A short or failed read: each piece again on its own, which
            // takes up short reads and tells a failure from an early end.
            for (std::size_t j = i; j < next; ++j) {
                const PendingRead& r = reads_[j];
                if (!readAt(*r.source, block_.get() + r.offset, r.length, r.from)) {
                    reads_.clear();
                    fills_.clear();
                    return ReadFailed;
                }
            }
        }
        i = next;
    }
    reads_.clear();
    for (const PendingFill& fill : fills_) {
        std::uint8_t* room = block_.get() + fill.offset;
        const std::uint8_t byte = fill.byte == PendingFill::byteBefore ? room[-1] : static_cast<std::uint8_t>(fill.byte);
        std::fill(room, room + fill.length, byte);
    }
    fills_.clear();
    return Done;
}

SampleDataWriter::Result SampleDataWriter::flushBlock() {
    if (blockUsed_ == 0) return Done;
    const std::size_t count = blockUsed_;
    blockUsed_ = 0;
    if (const Result r = fillBlock(); r != Done) return r;
    // Written where it belongs without moving the file position; a stream on
    // an archive is positioned first (which fills any gap with zeros).
    if (platform::File* out = out_.openFile()) {
        if (out->writeAt(block_.get(), count, blockStart_) != static_cast<std::ptrdiff_t>(count))
            return failedWith(WriteFailed);
        wrote(static_cast<std::int64_t>(count));
        return Done;
    }
    return out_.seek(blockStart_) && out_.write(block_.get(), static_cast<std::int64_t>(count))
               ? Done
               : failedWith(WriteFailed);
}

void SampleDataWriter::wrote(std::int64_t count) {
    notWrittenBack_ += count;
    if (notWrittenBack_ < writeBackStep) return;
    notWrittenBack_ %= writeBackStep;
    if (platform::File* out = out_.openFile()) out->startWriteBack();
}

SampleDataWriter::Result SampleDataWriter::failedWith(Result result) {
    systemError_ = errno;
    return result;
}

bool SampleDataWriter::readAt(BankStream& source, std::uint8_t* buffer, std::size_t count, std::int64_t from) {
    platform::File* file = source.openFile();
    if (!file) return source.seek(from) && source.read(buffer, static_cast<std::int64_t>(count));
    // Short reads are taken up where they stopped.
    std::size_t got = 0;
    while (got < count) {
        const std::ptrdiff_t n = file->readAt(buffer + got, count - got, from + static_cast<std::int64_t>(got));
        if (n < 0) systemError_ = errno;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace calyx::bank
