// The character source of the name-script tokenizer: a file read through a
// 2048-byte buffer, one character at a time. Character 0 stands for the end
// of the text: it comes when the file is exhausted, when a read fails or when
// the file itself holds a zero byte, and for ever after.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

#include "platform/file.h"

namespace calyx::bank {

class ScriptReader {
public:
    static constexpr std::size_t bufferSize = 2048;
    // Reads tried before an empty buffer counts as the end of the file.
    static constexpr int readAttempts = 5;
    static constexpr unsigned char endOfInput = 0;

    // The reader's file object may be given (tests stand in for the operating
    // system with it).
    explicit ScriptReader(std::unique_ptr<platform::File> file = std::make_unique<platform::File>());
    ScriptReader(const ScriptReader&) = delete;
    ScriptReader& operator=(const ScriptReader&) = delete;

    // Opens `path` (any form) for reading; false when it cannot be opened.
    bool open(std::string_view path);
    void close();

    unsigned char nextCharacter() {
        if (position_ < count_) {
            unsigned char c = static_cast<unsigned char>(buffer_[position_++]);
            if (c != endOfInput) return c;
            // A zero byte ends the text: what follows it is never delivered.
            count_ = position_;
            ended_ = true;
            return endOfInput;
        }
        return refill();
    }

    // The tokenizer's character source: `context` is the reader.
    static unsigned char characterSource(void* context) {
        return static_cast<ScriptReader*>(context)->nextCharacter();
    }

private:
    unsigned char refill();

    std::unique_ptr<platform::File> file_;
    std::array<char, bufferSize> buffer_{};
    std::size_t count_ = 0;
    std::size_t position_ = 0;
    bool ended_ = true;
};

}  // namespace calyx::bank
