#include "bank/sound_resource.h"

#include <algorithm>

#include "bank/bank_stream.h"
#include "bank/sample_reading.h"
#include "bank/sound_bank.h"

namespace calyx::bank {
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
    const std::uint32_t n = dataSize();
    currentSize_ = paddedSizeOf(n, record_.padMode());
    padBytes_ = static_cast<std::int32_t>(currentSize_ - n);
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

void SoundResource::setFromBank(bool f) {
    linkFlags_ = f ? LinkFlag::fromBank : 0u;
}

void SoundResource::copyFrom(const SoundResource& source, bool fromBankFlag) {
    // The source's bytes are recorded where they are now, so that the next
    // save reads them and not whatever lies at the target's own place.
    const SampleSource from = source.currentSource();
    sourceIsWav_ = from.kind == SourceKind::Wav;
    std::uint32_t flags = pasted;
    if (sourceIsWav_) {
        flags |= sourceIsPlainFile;
        sourceArea_ = SourceArea::MainArea;
        sourceOffset_ = 0;
    } else {
        if (from.kind == SourceKind::GameFile) flags |= sourceIsPlainFile;
        // A paste keeps saying that its bytes came from another bank.
        const bool sourcePasted = source.replaced_ && (source.linkFlags_ & pasted);
        if (fromBankFlag || (sourcePasted && (source.linkFlags_ & fromBank))) flags |= fromBank;
        sourceArea_ = from.area;
        sourceOffset_ = from.offset;
    }
    linkFlags_ = flags;
    setReplacement(true, source.dataSize(), source.displayFileName());
    if (isLooping() && source.isLooping()) setLoop(source.record_.loopStart(), source.record_.loopEnd());
}

SampleSource SoundResource::sourceFor(std::uint32_t flags, std::int64_t offset, bool current) const {
    SampleSource source;
    source.ownSize = current ? currentSize_ : record_.dataSize();
    source.paddedSize = paddedSizeOf(source.ownSize, record_.padMode());
    const bool pastedHere = current && (flags & pasted);
    source.area = pastedHere ? sourceArea_ : ownArea();
    source.offset = offset;
    if (current && (!(flags & pasted) || sourceIsWav_)) {
        source.kind = SourceKind::Wav;
        source.fileName = displayFileName();
    } else if (current && (flags & sourceIsPlainFile)) {
        // A paste of a sample that lay in a file of its own: the game's
        // own external samples lie in its data folders.
        source.kind = SourceKind::GameFile;
        source.fileName = displayFileName();
    } else if (!pastedHere && !isStored()) {
        // The bank does not store it: the game's file of its name.
        source.kind = SourceKind::GameFile;
        source.fileName = listFileName();
        source.searchMark = isExternal() ? graveMark : scriptMark;
    } else if (pastedHere && (flags & fromBank)) {
        source.kind = SourceKind::OtherBank;
        source.linkKey = linkKey_;
    }
    return source;
}

SampleSource SoundResource::currentSource() const {
    return sourceFor(linkFlags_, sourceOffset_, replaced_);
}

SampleSource SoundResource::storedSource() const {
    return sourceFor(0, record_.dataOffset(), false);
}

int SoundResource::readSample(std::uint32_t dataStart, const std::string& path,
                              std::vector<std::uint8_t>& buffer, std::uint32_t& length,
                              std::uint32_t headerWordOffset, std::int64_t offset,
                              std::uint32_t flags, bool current) const {
    buffer.clear();
    length = 0;
    if (!isSample() || currentSize_ == 0) return 0;
    const SampleSource source = sourceFor(flags, offset, current);
    const std::string file = source.kind == SourceKind::Wav ? source.fileName : path;
    BankStream stream;
    stream.setAccess(true, false);
    stream.setFileName(file);
    if (!stream.open()) return 0;
    const auto start = sourceStart(source, file, stream, dataStart, headerWordOffset,
                                   bank_ ? bank_->wavDataLocator() : SoundBank::WavDataLocator());
    if (!start || !readBytesAt(stream, *start, source.ownSize, buffer)) return 0;
    length = source.ownSize;
    return 1;
}

void SoundResource::notifyChange() {
    if (bank_) bank_->notifyListeners(*this);
}

EditState SoundResource::editState() const {
    return {volumeOverride_, replaced_,  replacementPath_, currentSize_, currentLoopStart_, currentLoopEnd_,
            linkFlags_,      linkKey_,   sourceOffset_,    sourceArea_,  sourceIsWav_};
}

void SoundResource::restoreEditState(const EditState& state) {
    volumeOverride_ = state.volumeOverride;
    replaced_ = state.replaced;
    replacementPath_ = state.replacementPath;
    currentSize_ = state.currentSize;
    currentLoopStart_ = state.loopStart;
    currentLoopEnd_ = state.loopEnd;
    linkFlags_ = state.linkFlags;
    linkKey_ = state.linkKey;
    sourceOffset_ = state.sourceOffset;
    sourceArea_ = state.sourceArea;
    sourceIsWav_ = state.sourceIsWav;
    notifyChange();
}

void SoundResource::commitSaved(const ResourceRecord& written, bool fileNameSet) {
    record_ = written;
    replaced_ = false;
    replacementPath_.reset();
    currentSize_ = record_.dataSize();
    sourceOffset_ = record_.dataOffset();
    sourceArea_ = ownArea();
    sourceIsWav_ = false;
    linkFlags_ = 0;
    if (isLooping()) setLoop(record_.loopStart(), record_.loopEnd());
    if (fileNameSet) notifyChange();
}

}  // namespace calyx::bank
