#include "platform/safe_replace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/file.h"
#include "platform/long_path.h"
#include "platform/path.h"

namespace calyx::platform {
namespace {

// A fresh, exclusively created file beside `targetHost`, or nothing.
bool createBeside(const std::string& targetHost, File& file, std::string& name) {
    std::string folder(directoryPart(targetHost));
    if (folder.empty()) folder = targetHost.empty() || targetHost[0] != '/' ? "." : "/";
    const std::string base = folder + "/." + std::string(lastComponent(targetHost)) + ".new";
    for (int i = 0; i < 100; ++i) {
        name = base + std::to_string(i);
        if (file.open(name, File::Mode::CreateExclusive)) return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

void removeHost(const std::string& host) {
    const ReachablePath at(host);
    ::unlinkat(at.folder(), at.name(), 0);
}

bool copyFileInto(const std::string& fromHost, File& out) {
    File in;
    if (!in.open(fromHost, File::Mode::Read)) return false;
    char buffer[1 << 16];
    for (;;) {
        std::ptrdiff_t n = in.read(buffer, sizeof buffer);
        if (n < 0) return false;
        if (n == 0) return true;
        if (out.write(buffer, static_cast<std::size_t>(n)) != n) return false;
    }
}

}  // namespace

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

bool moveIntoPlace(const std::string& fromHost, std::string_view path) {
    const std::string target = replacementTarget(path);
    copyPermissions(target, fromHost);
    switch (renameReplacing(fromHost, target)) {
    case RenameResult::Done: return true;
    case RenameResult::Failed: return false;
    case RenameResult::CrossDevice: break;
    }
    File beside;
    std::string name;
    if (!createBeside(target, beside, name)) return false;
    bool ok = copyFileInto(fromHost, beside) && beside.flush();
    ok = beside.close() && ok;
    if (ok) {
        copyPermissions(target, name);
        ok = renameReplacing(name, target) == RenameResult::Done;
    }
    if (!ok) {
        removeHost(name);
        return false;
    }
    removeHost(fromHost);
    return true;
}

bool replaceFileContents(std::string_view path, std::string_view contents) {
    const std::string target = replacementTarget(path);
    File file;
    std::string name;
    if (!createBeside(target, file, name)) return false;
    bool ok = file.write(contents.data(), contents.size()) ==
                  static_cast<std::ptrdiff_t>(contents.size()) &&
              file.flush();
    ok = file.close() && ok;
    if (ok) {
        copyPermissions(target, name);
        ok = renameReplacing(name, target) == RenameResult::Done;
    }
    if (!ok) removeHost(name);
    return ok;
}

}  // namespace calyx::platform
