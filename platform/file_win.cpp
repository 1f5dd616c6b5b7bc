// Files and folders on Windows, through the Win32 calls themselves.
#include "platform/file.h"

#include "platform/path.h"
#include "platform/win32.h"
#include "platform/win32_errors.h"

#include <algorithm>
#include <cerrno>

namespace calyx::platform {
namespace {

// A handle for asking about a file or folder (no reading or writing), closed
// on leaving the scope.
class QueryHandle {
public:
    explicit QueryHandle(std::string_view path)
        : handle_(::CreateFileA(std::string(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    ~QueryHandle() {
        if (valid()) ::CloseHandle(handle_);
    }
    QueryHandle(const QueryHandle&) = delete;
    QueryHandle& operator=(const QueryHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

DWORD attributes(std::string_view path) {
    return ::GetFileAttributesA(std::string(path).c_str());
}

// The most one ReadFile or WriteFile call is asked to move.
constexpr std::size_t largestTransfer = 1u << 30;

// A failed call's answer, with errno saying why (as on every system).
template <typename T>
T failed(T answer) {
    setErrnoFromLastError();
    return answer;
}

}  // namespace

File::~File() { close(); }

bool File::open(std::string_view path, Mode mode) {
    close();
    path_.clear();
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
    case Mode::Read: access = GENERIC_READ; break;
    case Mode::CreateWrite:
        access = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
        break;
    case Mode::CreateReadWrite: disposition = CREATE_ALWAYS; break;
    case Mode::CreateExclusive: disposition = CREATE_NEW; break;
    case Mode::ReadWrite: break;
    }
    const std::string name(path);
    // Others may read, write, rename or delete the file meanwhile, as on Linux:
    // a save renames its new file over a bank that is still open for reading.
    HANDLE handle = ::CreateFileA(name.c_str(), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return failed(false);  // folders do not open without backup semantics
    handle_ = handle;
    path_ = toHostPath(name);
    return true;
}

// Every file of Windows has a name: callers keep to named temporary files.
bool File::openUnnamed(std::string_view) { return false; }

bool File::giveName(std::string_view) { return false; }

bool File::isOpen() const { return handle_ != nullptr; }

std::ptrdiff_t File::read(void* buffer, std::size_t length) {
    if (!handle_) return -1;
    DWORD got = 0;
    const auto ask = static_cast<DWORD>(std::min(length, largestTransfer));
    if (!::ReadFile(handle_, buffer, ask, &got, nullptr)) return failed(std::ptrdiff_t{-1});
    return static_cast<std::ptrdiff_t>(got);
}

std::ptrdiff_t File::write(const void* data, std::size_t length) {
    if (!handle_) return -1;
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < length) {
        DWORD put = 0;
        const auto ask = static_cast<DWORD>(std::min(length - done, largestTransfer));
        if (!::WriteFile(handle_, bytes + done, ask, &put, nullptr) || put == 0)
            return failed(done == 0 ? -1 : static_cast<std::ptrdiff_t>(done));
        done += put;
    }
    return static_cast<std::ptrdiff_t>(done);
}

std::ptrdiff_t File::readAt(void* buffer, std::size_t length, std::int64_t offset) {
    return seek(offset, Origin::Start) == offset ? read(buffer, length) : -1;
}

std::ptrdiff_t File::readScatteredAt(const Scatter* buffers, std::size_t count, std::int64_t offset) {
    // The system scatters only unbuffered reads: one read per buffer.
    std::ptrdiff_t total = 0;
    for (std::size_t i = 0; i < count && i < maxScatter; ++i) {
        const std::ptrdiff_t n = readAt(buffers[i].buffer, buffers[i].length, offset + total);
        if (n < 0) return total > 0 ? total : -1;
        total += n;
        if (static_cast<std::size_t>(n) < buffers[i].length) break;
    }
    return total;
}

std::ptrdiff_t File::writeAt(const void* data, std::size_t length, std::int64_t offset) {
    return seek(offset, Origin::Start) == offset ? write(data, length) : -1;
}

File::RangeCopy File::copyRange(const File&, std::int64_t, std::int64_t, std::int64_t) {
    // Bytes always pass through the program here.
    RangeCopy result;
    result.unsupported = true;
    return result;
}

std::int64_t File::seek(std::int64_t offset, Origin origin) {
    if (!handle_) return -1;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER now;
    if (!::SetFilePointerEx(handle_, distance, &now, origin == Origin::Start ? FILE_BEGIN : FILE_END))
        return failed(std::int64_t{-1});  // also a position before the start
    return now.QuadPart;
}

std::int64_t File::position() const {
    if (!handle_) return -1;
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    LARGE_INTEGER now;
    if (!::SetFilePointerEx(handle_, zero, &now, FILE_CURRENT)) return -1;
    return now.QuadPart;
}

std::int64_t File::length() const {
    LARGE_INTEGER size;
    if (!handle_ || !::GetFileSizeEx(handle_, &size)) return -1;
    return size.QuadPart;
}

bool File::flush() { return handle_ && (::FlushFileBuffers(handle_) != 0 || failed(false)); }

// Windows has no request to start writing back without waiting for it.
void File::startWriteBack() {}

bool File::close() {
    if (!handle_) return true;
    HANDLE handle = handle_;
    handle_ = nullptr;
    return ::CloseHandle(handle) != 0 || failed(false);
}

std::string File::fullPath() const { return path_; }

bool fileExists(std::string_view path) {
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool directoryExists(std::string_view path) {
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool deleteFile(std::string_view path) { return ::DeleteFileA(std::string(path).c_str()) != 0 || failed(false); }

RenameResult renameReplacing(std::string_view from, std::string_view to) {
    // No MOVEFILE_COPY_ALLOWED: across volumes Windows would copy and then
    // delete, which is not one step and can leave a half-written target.
    // Answering CrossDevice lets the caller copy beside the target and
    // rename there instead. A read-only target is refused, as Windows
    // refuses it (Wine would replace it).
    const DWORD target = attributes(to);
    if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_READONLY) != 0) {
        errno = EACCES;
        return RenameResult::Failed;
    }
    if (::MoveFileExA(std::string(from).c_str(), std::string(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return RenameResult::Done;
    const bool otherVolume = ::GetLastError() == ERROR_NOT_SAME_DEVICE;
    return failed(otherVolume ? RenameResult::CrossDevice : RenameResult::Failed);
}

bool createDirectory(std::string_view path) {
    return ::CreateDirectoryA(std::string(path).c_str(), nullptr) != 0 || failed(false);
}

std::optional<std::string> findFileName(std::string_view path) {
    // Wildcards would find some other file.
    if (path.find_first_of("*?") != std::string_view::npos) return std::nullopt;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(std::string(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    ::FindClose(search);
    return std::string(found.cFileName);
}

bool sameFile(std::string_view a, std::string_view b) {
    const QueryHandle first(a);
    const QueryHandle second(b);
    BY_HANDLE_FILE_INFORMATION one, two;
    return first.valid() && second.valid() && ::GetFileInformationByHandle(first.get(), &one) &&
           ::GetFileInformationByHandle(second.get(), &two) &&
           one.dwVolumeSerialNumber == two.dwVolumeSerialNumber &&
           one.nFileIndexHigh == two.nFileIndexHigh && one.nFileIndexLow == two.nFileIndexLow;
}

}  // namespace calyx::platform
