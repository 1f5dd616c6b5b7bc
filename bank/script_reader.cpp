#include "bank/script_reader.h"

#include <utility>

namespace calyx::bank {

ScriptReader::ScriptReader(std::unique_ptr<platform::File> file) : file_(std::move(file)) {}

bool ScriptReader::open(std::string_view path) {
    count_ = position_ = 0;
    ended_ = !file_->open(path, platform::File::Mode::Read);
    return !ended_;
}

void ScriptReader::close() {
    file_->close();
    count_ = position_ = 0;
    ended_ = true;
}

unsigned char ScriptReader::refill() {
    // Once the text has ended the file is not asked again.
    count_ = position_ = 0;
    for (int attempt = 0; attempt < readAttempts && !ended_; ++attempt) {
        std::ptrdiff_t n = file_->read(buffer_.data(), buffer_.size());
        if (n < 0) break;
        if (n > 0) {
            count_ = static_cast<std::size_t>(n);
            return nextCharacter();
        }
    }
    ended_ = true;
    return endOfInput;
}

}  // namespace calyx::bank
