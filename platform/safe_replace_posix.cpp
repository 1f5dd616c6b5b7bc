// Where a replacement goes and which permissions it takes, on Linux.
#include "platform/safe_replace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "platform/long_path_posix.h"
#include "platform/path.h"

namespace calyx::platform {

std::string replacementTarget(std::string_view path) {
    std::string host = toHostPath(path);
    // Follow a chain of links on the last component; resolve the folder fully.
    for (int hops = 0; hops < 40; ++hops) {
        char buffer[PATH_MAX];
        const ReachablePath at(host);
        const ssize_t n = ::readlinkat(at.folder(), at.name(), buffer, sizeof buffer - 1);
        if (n <= 0) break;
        std::string link(buffer, static_cast<std::size_t>(n));
        host = link.front() == '/' ? link : std::string(directoryPart(host)) + "/" + link;
    }
    std::string folder(directoryPart(host));
    if (char* real = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr)) {
        std::string resolved = std::string(real) + "/" + std::string(lastComponent(host));
        std::free(real);
        return resolved;
    }
    return host;
}

void copyPermissions(const std::string& modelHost, const std::string& host) {
    const ReachablePath model(modelHost);
    const ReachablePath at(host);
    struct stat st {};
    if (::fstatat(model.folder(), model.name(), &st, 0) == 0)
        ::fchmodat(at.folder(), at.name(), st.st_mode & 07777, 0);
}

}  // namespace calyx::platform
