#include "audio/riff_chunks.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_order.h"
#include "platform/read_fully.h"

namespace calyx::audio {
namespace {

constexpr std::int64_t formHeaderSize = 12;
constexpr std::int64_t chunkHeaderSize = 8;

}  // namespace

bool RiffChunk::is(const char (&fourcc)[5]) const { return std::memcmp(id.data(), fourcc, 4) == 0; }

RiffChunkWalker::RiffChunkWalker(platform::File& file)
    : file_(file), fileLength_(std::max<std::int64_t>(file.length(), 0)), next_(formHeaderSize) {}

bool RiffChunkWalker::readAt(std::int64_t offset, void* buffer, std::size_t length) {
    return platform::readFully(file_, buffer, length, offset);
}

RiffForm RiffChunkWalker::readForm() {
    RiffForm form;
    std::uint8_t header[formHeaderSize] = {};
    const auto held = static_cast<std::size_t>(std::min(fileLength_, formHeaderSize));
    if (!readAt(0, header, held)) return form;
    form.heldBytes = held;
    form.riff = held >= 4 && std::memcmp(header, "RIFF", 4) == 0;
    if (held >= 8) form.length = platform::readLe32(header + 4);
    form.wave = held >= 12 && std::memcmp(header + 8, "WAVE", 4) == 0;
    return form;
}

RiffChunkWalker::Step RiffChunkWalker::next(RiffChunk& chunk) {
    const std::int64_t at = next_;
    if (at >= fileLength_) return Step::EndOfFile;
    if (fileLength_ - at < chunkHeaderSize) return Step::HeaderCutShort;
    std::uint8_t header[chunkHeaderSize];
    if (!readAt(at, header, sizeof header)) return Step::ReadFailed;
    std::memcpy(chunk.id.data(), header, 4);
    chunk.claimedLength = platform::readLe32(header + 4);
    chunk.bodyOffset = at + chunkHeaderSize;
    chunk.bytesToEnd = fileLength_ - chunk.bodyOffset;
    next_ = chunk.bodyOffset + chunk.paddedLength();
    return Step::Chunk;
}

bool RiffChunkWalker::readBody(const RiffChunk& chunk, void* buffer, std::size_t length) {
    if (static_cast<std::uint64_t>(chunk.bytesToEnd) < length) return false;
    return readAt(chunk.bodyOffset, buffer, length);
}

}  // namespace calyx::audio
