// Replacing a file safely, the same on every system; where the replacement
// goes and which permissions it takes are the system's own.
#include "platform/safe_replace.h"

#include <string>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/temp_file.h"

namespace calyx::platform {
namespace {

// A fresh, exclusively created file beside `targetHost`, or nothing.
bool createBeside(const std::string& targetHost, File& file, std::string& name) {
    const TempFileResult created = createTempFile(file, namesBeside(targetHost, "new"));
    name = created.path;
    return static_cast<bool>(created);
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
        deleteFile(name);
        return false;
    }
    deleteFile(fromHost);
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
    if (!ok) deleteFile(name);
    return ok;
}

}  // namespace calyx::platform
