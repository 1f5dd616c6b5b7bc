#include "bank/bank_stream.h"

#include <algorithm>
#include <array>

#include "bank/bank_archive.h"

namespace calyx::bank {
namespace {

constexpr int readAttempts = 5;
constexpr std::int64_t zeroBlock = 4096;
constexpr std::int64_t skipBlock = 256;
// Deletions after which the cleanup of stale temporary names stops.
constexpr int cleanupDeletions = 3;

}  // namespace

BankStream::BankStream(std::unique_ptr<platform::File> ownFile)
    : file_(ownFile.get()), ownFile_(std::move(ownFile)) {}

BankStream::~BankStream() { close(); }

void BankStream::setFileName(std::string_view name) {
    if (!archiveMode_) {
        close();
    }
    archive_ = nullptr;
    archiveMode_ = 0;
    file_ = ownFile_.get();
    state_ &= ~(openForReading | openForWriting);
    if (name.empty()) {
        state_ &= ~nameSet;
        fileName_.clear();
    } else {
        state_ |= nameSet;
        fileName_ = name;
    }
}

void BankStream::setAccess(bool readAllowed, bool writeAllowed) {
    state_ = readAllowed ? (state_ | readingAllowed) : (state_ & ~readingAllowed);
    state_ = writeAllowed ? (state_ | writingAllowed) : (state_ & ~writingAllowed);
}

int BankStream::open() {
    if (!(state_ & nameSet) || !file_) return 0;
    if (isOpen()) return 1;
    if (archiveMode_) {
        // The archive's file stays open and stays the archive's: after a
        // close() the stream only takes it up again. Opening it anew would
        // truncate the document being loaded or saved.
        if (state_ & readingAllowed) state_ |= openForReading;
        if (state_ & writingAllowed) state_ |= openForWriting;
        return 1;
    }
    using Mode = platform::File::Mode;
    Mode mode = Mode::Read;
    if (state_ & writingAllowed) mode = (state_ & readingAllowed) ? Mode::CreateReadWrite : Mode::CreateWrite;
    if (!file_->open(fileName_, mode)) return 0;
    if (state_ & readingAllowed) state_ |= openForReading;
    if (state_ & writingAllowed) state_ |= openForWriting;
    return 1;
}

void BankStream::close() { closeChecked(); }

bool BankStream::closeChecked() {
    bool ok = true;
    if (isOpen() && !archiveMode_) ok = file_->close();
    state_ &= ~(openForReading | openForWriting);
    unnamed_ = false;
    return ok;
}

int BankStream::read(void* buffer, std::int64_t length) {
    if (length < 1) return 1;
    if (!(state_ & readingAllowed)) return 0;
    if (!(state_ & openForReading) && !open()) return 0;
    if (!file_) return 0;
    auto* out = static_cast<char*>(buffer);
    if (archiveMode_) {
        // An archive that runs out has not delivered the bytes asked for.
        return archive_->read(out, static_cast<std::size_t>(length)) ? 1 : 0;
    }
    std::int64_t got = 0;
    for (int attempt = 0; attempt < readAttempts && got < length; ++attempt) {
        std::ptrdiff_t n = file_->read(out + got, static_cast<std::size_t>(length - got));
        if (n > 0) got += n;
    }
    return got == length ? 1 : 0;
}

int BankStream::write(const void* data, std::int64_t length) {
    if (!(state_ & writingAllowed)) return 0;
    if (!(state_ & openForWriting) && !open()) return 0;
    if (!file_) return 0;
    if (length < 1) return 1;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (archiveMode_) return archive_->write(bytes, static_cast<std::size_t>(length)) ? 1 : 0;
    // A short write is a failure: answering success would let a save put a
    // truncated file in place of a good one.
    return file_->write(bytes, static_cast<std::size_t>(length)) == length ? 1 : 0;
}

int BankStream::tell(std::int64_t& position) const {
    position = 0;
    if (!isOpen() || !file_) return 0;
    const std::int64_t at = archiveMode_ ? archive_->position() : file_->position();
    if (at < 0) return 0;
    position = at;
    return 1;
}

std::int64_t BankStream::fileLength() const {
    if (!isOpen() || !file_) return -1;
    if (archiveMode_) archive_->flush();
    return file_->length();
}

int BankStream::seek(std::int64_t position) {
    if (!isOpen() && !open()) return 0;
    if (!file_ || position < 0) return 0;
    if (archiveMode_ && !archive_->flush()) return 0;
    const std::int64_t current = file_->position();
    if (current < 0) return 0;
    if (position == current) return 1;
    const std::int64_t end = file_->length();
    if (end < 0) return 0;
    if (position > end) {
        if (!(state_ & openForWriting)) return 0;
        if (file_->seek(0, platform::File::Origin::End) < 0) return 0;
        return writeZeros(position - end);
    }
    return file_->seek(position, platform::File::Origin::Start) >= 0 ? 1 : 0;
}

int BankStream::writeZeros(std::int64_t count) {
    static constexpr std::array<std::uint8_t, zeroBlock> zeros{};
    while (count > 0) {
        const std::int64_t block = std::min(count, zeroBlock);
        if (!write(zeros.data(), block)) return 0;
        count -= block;
    }
    return 1;
}

int BankStream::skip(std::int64_t count) {
    std::array<std::uint8_t, skipBlock> discard{};
    while (count > 0) {
        const std::int64_t block = std::min(count, skipBlock);
        if (!read(discard.data(), block)) return 0;
        count -= block;
    }
    return 1;
}

void BankStream::attachToArchive(BankArchive& archive) {
    close();
    archive_ = &archive;
    archiveMode_ = 1;
    state_ = archive.isLoading() ? (nameSet | openForReading | readingAllowed)
                                 : (nameSet | openForWriting | writingAllowed);
    file_ = archive.file();
    fileName_ = file_ ? file_->fullPath() : std::string();
}

bool BankStream::flush() {
    if (!isOpen() || !file_) return false;
    if (archiveMode_ && !archive_->flush()) return false;
    return file_->flush();
}

std::string BankStream::tempName(int number, std::string_view prefix, bool inDirectory,
                                 std::string_view directory) const {
    std::string plain = std::string(prefix) + std::to_string(number) + ".tmp";
    if (inDirectory && !directory.empty() && plain.size() + directory.size() + 1 < 256)
        return std::string(directory) + "\\" + plain;
    return plain;
}

platform::TempNames BankStream::tempNames(std::string_view prefix, bool inDirectory,
                                         std::string_view directory) const {
    return {[=, this](int number) { return tempName(number, prefix, inDirectory, directory); }, tempNameCount};
}

void BankStream::setOpenForAccess() {
    if (state_ & readingAllowed) state_ |= openForReading;
    if (state_ & writingAllowed) state_ |= openForWriting;
}

bool BankStream::claimTempName(std::string& name, std::string_view prefix, bool inDirectory,
                               std::string_view directory,
                               const std::function<platform::TempFileResult(const platform::TempNames&)>& claim) {
    const platform::TempNames names = tempNames(prefix, inDirectory, directory);
    platform::TempFileResult claimed = claim(names);
    if (!claimed) {
        int deleted = 0;
        for (int i = 0; i < tempNameCount && deleted <= cleanupDeletions; ++i)
            if (platform::deleteFile(names.nameFor(i))) ++deleted;
        claimed = claim(names);
    }
    name = claimed.path;
    return static_cast<bool>(claimed);
}

int BankStream::createTemp(std::string& name, std::string_view prefix, bool inDirectory,
                           std::string_view directory) {
    close();
    state_ &= (readingAllowed | writingAllowed);
    // A name that exists is not free: two saves in one folder must never
    // truncate each other's temporary file. Every name of a round is
    // tried, whatever refused the one before.
    const bool created = claimTempName(name, prefix, inDirectory, directory, [&](const platform::TempNames& names) {
        return ownFile_ ? platform::createTempFile(*ownFile_, names, platform::OnRefusal::TryNextName)
                        : platform::TempFileResult{platform::TempFileError::CannotCreate, names.nameFor(names.count - 1)};
    });
    setFileName(name);
    if (!created) return 0;
    setOpenForAccess();
    return 1;
}

int BankStream::createUnnamedTemp(std::string_view prefix, bool inDirectory, std::string_view directory) {
    setFileName({});
    if (!ownFile_ || !platform::createUnnamedTempFile(*ownFile_, tempNames(prefix, inDirectory, directory))) return 0;
    unnamed_ = true;
    setOpenForAccess();
    return 1;
}

int BankStream::nameTemp(std::string& name, std::string_view prefix, bool inDirectory,
                         std::string_view directory) {
    if (!unnamed_ || !isOpen()) return 0;
    const bool named = claimTempName(name, prefix, inDirectory, directory, [&](const platform::TempNames& names) {
        return platform::nameTempFile(*file_, names, platform::OnRefusal::TryNextName);
    });
    if (!named) return 0;
    unnamed_ = false;
    fileName_ = name;
    state_ |= nameSet;
    return 1;
}

}  // namespace calyx::bank
