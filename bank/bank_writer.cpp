#include "bank/bank_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <unordered_map>

#include "bank/bank_file_name.h"
#include "bank/sample_data_writer.h"
#include "bank/sample_reading.h"
#include "platform/byte_order.h"
#include "platform/file.h"
#include "platform/host_name.h"
#include "platform/memory.h"
#include "platform/path.h"

namespace calyx::bank {
namespace {

constexpr std::string_view tempPrefixName = "~Calyx";

// A write that failed reads as a missing source: the bank's codes have no
// write error of their own.
DataCopyResult toCopyResult(SampleDataWriter::Result result) {
    switch (result) {
    case SampleDataWriter::Done: return DataCopyResult::Done;
    case SampleDataWriter::ReadFailed: return DataCopyResult::ReadFailed;
    case SampleDataWriter::NoMemory: return DataCopyResult::NoMemory;
    case SampleDataWriter::WriteFailed: break;
    }
    return DataCopyResult::SourceMissing;
}

BankError toBankError(DataCopyResult result) {
    switch (result) {
    case DataCopyResult::Done: return BankError::None;
    case DataCopyResult::ReadFailed: return BankError::SourceUnreadable;
    case DataCopyResult::SourceMissing: return BankError::SourceMissing;
    case DataCopyResult::NoMemory: return BankError::NoMemory;
    }
    return BankError::Other;
}

// A step that failed, with the errno its system call left; the bank's code
// for such a failure is "source missing", whose text says the write failed.
SaveFailure failedAt(SaveStep step, int systemError, BankError code = BankError::SourceMissing) {
    SaveFailure failure;
    failure.step = step;
    failure.bankError = code;
    failure.systemError = systemError;
    return failure;
}

}  // namespace

BankWriter::BankWriter(SoundBank& bank, std::string targetPath) : bank_(bank), targetPath_(std::move(targetPath)) {}

BankWriter::~BankWriter() {
    out_.close();
    copySource_.close();
    if (!handedOver_ && !tempPath_.empty()) platform::deleteFile(tempPath_);
}

bool BankWriter::needsSpace(const SoundResource& r) const {
    if (!r.isSample()) return false;
    if (r.isStored()) return true;
    // New data for a sample whose bytes lay elsewhere gets a place in the
    // bank, except for the first game's external samples, which live in
    // files of their own.
    return r.isReplaced() && !(bank_.flavor() == BankFlavor::K7TQ && r.isExternal());
}

void BankWriter::layOut() {
    const bool tq2 = bank_.flavor() == BankFlavor::TQ2;
    const auto& resources = bank_.resources_;
    const std::int64_t dataStart = std::int64_t{bank_.headerLength()} +
                                   std::int64_t{auxRecordLength} * bank_.auxRecords_.size() +
                                   std::int64_t{ResourceRecord::size} * resources.size();
    places_.clear();
    places_.reserve(resources.size());
    platform::faultIn(places_.data(), resources.size() * sizeof(Place));
    places_.assign(resources.size(), Place{});
    // Resources that got space of their own, by lower-case display name: the
    // first and last of each name, each linked to the next of its name.
    constexpr std::size_t none = SIZE_MAX;
    // Its entries and buckets come from one block faulted in at once.
    constexpr std::size_t bytesPerName = 96;
    const std::size_t tableBytes = (resources.size() + 16) * bytesPerName;
    const auto tableMemory = platform::newFaultedIn(tableBytes);
    std::pmr::monotonic_buffer_resource tableArena(tableMemory.get(), tableBytes);
    std::pmr::unordered_map<std::string, std::pair<std::size_t, std::size_t>> byName(&tableArena);
    byName.reserve(resources.size());
    std::vector<std::size_t> nextOfName(resources.size(), none);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const SoundResource& r = *resources[i];
        Place& place = places_[i];
        place.size = r.currentSize();
        if (!needsSpace(r)) continue;
        place.source = r.currentSource();
        place.size = place.source.paddedSize;
        place.padBytes = place.source.paddedSize - place.source.ownSize;
        const std::string name = platform::toLower(r.displayFileName());
        // Samples of one name share their data only when they are the same
        // bytes in the same area; an empty name or a bank file never shares.
        const bool mayShare = !name.empty() && !isBankFileName(name);
        if (mayShare) {
            const auto [named, isNew] = byName.try_emplace(name, i, i);
            std::size_t same = isNew ? none : named->second.first;
            while (same != none && ((tq2 && resources[same]->isExternal() != r.isExternal()) ||
                                    !sameBytes(places_[same].source, place.source)))
                same = nextOfName[same];
            if (same != none) {
                // One copy, laid out as the first of them asked.
                const SampleSource own = std::move(place.source);
                place = places_[same];
                place.source = own;
                place.shared = true;
                continue;
            }
            if (!isNew) {
                nextOfName[named->second.second] = i;
                named->second.second = i;
            }
        }
        if (tq2 && r.isExternal()) {
            place.newOffset = dataStart + externalAreaSize_;
            externalAreaSize_ += place.size;
        } else {
            place.newOffset = mainAreaSize_;
            mainAreaSize_ += place.size;
        }
    }
}

SaveFailure BankWriter::writeTemporary(const std::string& besidePath, const Progress& progress) {
    if (bank_.magic_ == 0) return failedAt(SaveStep::EmptyBank, 0, BankError::Other);
    const std::size_t sep = platform::lastSeparator(besidePath);
    const std::string folder = sep == std::string::npos ? std::string(".") : besidePath.substr(0, sep);
    const std::string tempPrefix = folder + "\\" + std::string(tempPrefixName);
    out_.setAccess(true, true);
    // Where the system allows it the new bank has no name until it is
    // complete and on the disk: a save killed before leaves nothing.
    const bool unnamed = out_.createUnnamedTemp(tempPrefix, false, {}) != 0;
    if (!unnamed) {
        std::string name;
        if (!out_.createTemp(name, tempPrefix, false, {})) {
            SaveFailure failure = failedAt(SaveStep::TemporaryFile, errno != 0 ? errno : EIO);
            failure.place = std::string(platform::directoryPart(besidePath));
            return failure;
        }
        tempPath_ = name;
    }
    SaveFailure failure = writeBank(progress);
    copySource_.close();
    copySourcePath_.clear();
    if (!failure.failed() && !out_.flush()) failure = failedAt(SaveStep::Flush, errno);
    if (!failure.failed() && unnamed) {
        // Named only now, right before it is moved into place.
        std::string name;
        if (out_.nameTemp(name, tempPrefix, false, {}) != 0)
            tempPath_ = name;
        else
            failure = failedAt(SaveStep::Naming, errno);
    }
    if (!out_.closeChecked() && !failure.failed()) failure = failedAt(SaveStep::Closing, errno);
    complete_ = !failure.failed();
    return failure;
}

std::vector<std::uint8_t> BankWriter::headerAndRecords(std::uint32_t dataStart) {
    const bool k7 = bank_.flavor() == BankFlavor::K7TQ;
    const bool tq2 = !k7;
    const auto& resources = bank_.resources_;
    std::vector<std::uint8_t> table;
    table.reserve(dataStart);
    platform::faultIn(table.data(), dataStart);
    table.resize(dataStart);
    for (std::uint32_t i = 0; i < bank_.headerLength() / 4; ++i)
        platform::writeLe32(table.data() + 4 * i, newHeader_[i]);
    std::size_t tableAt = bank_.headerLength();
    for (const AuxRecord& aux : bank_.auxRecords_) {
        std::copy(aux.begin(), aux.end(), table.begin() + static_cast<long>(tableAt));
        tableAt += aux.size();
    }
    // The records as written stay in the table; the commit gives them to
    // the resources.
    recordsAt_ = tableAt;
    committed_.assign(resources.size(), Commit::None);
    const std::optional<std::string>& externalDataName = bank_.externalDataName();
    const std::string externalName = externalDataName ? *externalDataName : targetPath_;
    // A name taken from a host path is recorded as the game's 8-bit text.
    const std::string externalFileName = externalDataName ? std::string(platform::lastComponent(externalName))
                                                          : platform::gameFileName(externalName).latin1;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const SoundResource& r = *resources[i];
        const Place& place = places_[i];
        ResourceRecord rec = r.record();
        bool fileNameSet = false;
        if (r.isSample()) {
            if (place.newOffset >= 0) {
                rec.setWord(ResourceRecord::dataSizeAt, place.size);
                rec.setWord(ResourceRecord::dataOffsetAt, static_cast<std::uint32_t>(place.newOffset));
            } else if (r.isReplaced()) {
                rec.setWord(ResourceRecord::dataSizeAt, place.size);
            }
            rec.bytes[ResourceRecord::volumeAt] = static_cast<std::uint8_t>(r.volume());
            if (r.isReplaced()) {
                rec.setWord(ResourceRecord::storedAt, k7 && r.isExternal() ? 0 : 1);
                if (r.isLooping()) {
                    rec.setWord(ResourceRecord::loopStartAt, r.currentLoopStart());
                    rec.setWord(ResourceRecord::loopEndAt, r.currentLoopEnd());
                }
                if (r.replacementPath()) {
                    rec.setFileName(tq2 && r.isExternal() ? externalFileName
                                                          : platform::gameFileName(*r.replacementPath()).latin1);
                    fileNameSet = true;
                }
            } else if (tq2 && r.isExternal()) {
                rec.setFileName(externalFileName);
                fileNameSet = true;
            }
            committed_[i] = fileNameSet ? Commit::RecordAndFileName : Commit::Record;
        }
        std::copy(rec.bytes.begin(), rec.bytes.end(), table.begin() + static_cast<long>(tableAt));
        tableAt += ResourceRecord::size;
    }
    return table;
}

SaveFailure BankWriter::writeBank(const Progress& progress) {
    const bool k7 = bank_.flavor() == BankFlavor::K7TQ;
    layOut();
    const std::uint64_t dataStart = std::uint64_t{bank_.headerLength()} +
                                    std::uint64_t{auxRecordLength} * bank_.auxRecords_.size() +
                                    std::uint64_t{ResourceRecord::size} * bank_.resources_.size();
    const std::uint64_t end = dataStart + mainAreaSize_ + externalAreaSize_;
    // Offsets in a bank are 32-bit: such a bank cannot be written.
    if (end > UINT32_MAX) return failedAt(SaveStep::TooLarge, 0, BankError::Other);
    newHeader_ = bank_.header_;
    if (k7) newHeader_[8] = newHeader_[10];
    newHeader_[2] = static_cast<std::uint32_t>(bank_.auxRecords_.size());
    newHeader_[4] = static_cast<std::uint32_t>(bank_.resources_.size());
    const auto d = static_cast<std::uint32_t>(dataStart);
    newHeader_[5] = newHeader_[6] = newHeader_[7] = d;
    if (k7) {
        newHeader_[8] = static_cast<std::uint32_t>(end);
    } else {
        newHeader_[8] = newHeader_[9] = static_cast<std::uint32_t>(dataStart + mainAreaSize_);
        newHeader_[10] = static_cast<std::uint32_t>(end);
        // External-area offsets become absolute file offsets.
        for (std::size_t i = 0; i < places_.size(); ++i)
            if (bank_.resources_[i]->isExternal() && places_[i].newOffset >= 0) places_[i].newOffset += mainAreaSize_;
    }
    // Header, 32-byte records and resource records go out in one write.
    table_ = headerAndRecords(d);
    if (!out_.write(table_.data(), static_cast<std::int64_t>(table_.size()))) return failedAt(SaveStep::Header, errno);
    return copySamples(progress, d);
}

SaveFailure BankWriter::copySamples(const Progress& progress, std::uint32_t newDataStart) {
    // The data in file order: the main area, then the second game's
    // external area, so that the new file grows without gaps.
    const auto& resources = bank_.resources_;
    const bool tq2 = bank_.flavor() == BankFlavor::TQ2;
    SampleDataWriter writer(out_);
    std::uint64_t bytesToWrite = 0;
    std::uint64_t bytesWritten = 0;
    for (std::size_t i = 0; i < resources.size(); ++i)
        if (resources[i]->isSample() && !places_[i].shared) bytesToWrite += places_[i].size;
    for (int area = 0; area < (tq2 ? 2 : 1); ++area) {
        for (std::size_t i = 0; i < resources.size(); ++i) {
            const SoundResource& r = *resources[i];
            if (!r.isSample() || places_[i].shared || (tq2 && r.isExternal()) != (area == 1)) continue;
            copyError_ = 0;
            const DataCopyResult result = copyResourceData(i, writer, newDataStart);
            if (result != DataCopyResult::Done) {
                SaveFailure failure = failedAt(SaveStep::SampleData, copyError_ ? copyError_ : writer.systemError(),
                                               toBankError(result));
                failure.resource = i;
                return failure;
            }
            bytesWritten += places_[i].size;
            if (progress) progress(bytesWritten, bytesToWrite);
        }
    }
    if (const DataCopyResult result = toCopyResult(writer.finish()); result != DataCopyResult::Done)
        return failedAt(SaveStep::SampleData, writer.systemError(), toBankError(result));
    return {};
}

DataCopyResult BankWriter::openCopySource(const std::string& path, SampleDataWriter& output, BankStream*& source) {
    source = nullptr;
    // Most samples come from one file: it stays open for the whole save.
    if (path == copySourcePath_ && copySource_.state() & BankStream::openForReading) {
        source = &copySource_;
        return DataCopyResult::Done;
    }
    // What is still to be copied from the file open now is copied before
    // another file takes its place.
    if (const auto pending = toCopyResult(output.finish()); pending != DataCopyResult::Done) return pending;
    copySourcePath_.clear();
    copySource_.setFileName(path);
    copySource_.setAccess(true, false);
    if (!copySource_.open()) {
        copyError_ = errno;
        return DataCopyResult::SourceMissing;
    }
    copySourcePath_ = path;
    copySourceLength_ = copySource_.fileLength();
    source = &copySource_;
    return DataCopyResult::Done;
}

DataCopyResult BankWriter::copyResourceData(std::size_t index, SampleDataWriter& output, std::uint32_t newDataStart) {
    const SoundResource& r = *bank_.resources_[index];
    const Place& place = places_[index];
    if (!(r.isReplaced() || r.isStored()) || place.newOffset < 0) return DataCopyResult::Done;
    const SampleSource& from = place.source;
    const auto path = sourceFilePath(bank_, from, bank_.sourceBankResolver());
    if (!path || path->empty()) return DataCopyResult::SourceMissing;
    BankStream* source = nullptr;
    if (const auto opened = openCopySource(*path, output, source); opened != DataCopyResult::Done) return opened;
    const auto start = sourceStart(from, *path, *source, bank_.mainAreaStart(), mainAreaWordOffset, bank_.wavDataLocator());
    if (!start) return DataCopyResult::SourceMissing;

    // Bytes the source does not hold are never asked for.
    if (*start < 0 || copySourceLength_ < 0 || *start + from.ownSize > copySourceLength_)
        return DataCopyResult::ReadFailed;
    const bool externalArea = bank_.flavor() == BankFlavor::TQ2 && r.isExternal();
    const std::int64_t at = externalArea ? place.newOffset : std::int64_t{newDataStart} + place.newOffset;
    // Padding repeats the sample's last byte.
    return toCopyResult(output.copy(*source, *start, from.ownSize, place.padBytes, at));
}

void BankWriter::commit(const std::string& savedPath) {
    if (!complete_) return;
    complete_ = false;
    handedOver_ = true;
    SoundBank::Header& header = bank_.header_;
    header = newHeader_;
    if (bank_.flavor() == BankFlavor::K7TQ) {
        header[10] = header[8];
        header[8] = header[9] = header[5];
    }
    for (std::size_t i = 0; i < bank_.resources_.size() && i < committed_.size(); ++i) {
        if (committed_[i] == Commit::None) continue;
        ResourceRecord written;
        const auto at = table_.begin() + static_cast<long>(recordsAt_ + i * ResourceRecord::size);
        std::copy(at, at + static_cast<long>(ResourceRecord::size), written.bytes.begin());
        bank_.resources_[i]->commitSaved(written, committed_[i] == Commit::RecordAndFileName);
    }
    bank_.bankPath_ = savedPath;
}

}  // namespace calyx::bank
