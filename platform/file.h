// Files and folders, reached through any path form of path.h.
//
// `File` is the platform file object that the programs' own streams wrap.
// Its operations are virtual so that tests can stand in for the operating
// system (a file that delivers its bytes in pieces, a disk that fills up).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calyx::platform {

class File {
public:
    enum class Mode {
        Read,             // existing file, reading only
        CreateWrite,      // created or truncated, writing only
        CreateReadWrite,  // created or truncated, reading and writing
        CreateExclusive,  // created for reading and writing; fails when the name exists
        ReadWrite,        // existing file, reading and writing, not truncated
    };
    enum class Origin { Start, End };

    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    virtual ~File();

    // Opens `path` (any form); closes what was open before. False on failure.
    virtual bool open(std::string_view path, Mode mode);
    // Opens a new file that has no name, in the folder `folder`, for reading
    // and writing: no other program sees it, and it vanishes when it is
    // closed or its program dies, until giveName() names it. False where the
    // system or the folder's file system has no such files.
    virtual bool openUnnamed(std::string_view folder);
    // Gives the file that openUnnamed() opened the name `path`, in the
    // folder it was made in. Never replaces anything: false when the name
    // exists or the system refuses.
    virtual bool giveName(std::string_view path);
    virtual bool isOpen() const;
    // One read of at most `length` bytes: the count read, 0 at the end of the
    // file, -1 on failure. A short count is not a failure.
    virtual std::ptrdiff_t read(void* buffer, std::size_t length);
    // Writes all `length` bytes unless the system refuses: the count written,
    // which is less than `length` (or -1) when the write failed part-way.
    virtual std::ptrdiff_t write(const void* data, std::size_t length);
    // Reads or writes at `offset` without moving the file position, with
    // the results of read() and write().
    virtual std::ptrdiff_t readAt(void* buffer, std::size_t length, std::int64_t offset);
    virtual std::ptrdiff_t writeAt(const void* data, std::size_t length, std::int64_t offset);
    // One read of the bytes from `offset` on into `count` buffers in turn
    // (at most `maxScatter`), with the result of read().
    struct Scatter {
        void* buffer;
        std::size_t length;
    };
    static constexpr std::size_t maxScatter = 64;
    virtual std::ptrdiff_t readScatteredAt(const Scatter* buffers, std::size_t count, std::int64_t offset);
    // Copies `length` bytes found at `from` in `source` to `at` in this file
    // inside the system, without passing them through the program's memory.
    // A copy that the system cannot make between these two files (another
    // file system, an older kernel, a file object that stands in for one)
    // answers `unsupported`: the caller copies the rest through memory.
    struct RangeCopy {
        std::int64_t copied = 0;  // less than `length` when the source ended first or on failure
        bool unsupported = false;
        bool failed = false;
    };
    virtual RangeCopy copyRange(const File& source, std::int64_t from, std::int64_t at, std::int64_t length);
    // The new position, or -1.
    virtual std::int64_t seek(std::int64_t offset, Origin origin);
    virtual std::int64_t position() const;
    virtual std::int64_t length() const;
    // Forces the written bytes to the disk (fsync).
    virtual bool flush();
    // Asks the system to start writing what was written so far to the disk
    // and returns at once, so that the disk works while the program goes
    // on and a later flush() has less to wait for. Promises nothing: only
    // flush() does. Does nothing where the system has no such request.
    virtual void startWriteBack();
    // False when the system reports that closing failed (written data lost).
    virtual bool close();
    // The host path of the open file, absolute.
    virtual std::string fullPath() const;

private:
#ifdef _WIN32
    void* handle_ = nullptr;  // a HANDLE; null while closed
#else
    int descriptor_ = -1;
    // The absolute path is worked out when first asked for: most files are
    // opened, read and closed without anyone asking.
    mutable bool pathResolved_ = false;
    bool unnamed_ = false;  // opened by openUnnamed() and not named yet
#endif
    mutable std::string path_;
};

// The result of a rename that replaces its target.
enum class RenameResult { Done, CrossDevice, Failed };

bool fileExists(std::string_view path);             // a regular file or anything that opens
bool directoryExists(std::string_view path);
bool deleteFile(std::string_view path);
RenameResult renameReplacing(std::string_view from, std::string_view to);
// Creates one folder level; false when it exists already or cannot be made.
bool createDirectory(std::string_view path);
// The name under which the file system lists the file that `path` names
// (its last component as stored), or nothing when no such entry exists.
std::optional<std::string> findFileName(std::string_view path);
// True when both paths name the same existing file (same device and inode).
bool sameFile(std::string_view a, std::string_view b);

}  // namespace calyx::platform
