// Writes a loaded bank into a new file: the data laid out anew, padded, and
// shared where two samples are the very same bytes. The writer owns the
// temporary file, the layout and the copy; the bank describes its old file
// until `commit` is called once the new one has taken the target's place.
// A failed write says which step failed, for which resource, and what the
// system answered there.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bank/bank_stream.h"
#include "bank/sample_source.h"
#include "bank/sound_bank.h"

namespace calyx::bank {

class SampleDataWriter;

// The step of a save that failed.
enum class SaveStep {
    None,
    TargetName,     // the target's name does not end in ".bnm": nothing was written
    EmptyBank,      // the bank came from an empty file: there is nothing to write
    TemporaryFile,  // no temporary file could be made (its folder in `place`)
    TooLarge,       // the bank's offsets would not fit in 32 bits
    Header,         // the header and records could not be written
    SampleData,     // a sample could not be read or written (`resource`)
    Flush,          // the new file could not be flushed to the disk
    Naming,         // the complete unnamed file could not be given its name
    Closing,        // the new file could not be closed
    Replace,        // the new file could not take the target's place
};

struct SaveFailure {
    SaveStep step = SaveStep::None;
    // The bank's code for the failure, which chooses its message.
    BankError bankError = BankError::None;
    // The resource whose sample failed, by index.
    std::optional<std::size_t> resource;
    // What the system answered to the failed call (an errno value), 0 when
    // no system call failed.
    int systemError = 0;
    // The folder of a TemporaryFile failure.
    std::string place;

    bool failed() const { return step != SaveStep::None; }
};

class BankWriter {
public:
    // Hears the sample bytes written so far and in all, after each sample.
    using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

    // A save of `bank` under `targetPath` (whose name its external samples
    // of the second game take when the bank has none for them).
    BankWriter(SoundBank& bank, std::string targetPath);
    // Removes a temporary file that did not take the target's place.
    ~BankWriter();
    BankWriter(const BankWriter&) = delete;
    BankWriter& operator=(const BankWriter&) = delete;

    // Writes the whole bank into a new temporary file in the folder of
    // `besidePath`, flushed and named; then `tempPath` names it.
    SaveFailure writeTemporary(const std::string& besidePath, const Progress& progress);
    const std::string& tempPath() const { return tempPath_; }
    // The temporary file has taken the target's place: the bank now
    // describes the file saved under `savedPath`.
    void commit(const std::string& savedPath);

private:
    // Where one resource's data goes in the new file.
    struct Place {
        std::int64_t newOffset = -1;  // -1: no data of its own in the new file
        std::uint32_t size = 0;       // padded, as the record gives it
        std::uint32_t padBytes = 0;
        bool shared = false;          // another resource's copy
        SampleSource source;
    };
    // What the commit gives a resource: nothing, its record as written, or
    // that record and the file name the save gave it.
    enum class Commit : std::uint8_t { None, Record, RecordAndFileName };

    bool needsSpace(const SoundResource& resource) const;
    void layOut();
    SaveFailure writeBank(const Progress& progress);
    std::vector<std::uint8_t> headerAndRecords(std::uint32_t dataStart);
    SaveFailure copySamples(const Progress& progress, std::uint32_t newDataStart);
    DataCopyResult copyResourceData(std::size_t index, SampleDataWriter& output, std::uint32_t newDataStart);
    DataCopyResult openCopySource(const std::string& path, SampleDataWriter& output, BankStream*& source);

    SoundBank& bank_;
    std::string targetPath_;
    BankStream out_;
    std::string tempPath_;
    bool handedOver_ = false;
    std::vector<Place> places_;
    std::int64_t mainAreaSize_ = 0;
    std::int64_t externalAreaSize_ = 0;
    SoundBank::Header newHeader_{};
    // The header and records as written, the resource records from `recordsAt_`.
    std::vector<std::uint8_t> table_;
    std::size_t recordsAt_ = 0;
    std::vector<Commit> committed_;  // one per resource
    bool complete_ = false;
    // The source file of the data copy, kept open across resources.
    BankStream copySource_;
    std::string copySourcePath_;
    std::int64_t copySourceLength_ = -1;
    int copyError_ = 0;
};

}  // namespace calyx::bank
