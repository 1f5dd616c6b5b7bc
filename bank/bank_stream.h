// The editor's own file stream: a file name held inside the stream, separate
// permissions for reading and writing, opening on first use, seeking past the
// end with zero fill, skipping by reading, retried short reads, numbered
// temporary files, and attachment to a document's archive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file.h"
#include "platform/temp_file.h"

namespace calyx::bank {

class BankArchive;

class BankStream {
public:
    // Bits of `state()`.
    static constexpr std::uint32_t nameSet = 0x01;
    static constexpr std::uint32_t openForWriting = 0x02;
    static constexpr std::uint32_t openForReading = 0x04;
    static constexpr std::uint32_t readingAllowed = 0x08;
    static constexpr std::uint32_t writingAllowed = 0x10;

    // Rounds of names that `createTemp` tries before and after its cleanup.
    static constexpr int tempNameCount = 20;

    // The stream's own file object may be given (tests stand in for the
    // operating system with it).
    explicit BankStream(std::unique_ptr<platform::File> ownFile = std::make_unique<platform::File>());
    BankStream(const BankStream&) = delete;
    BankStream& operator=(const BankStream&) = delete;
    virtual ~BankStream();

    void setFileName(std::string_view name);
    void setAccess(bool readAllowed, bool writeAllowed);
    int open();
    void close();
    int read(void* buffer, std::int64_t length);
    int write(const void* data, std::int64_t length);
    int tell(std::int64_t& position) const;
    int seek(std::int64_t position);
    int writeZeros(std::int64_t count);
    int skip(std::int64_t count);
    void attachToArchive(BankArchive& archive);
    // Forces what was written to the disk; false when that failed.
    bool flush();
    // Closes the file and says whether the system accepted the close (a
    // failed close can lose written data).
    bool closeChecked();
    int createTemp(std::string& name, std::string_view prefix, bool inDirectory,
                   std::string_view directory);
    // A temporary file that has no name until it is complete: opened in the
    // folder of createTemp()'s series for what setAccess() allows, it takes
    // the first free name of the series by nameTemp(), with the same rounds
    // and cleanup. Closed before, or with its program killed, it leaves
    // nothing. 0 where the system has no files without a name: createTemp()
    // then serves.
    int createUnnamedTemp(std::string_view prefix, bool inDirectory, std::string_view directory);
    int nameTemp(std::string& name, std::string_view prefix, bool inDirectory, std::string_view directory);

    std::uint32_t state() const { return state_; }
    bool archiveMode() const { return archiveMode_ != 0; }
    const std::string& fileName() const { return fileName_; }
    // The open file itself, for positioned reads and writes and copies made
    // by the system; null while closed or attached to an archive, whose
    // buffer every byte must pass through.
    platform::File* openFile() const { return isOpen() && !archiveMode_ ? file_ : nullptr; }
    // The file's length, or -1 when it is not open.
    std::int64_t fileLength() const;

private:
    bool isOpen() const { return (state_ & (openForReading | openForWriting)) != 0; }
    std::string tempName(int number, std::string_view prefix, bool inDirectory,
                         std::string_view directory) const;
    platform::TempNames tempNames(std::string_view prefix, bool inDirectory, std::string_view directory) const;
    // One round of the series' names through `claim` (creation or naming),
    // then, when every name was taken, a cleanup of stale files and a second
    // round; `name` is the name claimed, or the last one tried.
    bool claimTempName(std::string& name, std::string_view prefix, bool inDirectory, std::string_view directory,
                       const std::function<platform::TempFileResult(const platform::TempNames&)>& claim);
    void setOpenForAccess();

    BankArchive* archive_ = nullptr;
    int archiveMode_ = 0;
    std::uint32_t state_ = readingAllowed | writingAllowed;
    platform::File* file_;
    std::unique_ptr<platform::File> ownFile_;
    // Kept whole: a name cut to a fixed width would open another file.
    std::string fileName_;
    bool unnamed_ = false;  // open on a file that has no name yet
};

}  // namespace calyx::bank
