// Reading a bank file into a SoundBank.
#include <new>

#include "bank/bank_archive.h"
#include "bank/sound_bank.h"
#include "platform/byte_order.h"
#include "platform/memory.h"

namespace calyx::bank {
namespace {

bool readWord(BankArchive& archive, std::uint32_t& value) {
    std::uint8_t b[4];
    if (!archive.read(b, sizeof b)) return false;
    value = platform::readLe32(b);
    return true;
}

}  // namespace

LoadResult SoundBank::load(BankArchive& archive) {
    platform::File* file = archive.file();
    if (file) bankPath_ = file->fullPath();

    if (!readWord(archive, magic_)) {
        magic_ = 0;
        return LoadResult::Truncated;
    }
    header_[0] = magic_;
    chooseDirectories();
    const bool k7 = flavor() == BankFlavor::K7TQ;
    const int words = k7 ? 9 : 11;
    for (int i = 1; i < words; ++i)
        if (!readWord(archive, header_[i])) return LoadResult::Truncated;
    if (k7) {
        // In memory every header has the second game's shape.
        header_[10] = header_[8];
        header_[8] = header_[5];
        header_[9] = header_[5];
    }

    // The counts come from the file: records that cannot fit in it are
    // never allocated.
    const std::uint64_t needed = std::uint64_t{headerLength()} +
                                 std::uint64_t{auxRecordLength} * header_[2] +
                                 std::uint64_t{ResourceRecord::size} * header_[4];
    const std::int64_t fileLength = file ? file->length() : -1;
    if (fileLength >= 0 && needed > static_cast<std::uint64_t>(fileLength))
        return LoadResult::ImpossibleCounts;

    try {
        auxRecords_.reserve(header_[2]);
        for (std::uint32_t i = 0; i < header_[2]; ++i) {
            AuxRecord& aux = auxRecords_.emplace_back();
            if (!archive.read(aux.data(), aux.size())) return LoadResult::Truncated;
        }
        resources_.reserve(header_[4]);
        const std::size_t blockSize = std::size_t{header_[4]} * sizeof(SoundResource);
        std::byte* block = resourceBlocks_.emplace_back(platform::newFaultedIn(blockSize)).get();
        for (std::uint32_t i = 0; i < header_[4]; ++i) {
            auto* resource = new (block + i * sizeof(SoundResource)) SoundResource();
            resource->attachTo(this);
            SoundResource& r = *resources_.emplace_back(resource, ResourceDeleter{true});
            if (!archive.read(r.record_.bytes.data(), ResourceRecord::size)) return LoadResult::Truncated;
            if (!r.isSample()) continue;
            if (r.isLooping()) r.setLoop(r.record_.loopStart(), r.record_.loopEnd());
            r.sourceOffset_ = r.record_.dataOffset();
            r.currentSize_ = r.record_.dataSize();
            if (k7) {
                // The first game keeps external samples in files of their own.
                if (r.isExternal()) r.record_.setWord(ResourceRecord::storedAt, 0);
            } else if (r.isExternal()) {
                if (r.isStored()) r.sourceArea_ = SourceArea::FileStart;
                if (!externalDataName_ || externalDataName_->empty())
                    externalDataName_ = r.displayFileName();
            }
        }
    } catch (const std::bad_alloc&) {
        recordError(BankError::NoMemory);
        return LoadResult::Loaded;
    }
    readNames();
    return LoadResult::Loaded;
}

}  // namespace calyx::bank
