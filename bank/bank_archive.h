// The archive through which a document hands its file to the bank's load and
// save: a loading or storing flag, the file behind it, and a 4096-byte buffer
// that byte reads refill from the file and byte writes flush to it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/file.h"

namespace calyx::bank {

class BankArchive {
public:
    enum class Mode { Load, Store };
    static constexpr std::size_t bufferSize = 4096;

    // The archive starts at the file's first byte; the file stays the caller's.
    BankArchive(platform::File& file, Mode mode);
    BankArchive(const BankArchive&) = delete;
    BankArchive& operator=(const BankArchive&) = delete;
    ~BankArchive();

    bool isLoading() const { return mode_ == Mode::Load; }
    bool isStoring() const { return mode_ == Mode::Store; }
    platform::File* file() const { return file_; }

    // The next byte, refilling the buffer when it is empty. False at the end
    // of the file or when the file cannot be read.
    bool readByte(std::uint8_t& byte);
    // `length` bytes one at a time; false when the file ended before.
    bool read(void* buffer, std::size_t length);
    // Buffers one byte, writing the buffer to the file when it is full.
    bool writeByte(std::uint8_t byte);
    // `length` bytes through the buffer as if written one at a time.
    bool write(const void* data, std::size_t length);
    // The archive's logical position in the file (what it has handed out or
    // taken in so far).
    std::int64_t position() const;
    // Writes what is buffered (storing) or drops what was read ahead and
    // puts the file at the archive's logical position (loading). Once a
    // write to the file failed, every later write and flush fails too: bytes
    // were lost, and what follows must not look like a good file.
    bool flush();

private:
    platform::File* file_;
    Mode mode_;
    std::array<std::uint8_t, bufferSize> buffer_{};
    std::size_t used_ = 0;   // bytes in the buffer
    std::size_t next_ = 0;   // next byte to hand out (loading)
    bool failed_ = false;
};

}  // namespace calyx::bank
