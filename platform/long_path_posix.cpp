#include "platform/long_path_posix.h"

#include <unistd.h>

#include <climits>

namespace calyx::platform {

ReachablePath::ReachablePath(const std::string& host) : name_(host) {
    while (name_.size() >= PATH_MAX) {
        const std::size_t cut = name_.rfind('/', PATH_MAX - 1);
        const int next = cut == std::string::npos || cut == 0
                             ? -1
                             : ::openat(folder_, name_.substr(0, cut).c_str(),
                                        O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder_ >= 0) ::close(folder_);
        folder_ = next;
        if (next < 0) return;
        name_.erase(0, cut + 1);
    }
}

ReachablePath::~ReachablePath() {
    if (folder_ >= 0) ::close(folder_);
}

}  // namespace calyx::platform
