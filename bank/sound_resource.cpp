#include "bank/sound_resource.h"

#include <algorithm>

#include "bank/bank_stream.h"
#include "bank/sound_bank.h"
#include "platform/byte_order.h"

namespace calyx::bank {
namespace {

constexpr std::uint32_t padModeEight = 2;

// Reads the little-endian word at `at` of the open stream.
bool readWordAt(BankStream& stream, std::int64_t at, std::uint32_t& value) {
    std::uint8_t b[4];
    if (!stream.seek(at) || !stream.read(b, 4)) return false;
    value = platform::readLe32(b);
    return true;
}

}  // namespace

std::int64_t SoundResource::idOrNone() const {
    if (kind() == static_cast<std::uint32_t>(ResourceKind::Empty)) return -1;
    return record_.id();
}

std::uint32_t SoundResource::dataSize() const {
    if (!isSample()) return 0;
    return replaced_ ? currentSize_ : record_.dataSize();
}

std::uint32_t SoundResource::paddedSize() {
    if (!isSample()) return 0;
    const std::uint64_t n = dataSize();
    std::uint64_t padded = record_.padMode() == padModeEight ? (n & ~std::uint64_t{7}) + 8
                                                             : (n + 3) & ~std::uint64_t{3};
    // A size at the top of the range cannot grow; such data cannot exist in
    // a file anyway, and the copy will say so.
    if (padded > UINT32_MAX) padded = n;
    currentSize_ = static_cast<std::uint32_t>(padded);
    padBytes_ = static_cast<std::int32_t>(padded - n);
    return currentSize_;
}

int SoundResource::volume() const {
    if (kind() == static_cast<std::uint32_t>(ResourceKind::Empty)) return -1;
    return volumeOverride_ != -1 ? volumeOverride_ : record_.volume();
}

void SoundResource::setVolume(int v) {
    if (v == volumeOverride_) return;
    volumeOverride_ = v;
    notifyChange();
}

std::string SoundResource::volumeText() const {
    if (kind() == static_cast<std::uint32_t>(ResourceKind::Empty)) return "-";
    return std::to_string(volume());
}

std::string SoundResource::displayFileName() const {
    const auto k = kind();
    if (k != static_cast<std::uint32_t>(ResourceKind::Sample) &&
        k != static_cast<std::uint32_t>(ResourceKind::CdAudio))
        return {};
    // A replacement names its file even where the record had none: its
    // bytes must be found at the next save.
    if (k == static_cast<std::uint32_t>(ResourceKind::Sample) && replaced_ && replacementPath_)
        return *replacementPath_;
    std::string name = record_.fileName();
    return name == noFileName ? std::string() : name;
}

std::string SoundResource::listFileName() const {
    if (kind() == static_cast<std::uint32_t>(ResourceKind::CdAudio)) return std::string(cdAudioFileName);
    if (!isSample()) return {};
    std::string name = record_.fileName();
    return name == noFileName ? std::string() : name;
}

void SoundResource::setNames(std::string_view name, std::string_view comment) {
    name_ = name.substr(0, std::min(name.size(), nameMax));
    comment_ = comment.substr(0, std::min(comment.size(), commentMax));
    // Texts stop at their first zero byte, as in the record's fixed fields.
    name_.resize(std::min(name_.size(), name_.find('\0')));
    comment_.resize(std::min(comment_.size(), comment_.find('\0')));
}

void SoundResource::setReplacement(bool replaced, std::uint32_t size,
                                   std::optional<std::string> path) {
    replaced_ = replaced;
    currentSize_ = size;
    if (isLooping()) setLoop(0, size);
    replacementPath_ = std::move(path);
    notifyChange();
}

void SoundResource::setLoop(std::uint32_t start, std::uint32_t end) {
    currentLoopStart_ = start;
    currentLoopEnd_ = end;
}

void SoundResource::copyLayoutFrom(const SoundResource& other) {
    newOffset_ = other.newOffset_;
    currentSize_ = other.currentSize_;
    padBytes_ = other.padBytes_;
}

void SoundResource::setFromBank(bool f) {
    linkFlags_ = f ? LinkFlag::fromBank : 0u;
}

void SoundResource::copyFrom(const SoundResource& source, bool fromBankFlag) {
    const bool sourcePendingWav = source.replaced_ && (!(source.linkFlags_ & pasted) || source.sourceIsWav_);
    const bool sourcePasted = source.replaced_ && (source.linkFlags_ & pasted);
    // The source's bytes are recorded where they are now, so that the next
    // save reads them and not whatever lies at the target's own place.
    std::uint32_t flags = 0;
    if (sourcePendingWav) {
        flags = pasted | sourceIsPlainFile;
        sourceIsWav_ = true;
        sourceArea_ = SourceArea::MainArea;
        sourceOffset_ = 0;
    } else if (sourcePasted) {
        flags = (source.linkFlags_ & (fromBank | sourceIsPlainFile)) | pasted;
        if (fromBankFlag) flags |= fromBank;
        sourceIsWav_ = source.sourceIsWav_;
        sourceArea_ = source.sourceArea_;
        sourceOffset_ = source.sourceOffset_;
    } else {
        flags = pasted | (fromBankFlag ? fromBank : 0u) | (source.isStored() ? 0u : sourceIsPlainFile);
        sourceIsWav_ = false;
        sourceArea_ = source.isExternal() && source.isStored() ? SourceArea::FileStart
                                                                : SourceArea::MainArea;
        sourceOffset_ = source.record_.dataOffset();
    }
    linkFlags_ = flags;
    setReplacement(true, source.dataSize(), source.displayFileName());
    if (isLooping() && source.isLooping()) setLoop(source.record_.loopStart(), source.record_.loopEnd());
}

int SoundResource::readSample(std::uint32_t dataStart, const std::string& path,
                              std::vector<std::uint8_t>& buffer, std::uint32_t& length,
                              std::uint32_t headerWordOffset, std::int64_t offset,
                              std::uint32_t flags, bool current) const {
    buffer.clear();
    length = 0;
    if (!isSample() || currentSize_ == 0) return 0;
    const std::uint32_t wanted = current ? currentSize_ : record_.dataSize();

    BankStream stream;
    stream.setAccess(true, false);
    std::int64_t start = 0;
    if ((!current || (flags & pasted)) && !(flags & sourceIsPlainFile)) {
        stream.setFileName(path);
        if (!stream.open()) return 0;
        if (isStored()) {
            const bool absolute = (flags & pasted) ? sourceArea_ == SourceArea::FileStart
                                                   : isExternal();
            std::uint32_t base = 0;
            if (!absolute) {
                if (flags & fromBank) {
                    if (!readWordAt(stream, headerWordOffset, base)) return 0;
                } else {
                    base = dataStart;
                }
            }
            start = offset + base;
        }
    } else {
        // An external resource's file was found by the caller; any other
        // plain file is the one the resource names.
        const std::string file = isExternal() ? path : displayFileName();
        const bool wav = replaced_ && (!(flags & pasted) || sourceIsWav_);
        if (wav) {
            std::uint32_t chunkLength = 0;
            if (!bank_ || !bank_->wavDataLocator() ||
                !bank_->wavDataLocator()(file, start, chunkLength))
                return 0;
        }
        stream.setFileName(file);
        if (!stream.open()) return 0;
    }
    // Nothing is allocated for bytes the file does not hold.
    const std::int64_t fileLength = stream.fileLength();
    if (start < 0 || fileLength < 0 || start + wanted > fileLength) return 0;
    if (!stream.seek(start)) return 0;
    buffer.resize(wanted);
    if (!stream.read(buffer.data(), wanted)) {
        buffer.clear();
        return 0;
    }
    length = wanted;
    return 1;
}

void SoundResource::notifyChange() {
    if (bank_) bank_->notifyListeners(*this);
}

void SoundResource::commitSaved(const ResourceRecord& written, bool fileNameSet) {
    record_ = written;
    replaced_ = false;
    replacementPath_.reset();
    currentSize_ = record_.dataSize();
    sourceOffset_ = record_.dataOffset();
    sourceArea_ = isExternal() && isStored() ? SourceArea::FileStart : SourceArea::MainArea;
    sourceIsWav_ = false;
    linkFlags_ = 0;
    if (isLooping()) setLoop(record_.loopStart(), record_.loopEnd());
    if (fileNameSet) notifyChange();
}

}  // namespace calyx::bank
