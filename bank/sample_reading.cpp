#include "bank/sample_reading.h"

#include "platform/byte_order.h"

namespace calyx::bank {

std::optional<std::string> sourceFilePath(const SoundBank& bank, const SampleSource& source,
                                          const SoundBank::SourceBankResolver& otherBanks,
                                          bool* foundInGameFolders) {
    if (foundInGameFolders) *foundInGameFolders = true;
    switch (source.kind) {
    case SourceKind::OwnBank: return bank.bankPath();
    case SourceKind::OtherBank: return otherBanks ? otherBanks(source.linkKey) : std::nullopt;
    case SourceKind::Wav: return source.fileName;
    case SourceKind::GameFile: break;
    }
    if (auto found = bank.findInCandidates(source.fileName, source.searchMark, source.searchMark)) return found;
    if (foundInGameFolders) *foundInGameFolders = false;
    return source.fileName;
}

std::optional<std::int64_t> sourceStart(const SampleSource& source, const std::string& path, BankStream& stream,
                                        std::uint32_t ownMainStart, std::uint32_t mainWordOffset,
                                        const SoundBank::WavDataLocator& wavLocator) {
    switch (source.kind) {
    case SourceKind::Wav: {
        std::int64_t start = 0;
        std::uint32_t chunkLength = 0;
        if (!wavLocator || !wavLocator(path, start, chunkLength)) return std::nullopt;
        return start;
    }
    case SourceKind::GameFile: return 0;
    case SourceKind::OwnBank:
    case SourceKind::OtherBank: break;
    }
    if (source.area == SourceArea::FileStart) return source.offset;
    if (source.kind == SourceKind::OwnBank) return std::int64_t{ownMainStart} + source.offset;
    std::uint8_t word[4];
    if (!stream.seek(mainWordOffset) || !stream.read(word, sizeof word)) return std::nullopt;
    return std::int64_t{platform::readLe32(word)} + source.offset;
}

bool readBytesAt(BankStream& stream, std::int64_t start, std::uint32_t size, std::vector<std::uint8_t>& buffer) {
    buffer.clear();
    // Nothing is allocated for bytes the file does not hold.
    const std::int64_t fileLength = stream.fileLength();
    if (start < 0 || fileLength < 0 || start + size > fileLength || !stream.seek(start)) return false;
    buffer.resize(size);
    if (!stream.read(buffer.data(), size)) {
        buffer.clear();
        return false;
    }
    return true;
}

SourceRead readSourceBytes(const SoundBank& bank, const SampleSource& source,
                           const SoundBank::SourceBankResolver& otherBanks, std::vector<std::uint8_t>& buffer) {
    buffer.clear();
    bool found = true;
    const auto path = sourceFilePath(bank, source, otherBanks, &found);
    if (!found) return SourceRead::NoGameFile;
    if (!path || path->empty()) return SourceRead::Failed;
    BankStream stream;
    stream.setAccess(true, false);
    stream.setFileName(*path);
    if (!stream.open()) return SourceRead::Failed;
    const auto start = sourceStart(source, *path, stream, bank.mainAreaStart(), mainAreaWordOffset, bank.wavDataLocator());
    if (!start || !readBytesAt(stream, *start, source.ownSize, buffer)) return SourceRead::Failed;
    return SourceRead::Read;
}

std::vector<std::size_t> samplesPastTheEnd(const SoundBank& bank, std::int64_t fileLength) {
    std::vector<std::size_t> cut;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) {
        const SoundResource& resource = *bank.resourceAt(i);
        if (!resource.isStored()) continue;
        const SampleSource source = resource.storedSource();
        if (source.kind != SourceKind::OwnBank) continue;
        const std::int64_t start = source.area == SourceArea::MainArea ? bank.mainAreaStart() : 0;
        if (start + source.offset + source.ownSize > fileLength) cut.push_back(i);
    }
    return cut;
}

}  // namespace calyx::bank

