// Writing a SoundBank into a new bank file: the data is laid out anew,
// padded, and shared where two samples are the very same bytes.
#include <algorithm>
#include <cerrno>
#include <new>
#include <unordered_map>

#include "bank/bank_archive.h"
#include "bank/sample_data_writer.h"
#include "bank/sound_bank.h"
#include "platform/byte_order.h"
#include "platform/file.h"
#include "platform/host_name.h"
#include "platform/path.h"
#include "platform/read_file.h"
#include "platform/safe_replace.h"

namespace calyx::bank {
namespace {

constexpr std::string_view tempPrefixName = "~Calyx";
// A companion holds a few kilobytes of names; a file far larger is not one
// and is not copied.
constexpr std::size_t maxCompanionBytes = std::size_t{256} << 20;
constexpr std::string_view bankExtension = ".bnm";

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

}  // namespace

bool SoundBank::needsSpace(const SoundResource& r) const {
    if (!r.isSample()) return false;
    if (r.isStored()) return true;
    // New data for a sample whose bytes lay elsewhere gets a place in the
    // bank, except for the first game's external samples, which live in
    // files of their own.
    return r.isReplaced() && !(flavor() == BankFlavor::K7TQ && r.isExternal());
}

namespace {

// Where a resource's bytes come from, for deciding whether two samples can
// share one copy in the saved file.
struct DataIdentity {
    bool wav = false;
    bool plain = false;
    bool fromOtherBank = false;
    LinkKey linkKey = 0;
    std::string file;  // replacement or plain file (lower case)
    SourceArea area = SourceArea::MainArea;
    std::int64_t offset = 0;
    // The sample's own bytes and the space they take once padded: a copy
    // counts its source's bytes and a stored sample its record's size, and
    // only the padding may differ between the two.
    std::uint32_t ownSize = 0;
    std::uint32_t paddedSize = 0;
    bool operator==(const DataIdentity&) const = default;
};

// Called once the resource's padded size is known.
DataIdentity identityOf(const SoundResource& r) {
    DataIdentity id;
    id.paddedSize = r.currentSize();
    id.ownSize = r.currentSize() - static_cast<std::uint32_t>(r.padBytes());
    const std::uint32_t flags = r.linkFlags();
    if (r.isReplaced() && (!(flags & pasted) || r.sourceIsWav())) {
        id.wav = true;
        id.file = platform::toLower(r.displayFileName());
    } else if (r.isReplaced() && (flags & sourceIsPlainFile)) {
        id.plain = true;
        id.file = platform::toLower(r.displayFileName());
    } else {
        id.fromOtherBank = r.isReplaced() && (flags & fromBank);
        id.linkKey = id.fromOtherBank ? r.linkKey() : 0;
        id.area = r.sourceArea();
        id.offset = r.sourceOffset();
    }
    return id;
}

}  // namespace

void SoundBank::layOut() {
    const bool tq2 = flavor() == BankFlavor::TQ2;
    const std::int64_t dataStart = std::int64_t{headerLength()} +
                                   std::int64_t{auxRecordLength} * auxRecords_.size() +
                                   std::int64_t{ResourceRecord::size} * resources_.size();
    std::vector<DataIdentity> identities(resources_.size());
    // Resources that got space of their own, by lower-case display name.
    std::unordered_map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < resources_.size(); ++i) {
        SoundResource& r = *resources_[i];
        r.newOffset_ = -1;
        if (!needsSpace(r)) continue;
        r.paddedSize();
        identities[i] = identityOf(r);
        const std::string name = platform::toLower(r.displayFileName());
        // Samples of one name share their data only when they are the same
        // bytes in the same area; an empty name or a bank file never shares.
        const bool mayShare = !name.empty() && !platform::hasExtension(name, bankExtension);
        if (mayShare) {
            bool shared = false;
            for (std::size_t j : byName[name]) {
                const SoundResource& e = *resources_[j];
                if ((tq2 && e.isExternal() != r.isExternal()) || !(identities[j] == identities[i])) continue;
                r.copyLayoutFrom(e);
                sharesData_[i] = true;
                shared = true;
                break;
            }
            if (shared) continue;
            byName[name].push_back(i);
        }
        if (tq2 && r.isExternal()) {
            r.newOffset_ = dataStart + externalAreaSize_;
            externalAreaSize_ += r.currentSize_;
        } else {
            r.newOffset_ = mainAreaSize_;
            mainAreaSize_ += r.currentSize_;
        }
    }
}

void SoundBank::save(BankArchive* archive) {
    if (magic_ == 0) return;
    pendingCommit_.reset();
    tempPath_.clear();
    const bool viaTemp = saveViaTemp_;
    saveViaTemp_ = false;

    BankStream& out = stream_;
    std::string tempPrefix;
    bool unnamedTemp = false;
    if (!viaTemp) {
        if (!archive) {
            recordError(BankError::SourceMissing);
            return;
        }
        out.attachToArchive(*archive);
    } else {
        const std::string path =
            tempFolder_ == TempFolder::BesideTarget ? saveTargetPath_ : bankPath_.value_or(std::string());
        const std::size_t sep = platform::lastSeparator(path);
        tempPrefix = (sep == std::string::npos ? std::string(".") : path.substr(0, sep)) + "\\" +
                     std::string(tempPrefixName);
        out.setAccess(true, true);
        tempFileError_ = 0;
        // Where the system allows it the new bank has no name until it is
        // complete and on the disk: a save killed before leaves nothing.
        unnamedTemp = out.createUnnamedTemp(tempPrefix, false, {}) != 0;
        std::string name;
        if (!unnamedTemp && !out.createTemp(name, tempPrefix, false, {})) {
            tempFileError_ = errno != 0 ? errno : EIO;
            recordError(BankError::SourceMissing);
            return;
        }
        tempPath_ = name;
    }

    const bool k7 = flavor() == BankFlavor::K7TQ;
    const bool tq2 = !k7;
    Header h = header_;
    if (k7) h[8] = h[10];
    mainAreaSize_ = 0;
    externalAreaSize_ = 0;
    sharesData_.assign(resources_.size(), false);
    layOut();

    const std::uint64_t dataStart = std::uint64_t{headerLength()} +
                                    std::uint64_t{auxRecordLength} * auxRecords_.size() +
                                    std::uint64_t{ResourceRecord::size} * resources_.size();
    const std::uint64_t end = dataStart + mainAreaSize_ + externalAreaSize_;
    if (end > UINT32_MAX) {
        // Offsets in a bank are 32-bit: such a bank cannot be written.
        recordError(BankError::Other);
        out.close();
        return;
    }
    newHeader_ = h;
    newHeader_[2] = static_cast<std::uint32_t>(auxRecords_.size());
    newHeader_[4] = static_cast<std::uint32_t>(resources_.size());
    const auto d = static_cast<std::uint32_t>(dataStart);
    newHeader_[5] = newHeader_[6] = newHeader_[7] = d;
    if (k7) {
        newHeader_[8] = static_cast<std::uint32_t>(end);
    } else {
        newHeader_[8] = newHeader_[9] = static_cast<std::uint32_t>(dataStart + mainAreaSize_);
        newHeader_[10] = static_cast<std::uint32_t>(end);
    }
    // Header, 32-byte records and resource records go out in one write.
    std::vector<std::uint8_t> table(static_cast<std::size_t>(dataStart));
    for (std::uint32_t i = 0; i < headerLength() / 4; ++i) platform::writeLe32(table.data() + 4 * i, newHeader_[i]);
    std::size_t tableAt = headerLength();
    for (const AuxRecord& aux : auxRecords_) {
        std::copy(aux.begin(), aux.end(), table.begin() + static_cast<long>(tableAt));
        tableAt += aux.size();
    }

    for (auto& r : resources_)
        if (tq2 && r->isExternal() && r->newOffset_ >= 0) r->newOffset_ += mainAreaSize_;

    // The records as written; the commit gives them to the resources.
    PendingCommit commit;
    commit.header = newHeader_;
    commit.records.resize(resources_.size());
    const std::string externalName = externalDataName_ ? *externalDataName_ : saveTargetPath_;
    // A name taken from a host path is recorded as the game's 8-bit text.
    const std::string externalFileName =
        externalDataName_ ? std::string(platform::lastComponent(externalName)) : platform::gameFileName(externalName).latin1;
    for (std::size_t i = 0; i < resources_.size(); ++i) {
        SoundResource& r = *resources_[i];
        ResourceRecord rec = r.record_;
        bool fileNameSet = false;
        if (r.isSample()) {
            if (r.newOffset_ >= 0) {
                rec.setWord(ResourceRecord::dataSizeAt, r.currentSize_);
                rec.setWord(ResourceRecord::dataOffsetAt, static_cast<std::uint32_t>(r.newOffset_));
            } else if (r.isReplaced()) {
                rec.setWord(ResourceRecord::dataSizeAt, r.currentSize_);
            }
            rec.bytes[ResourceRecord::volumeAt] = static_cast<std::uint8_t>(r.volume());
            if (r.isReplaced()) {
                rec.setWord(ResourceRecord::storedAt, k7 && r.isExternal() ? 0 : 1);
                if (r.isLooping()) {
                    rec.setWord(ResourceRecord::loopStartAt, r.currentLoopStart_);
                    rec.setWord(ResourceRecord::loopEndAt, r.currentLoopEnd_);
                }
                if (r.replacementPath_) {
                    rec.setFileName(tq2 && r.isExternal()
                                        ? externalFileName
                                        : platform::gameFileName(*r.replacementPath_).latin1);
                    fileNameSet = true;
                }
            } else if (tq2 && r.isExternal()) {
                rec.setFileName(externalFileName);
                fileNameSet = true;
            }
            commit.records[i] = CommitRecord{rec, fileNameSet};
        }
        std::copy(rec.bytes.begin(), rec.bytes.end(), table.begin() + static_cast<long>(tableAt));
        tableAt += ResourceRecord::size;
    }
    // A header that cannot be written stops the save.
    if (!out.write(table.data(), static_cast<std::int64_t>(table.size()))) {
        recordError(BankError::SourceMissing);
        out.close();
        return;
    }
    table = {};

    // The data in file order: the main area, then the second game's
    // external area, so that the new file grows without gaps.
    DataCopyResult result = DataCopyResult::Done;
    const std::uint32_t oldMainStart = header_[7];
    SampleDataWriter writer(out);
    std::uint64_t bytesToWrite = 0;
    std::uint64_t bytesWritten = 0;
    for (std::size_t i = 0; i < resources_.size(); ++i)
        if (resources_[i]->isSample() && !sharesData_[i]) bytesToWrite += resources_[i]->currentSize_;
    for (int area = 0; area < 2 && result == DataCopyResult::Done; ++area) {
        if (area == 1 && !tq2) continue;
        for (std::size_t i = 0; i < resources_.size() && result == DataCopyResult::Done; ++i) {
            SoundResource& r = *resources_[i];
            if (!r.isSample() || sharesData_[i]) continue;
            const bool externalArea = tq2 && r.isExternal();
            if (externalArea != (area == 1)) continue;
            result = copyResourceData(r, writer, oldMainStart, d);
            bytesWritten += r.currentSize_;
            if (saveProgress_ && result == DataCopyResult::Done) saveProgress_(bytesWritten, bytesToWrite);
        }
    }
    if (result == DataCopyResult::Done) result = toCopyResult(writer.finish());
    if (result != DataCopyResult::Done) recordError(toBankError(result));

    copySource_.close();
    copySourcePath_.clear();
    const bool flushed = out.flush();
    bool named = true;
    if (unnamedTemp && result == DataCopyResult::Done && flushed) {
        // Named only now, right before the document moves it into place.
        std::string name;
        named = out.nameTemp(name, tempPrefix, false, {}) != 0;
        if (named) tempPath_ = name;
    }
    const bool closed = out.closeChecked();
    if (result == DataCopyResult::Done && (!flushed || !named || !closed)) recordError(BankError::SourceMissing);
    if (errorCode_ != BankError::None) return;

    pendingCommit_ = std::move(commit);
    if (!viaTemp) commitSave(bankPath_.value_or(std::string()));
}

DataCopyResult SoundBank::openCopySource(const std::string& path, SampleDataWriter& output, BankStream*& source) {
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
    if (!copySource_.open()) return DataCopyResult::SourceMissing;
    copySourcePath_ = path;
    copySourceLength_ = copySource_.fileLength();
    source = &copySource_;
    return DataCopyResult::Done;
}

DataCopyResult SoundBank::copyResourceData(SoundResource& r, SampleDataWriter& output, std::uint32_t oldDataStart,
                                           std::uint32_t newDataStart) {
    if (!(r.isReplaced() || r.isStored()) || r.newOffset_ < 0) return DataCopyResult::Done;
    const std::uint32_t flags = r.linkFlags();
    const std::uint32_t own = r.currentSize_ - static_cast<std::uint32_t>(r.padBytes_);

    std::int64_t start = 0;
    const bool wav = r.isReplaced() && (!(flags & pasted) || r.sourceIsWav());
    const bool plain = wav || (r.isReplaced() && (flags & sourceIsPlainFile));
    BankStream* source = nullptr;
    if (plain) {
        std::string file = r.displayFileName();
        if (wav) {
            std::uint32_t chunkLength = 0;
            if (!wavLocator_ || !wavLocator_(file, start, chunkLength)) return DataCopyResult::SourceMissing;
        } else if (auto found = findInCandidates(file, graveMark, graveMark)) {
            // The game's own external samples lie in its data folders.
            file = *found;
        }
        if (const auto opened = openCopySource(file, output, source); opened != DataCopyResult::Done) return opened;
    } else {
        const bool otherBank = r.isReplaced() && (flags & fromBank);
        std::optional<std::string> path = bankPath_;
        if (otherBank) path = resolver_ ? resolver_(r.linkKey()) : std::nullopt;
        if (!path || path->empty()) return DataCopyResult::SourceMissing;
        if (const auto opened = openCopySource(*path, output, source); opened != DataCopyResult::Done) return opened;
        std::uint32_t base = 0;
        if (r.sourceArea() == SourceArea::MainArea) {
            base = oldDataStart;
            if (otherBank) {
                std::uint8_t b[4];
                if (!source->seek(mainAreaWordOffset) || !source->read(b, 4)) return DataCopyResult::SourceMissing;
                base = platform::readLe32(b);
            }
        }
        start = std::int64_t{base} + r.sourceOffset();
    }

    // Bytes the source does not hold are never asked for.
    if (start < 0 || copySourceLength_ < 0 || start + own > copySourceLength_) return DataCopyResult::ReadFailed;
    const bool externalArea = flavor() == BankFlavor::TQ2 && r.isExternal();
    const std::int64_t at = externalArea ? r.newOffset_ : std::int64_t{newDataStart} + r.newOffset_;
    // Padding repeats the sample's last byte.
    return toCopyResult(output.copy(*source, start, own, static_cast<std::uint32_t>(r.padBytes_), at));
}

void SoundBank::commitSave(const std::string& savedPath) {
    if (!pendingCommit_) return;
    PendingCommit commit = std::move(*pendingCommit_);
    pendingCommit_.reset();
    header_ = commit.header;
    if (flavor() == BankFlavor::K7TQ) {
        header_[10] = header_[8];
        header_[8] = header_[9] = header_[5];
    }
    for (std::size_t i = 0; i < resources_.size() && i < commit.records.size(); ++i)
        if (commit.records[i]) resources_[i]->commitSaved(commit.records[i]->written, commit.records[i]->fileNameSet);
    bankPath_ = savedPath;
}

int SoundBank::copyCompanionFile(const std::string& newBankPath) {
    if (!bankPath_ || bankPath_->empty() || newBankPath.empty()) return 0;
    const std::string from = companionPath(*bankPath_);
    const std::string to = companionPath(newBankPath);
    // Copying a file onto itself would empty it.
    if (platform::sameFile(from, to)) {
        bankPath_ = newBankPath;
        return 1;
    }
    const platform::ReadFileResult contents = platform::readFile(from, maxCompanionBytes);
    if (!contents || !platform::replaceFileContents(to, contents.bytes)) return 0;
    bankPath_ = newBankPath;
    return 1;
}

}  // namespace calyx::bank
