#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/long_path_posix.h"
#include "platform/path.h"

namespace calyx::platform {

File::~File() { close(); }

bool File::open(std::string_view path, Mode mode) {
    close();
    path_.clear();
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read: flags |= O_RDONLY; break;
    case Mode::CreateWrite: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case Mode::CreateReadWrite: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    case Mode::CreateExclusive: flags |= O_RDWR | O_CREAT | O_EXCL; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
    }
    std::string host = toHostPath(path);
    const ReachablePath at(host);
    int fd;
    do {
        fd = ::openat(at.folder(), at.name(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    descriptor_ = fd;
    path_ = std::move(host);
    pathResolved_ = false;
    return true;
}

bool File::openUnnamed(std::string_view folder) {
    close();
    path_.clear();
    const std::string host = toHostPath(folder.empty() ? std::string_view(".") : folder);
    const ReachablePath at(host);
    int fd;
    do {
        fd = ::openat(at.folder(), at.name(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    descriptor_ = fd;
    unnamed_ = true;
    return true;
}

bool File::giveName(std::string_view path) {
    if (descriptor_ < 0 || !unnamed_) return false;
    std::string host = toHostPath(path);
    const ReachablePath at(host);
    // Any user may link the file through /proc; without /proc mounted only
    // a privileged one may link the descriptor itself.
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor_);
    int linked = ::linkat(AT_FDCWD, self.c_str(), at.folder(), at.name(), AT_SYMLINK_FOLLOW);
    if (linked != 0 && errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0)
        linked = ::linkat(descriptor_, "", at.folder(), at.name(), AT_EMPTY_PATH);
    if (linked != 0) return false;
    unnamed_ = false;
    path_ = std::move(host);
    pathResolved_ = false;
    return true;
}

bool File::isOpen() const { return descriptor_ >= 0; }

std::ptrdiff_t File::read(void* buffer, std::size_t length) {
    if (descriptor_ < 0) return -1;
    ssize_t n;
    do {
        n = ::read(descriptor_, buffer, length);
    } while (n < 0 && errno == EINTR);
    return n;
}

std::ptrdiff_t File::write(const void* data, std::size_t length) {
    if (descriptor_ < 0) return -1;
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = ::write(descriptor_, bytes + done, length - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return done == 0 ? -1 : static_cast<std::ptrdiff_t>(done);
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::ptrdiff_t>(done);
}

std::ptrdiff_t File::readAt(void* buffer, std::size_t length, std::int64_t offset) {
    // A file object standing in for the system has no descriptor.
    if (descriptor_ < 0) return seek(offset, Origin::Start) == offset ? read(buffer, length) : -1;
    ssize_t n;
    do {
        n = ::pread(descriptor_, buffer, length, offset);
    } while (n < 0 && errno == EINTR);
    return n;
}

std::ptrdiff_t File::readScatteredAt(const Scatter* buffers, std::size_t count, std::int64_t offset) {
    if (count == 1 || descriptor_ < 0) return readAt(buffers[0].buffer, buffers[0].length, offset);
    iovec pieces[maxScatter];
    count = std::min(count, maxScatter);
    for (std::size_t i = 0; i < count; ++i) pieces[i] = {buffers[i].buffer, buffers[i].length};
    ssize_t n;
    do {
        n = ::preadv(descriptor_, pieces, static_cast<int>(count), offset);
    } while (n < 0 && errno == EINTR);
    return n;
}

std::ptrdiff_t File::writeAt(const void* data, std::size_t length, std::int64_t offset) {
    if (descriptor_ < 0) return seek(offset, Origin::Start) == offset ? write(data, length) : -1;
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = ::pwrite(descriptor_, bytes + done, length - done, offset + static_cast<std::int64_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return done == 0 ? -1 : static_cast<std::ptrdiff_t>(done);
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::ptrdiff_t>(done);
}

File::RangeCopy File::copyRange(const File& source, std::int64_t from, std::int64_t at, std::int64_t length) {
    RangeCopy result;
    if (descriptor_ < 0 || source.descriptor_ < 0) {
        result.unsupported = true;
        return result;
    }
    off64_t in = from, out = at;
    while (result.copied < length) {
        const ssize_t n = ::copy_file_range(source.descriptor_, &in, descriptor_, &out,
                                            static_cast<std::size_t>(length - result.copied), 0);
        if (n > 0) {
            result.copied += n;
            continue;
        }
        if (n == 0) break;  // the source ended
        if (errno == EINTR) continue;
        // Refusals that mean "not between these two files" rather than a
        // failed write; the caller copies the rest itself.
        const int e = errno;
        const bool notHere = e == EXDEV || e == ENOSYS || e == EINVAL || e == EOPNOTSUPP || e == ENOTSUP ||
                             e == EBADF || e == ETXTBSY || e == EPERM;
        (notHere ? result.unsupported : result.failed) = true;
        break;
    }
    return result;
}

std::int64_t File::seek(std::int64_t offset, Origin origin) {
    if (descriptor_ < 0) return -1;
    return ::lseek(descriptor_, offset, origin == Origin::Start ? SEEK_SET : SEEK_END);
}

std::int64_t File::position() const {
    if (descriptor_ < 0) return -1;
    return ::lseek(descriptor_, 0, SEEK_CUR);
}

std::int64_t File::length() const {
    struct stat st {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &st) != 0) return -1;
    return st.st_size;
}

bool File::flush() { return descriptor_ >= 0 && ::fsync(descriptor_) == 0; }

void File::startWriteBack() {
#ifdef __linux__
    // The whole file (length 0 reaches its end); pages already on their
    // way are left alone.
    if (descriptor_ >= 0) ::sync_file_range(descriptor_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

bool File::close() {
    if (descriptor_ < 0) return true;
    const int fd = descriptor_;
    descriptor_ = -1;
    unnamed_ = false;
    return ::close(fd) == 0;
}

std::string File::fullPath() const {
    if (!pathResolved_ && !path_.empty()) {
        if (char* absolute = ::realpath(path_.c_str(), nullptr)) {
            path_ = absolute;
            std::free(absolute);
        }
        pathResolved_ = true;
    }
    return path_;
}

namespace {

// stat() of a path in any form; `flags` as for fstatat.
bool statPath(std::string_view path, struct stat& st, int flags = 0) {
    const ReachablePath at(toHostPath(path));
    return ::fstatat(at.folder(), at.name(), &st, flags) == 0;
}

}  // namespace

bool fileExists(std::string_view path) {
    struct stat st {};
    return statPath(path, st) && !S_ISDIR(st.st_mode);
}

bool directoryExists(std::string_view path) {
    struct stat st {};
    return statPath(path, st) && S_ISDIR(st.st_mode);
}

bool deleteFile(std::string_view path) {
    const ReachablePath at(toHostPath(path));
    return ::unlinkat(at.folder(), at.name(), 0) == 0;
}

RenameResult renameReplacing(std::string_view from, std::string_view to) {
    const ReachablePath source(toHostPath(from));
    const ReachablePath target(toHostPath(to));
    if (::renameat(source.folder(), source.name(), target.folder(), target.name()) == 0)
        return RenameResult::Done;
    return errno == EXDEV ? RenameResult::CrossDevice : RenameResult::Failed;
}

bool createDirectory(std::string_view path) {
    const ReachablePath at(toHostPath(path));
    return ::mkdirat(at.folder(), at.name(), 0777) == 0;
}

std::optional<std::string> findFileName(std::string_view path) {
    std::string host = toHostPath(path);
    const ReachablePath at(host);
    struct stat st {};
    if (::fstatat(at.folder(), at.name(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return std::string(lastComponent(host));
}

bool sameFile(std::string_view a, std::string_view b) {
    struct stat sa {}, sb {};
    return statPath(a, sa) && statPath(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace calyx::platform
