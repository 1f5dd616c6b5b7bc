// Walking the chunks of a RIFF file: a 12-byte form header ("RIFF", a length
// word, the form type), then chunk after chunk, each an id, a length word and
// a body padded to an even length. The walker reports what each header
// claims beside what the file really holds; what to make of a difference is
// left to the caller.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/file.h"

namespace calyx::audio {

struct RiffForm {
    std::size_t heldBytes = 0;  // of the header's 12 bytes, those the file holds
    bool riff = false;          // the file begins "RIFF"
    std::uint32_t length = 0;   // the RIFF length word (0 unless held)
    bool wave = false;          // the form type is "WAVE"
};

struct RiffChunk {
    std::array<char, 4> id{};
    std::uint32_t claimedLength = 0;  // what the chunk's length word says
    std::int64_t bodyOffset = 0;      // where its first body byte is (or would be)
    std::int64_t bytesToEnd = 0;      // bytes the file holds from `bodyOffset` on

    bool is(const char (&fourcc)[5]) const;
    // Of the claimed body, the bytes the file really holds.
    std::int64_t heldLength() const { return std::min<std::int64_t>(claimedLength, bytesToEnd); }
    bool heldWhole() const { return claimedLength <= bytesToEnd; }
    // The body's length with the pad byte that follows an odd one.
    std::int64_t paddedLength() const { return std::int64_t{claimedLength} + (claimedLength & 1); }
    // The body and its pad byte are all in the file.
    bool heldWithPad() const { return paddedLength() <= bytesToEnd; }
};

class RiffChunkWalker {
public:
    enum class Step {
        Chunk,           // a chunk header was read
        EndOfFile,       // no byte left where the next header would start
        HeaderCutShort,  // the file ends inside the next header
        ReadFailed,      // the system failed a read the file's length allows
    };

    // Walks `file` (open for reading) by positioned reads; its position is
    // left alone.
    explicit RiffChunkWalker(platform::File& file);

    // The form header at the start of the file; the walk begins behind it.
    RiffForm readForm();
    // The next chunk's header; the walk then stands behind its padded body
    // (even when the file ends first).
    Step next(RiffChunk& chunk);
    // The first `length` bytes of `chunk`'s body; false when the file does
    // not hold them all or a read fails.
    bool readBody(const RiffChunk& chunk, void* buffer, std::size_t length);

    std::int64_t fileLength() const { return fileLength_; }

private:
    bool readAt(std::int64_t offset, void* buffer, std::size_t length);

    platform::File& file_;
    std::int64_t fileLength_;
    std::int64_t next_;  // where the next header starts
};

}  // namespace calyx::audio
