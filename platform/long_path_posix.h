// Host paths of any length for the system calls of the platform layer.
//
// The system takes at most PATH_MAX bytes of path in one call, but folders
// nest deeper than that. A longer path is reached in steps: the folders at
// its front are opened a piece at a time and the rest is named relative to
// the last of them, for the *at() calls (openat, fstatat, unlinkat, ...).
#pragma once

#include <fcntl.h>

#include <string>

namespace calyx::platform {

class ReachablePath {
public:
    explicit ReachablePath(const std::string& host);
    ~ReachablePath();
    ReachablePath(const ReachablePath&) = delete;
    ReachablePath& operator=(const ReachablePath&) = delete;

    // AT_FDCWD for a short path; -1 (every call then fails) when a folder on
    // the way cannot be opened.
    int folder() const { return folder_; }
    const char* name() const { return name_.c_str(); }

private:
    int folder_ = AT_FDCWD;
    std::string name_;
};

}  // namespace calyx::platform
