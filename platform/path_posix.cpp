#include "platform/path.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/long_path_posix.h"

namespace calyx::platform {
namespace {

bool entryExists(const std::string& path) {
    const ReachablePath at(path);
    struct stat st {};
    return ::fstatat(at.folder(), at.name(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

DIR* openFolder(const std::string& path) {
    const ReachablePath at(path);
    const int fd = ::openat(at.folder(), at.name(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    DIR* dir = ::fdopendir(fd);
    if (!dir) ::close(fd);
    return dir;
}

std::string joinHost(const std::string& base, std::string_view name) {
    std::string out = base;
    if (out.empty() || out.back() != '/') out += '/';
    out += name;
    return out;
}

// The entry of `folder` named `name`: as written when it exists, else the
// smallest name that matches without regard to case (so the choice does not
// depend on the order the file system lists entries in), else as written.
std::string resolveComponent(const std::string& folder, std::string_view name) {
    std::string exact = joinHost(folder, name);
    if (entryExists(exact)) return exact;
    DIR* dir = openFolder(folder.empty() ? "/" : folder);
    if (!dir) return exact;
    std::string best;
    while (const dirent* e = ::readdir(dir)) {
        std::string_view entry(e->d_name);
        if (equalsNoCase(entry, name) && (best.empty() || entry < best)) best = entry;
    }
    ::closedir(dir);
    return best.empty() ? exact : joinHost(folder, best);
}

// A host path as the system would take it: absolute, '/'-separated, with no
// empty, "." or ".." component.
bool isPlainHostPath(std::string_view path) {
    if (path.size() < 2 || path.front() != '/' || path.back() == '/') return false;
    if (path.find('\\') != std::string_view::npos || path.find("//") != std::string_view::npos) return false;
    for (std::string_view dots : {"/./", "/../"})
        if (path.find(dots) != std::string_view::npos) return false;
    return !path.ends_with("/.") && !path.ends_with("/..");
}

std::string canonicalOr(const std::string& path) {
    std::error_code ec;
    auto c = std::filesystem::canonical(path, ec);
    return ec ? path : c.string();
}

bool isUnder(const std::string& path, const std::string& root) {
    if (root == "/") return !path.empty() && path[0] == '/';
    return path.size() >= root.size() && path.compare(0, root.size(), root) == 0 &&
           (path.size() == root.size() || path[root.size()] == '/');
}

}  // namespace

std::string winePrefix() {
    if (const char* p = std::getenv("WINEPREFIX"); p && *p) return p;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : "/";
    }
    return joinHost(home, ".wine");
}

std::string windowsDirectory() { return toHostPath("C:\\windows"); }

namespace {

// The folder of drive `drive` (a to z) when the prefix's "dosdevices" folder
// lists it as `listed`: the folder its link leads to, else the prefix's
// drive_c for C: and the root for Z:.
std::optional<std::string> driveRootOf(const std::string& prefix, char drive, bool listed) {
    if (listed) {
        const std::string link = prefix + "/dosdevices/" + drive + ':';
        struct stat st {};
        if (::stat(link.c_str(), &st) == 0) return canonicalOr(link);
    }
    if (drive == 'c') return canonicalOr(prefix + "/drive_c");
    if (drive == 'z') return std::string("/");
    return std::nullopt;
}

// The drive letters that the prefix's "dosdevices" folder has an entry
// for, from one reading of the folder.
std::array<bool, 26> listedDrives(const std::string& prefix) {
    std::array<bool, 26> listed{};
    DIR* dir = openFolder(prefix + "/dosdevices");
    if (!dir) return listed;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name);
        if (name.size() == 2 && name[1] == ':' && name[0] >= 'a' && name[0] <= 'z') listed[name[0] - 'a'] = true;
    }
    ::closedir(dir);
    return listed;
}

// The drive whose folder holds `cwd` most closely, 0 when none does.
char driveHolding(const std::string& cwd) {
    const std::string prefix = winePrefix();
    const std::array<bool, 26> listed = listedDrives(prefix);
    char best = 0;
    std::size_t bestLength = 0;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        auto root = driveRootOf(prefix, letter, listed[letter - 'a']);
        if (!root || !isUnder(cwd, *root)) continue;
        const std::size_t length = *root == "/" ? 1 : root->size() + 1;
        if (length > bestLength) {
            best = letter;
            bestLength = length;
        }
    }
    return best;
}

}  // namespace

std::optional<std::string> driveRoot(char letter) {
    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    if (drive < 'a' || drive > 'z') return std::nullopt;
    return driveRootOf(winePrefix(), drive, true);
}

std::string currentDirectory() {
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    return ec ? std::string("/") : cwd.string();
}

bool setCurrentDirectory(std::string_view path) {
    const ReachablePath at(toHostPath(path));
    const int fd = ::openat(at.folder(), at.name(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool entered = ::fchdir(fd) == 0;
    ::close(fd);
    return entered;
}

char currentDrive() { return driveHolding(canonicalOr(currentDirectory())); }

bool setCurrentDrive(char letter) {
    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    if (currentDrive() == drive) return true;
    auto root = driveRoot(drive);
    return root && ::chdir(root->c_str()) == 0;
}

std::string toHostPath(std::string_view path) {
    // `root` is never left by ".."; `parts` are the components below it.
    std::string root = "/";
    std::vector<std::string> parts;
    auto addParts = [&parts](std::string_view text) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = start;
            while (end < text.size() && !isSeparator(text[end])) ++end;
            std::string_view part = text.substr(start, end - start);
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.emplace_back(part);
            }
            start = end + 1;
        }
    };

    // A path relative to the current folder starts at the current drive's
    // root with the current folder's components below it, so that ".."
    // stops at the root of the drive as on Windows.
    auto startAtCurrentDirectory = [&root, &addParts]() {
        const std::string cwd = canonicalOr(currentDirectory());
        const auto driveFolder = driveRoot(driveHolding(cwd));
        if (driveFolder && *driveFolder != "/" && isUnder(cwd, *driveFolder)) {
            root = *driveFolder;
            addParts(std::string_view(cwd).substr(driveFolder->size()));
        } else {
            addParts(cwd);
        }
    };

    if (path.empty()) return {};
    // A host path that names an entry as written needs no lookup: each of
    // its components would be taken as written.
    if (isPlainHostPath(path) && entryExists(std::string(path))) return std::string(path);
    std::string_view rest = path;
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        auto driveFolder = driveRoot(path[0]);
        // An unknown drive names nothing here. Its text must not come back
        // as a relative host name, or creating "D:\x" would make a file of
        // that odd name in the current folder.
        if (!driveFolder) return {};
        rest = path.substr(2);
        const bool driveRelative = rest.empty() || !isSeparator(rest.front());
        if (driveRelative && currentDrive() == std::tolower(static_cast<unsigned char>(path[0]))) {
            startAtCurrentDirectory();
        } else {
            root = *driveFolder;
        }
    } else if (path.front() == '\\') {
        auto driveFolder = driveRoot(currentDrive());
        if (driveFolder) root = *driveFolder;
    } else if (path.front() != '/') {
        startAtCurrentDirectory();
    }
    addParts(rest);

    // Taken as written when it names an entry so: so is each folder above it.
    std::string out = root;
    for (const auto& part : parts) out = joinHost(out, part);
    if (!parts.empty() && entryExists(out)) return out;
    out = root;
    for (const auto& part : parts) out = resolveComponent(out, part);
    return out;
}

}  // namespace calyx::platform
