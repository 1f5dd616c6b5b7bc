#include "bank/bank_archive.h"

#include <algorithm>
#include <cstring>

namespace calyx::bank {

BankArchive::BankArchive(platform::File& file, Mode mode) : file_(&file), mode_(mode) {
    file_->seek(0, platform::File::Origin::Start);
}

BankArchive::~BankArchive() {
    if (isStoring()) flush();
}

bool BankArchive::readByte(std::uint8_t& byte) { return read(&byte, 1); }

bool BankArchive::read(void* buffer, std::size_t length) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (length > 0) {
        if (next_ == used_) {
            if (failed_) return false;
            const std::ptrdiff_t n = file_->read(buffer_.data(), buffer_.size());
            if (n <= 0) {
                failed_ = n < 0;
                return false;
            }
            used_ = static_cast<std::size_t>(n);
            next_ = 0;
        }
        const std::size_t part = std::min(length, used_ - next_);
        std::memcpy(out, buffer_.data() + next_, part);
        next_ += part;
        out += part;
        length -= part;
    }
    return true;
}

bool BankArchive::writeByte(std::uint8_t byte) { return write(&byte, 1); }

bool BankArchive::write(const void* data, std::size_t length) {
    const auto* in = static_cast<const std::uint8_t*>(data);
    while (length > 0) {
        if (failed_) return false;
        if (used_ == buffer_.size() && !flush()) return false;
        const std::size_t part = std::min(length, buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, in, part);
        used_ += part;
        in += part;
        length -= part;
    }
    return !failed_;
}

std::int64_t BankArchive::position() const {
    const std::int64_t at = file_->position();
    if (at < 0) return at;
    return isLoading() ? at - static_cast<std::int64_t>(used_ - next_)
                       : at + static_cast<std::int64_t>(used_);
}

bool BankArchive::flush() {
    if (isLoading()) {
        // Give back the bytes read ahead so that the file position is ours.
        const auto ahead = static_cast<std::int64_t>(used_ - next_);
        used_ = next_ = 0;
        if (ahead == 0) return true;
        return file_->seek(file_->position() - ahead, platform::File::Origin::Start) >= 0;
    }
    if (failed_) return false;
    if (used_ == 0) return true;
    const auto length = used_;
    used_ = 0;
    failed_ = file_->write(buffer_.data(), length) != static_cast<std::ptrdiff_t>(length);
    return !failed_;
}

}  // namespace calyx::bank
