// Replacing a file safely, the same on every system; where the replacement
// goes and which permissions it takes are the system's own.
#include "platform/safe_replace.h"

#include <functional>
#include <string>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/temp_file.h"

namespace calyx::platform {
namespace {

// Writes a new file beside `target` with `write`, flushes it and renames it
// onto the target. Where the file system allows it the new file has no name
// until it is complete, so a program killed before leaves nothing behind;
// elsewhere it is created under a free name of its own. Nothing is left
// after a failure either.
bool writeBeside(const std::string& target, const std::function<bool(File&)>& write) {
    const TempNames names = namesBeside(target, "new");
    File file;
    std::string name;
    const bool unnamed = createUnnamedTempFile(file, names);
    if (!unnamed) {
        const TempFileResult created = createTempFile(file, names);
        if (!created) return false;
        name = created.path;
    }
    bool ok = write(file) && file.flush();
    if (ok && unnamed) {
        const TempFileResult named = nameTempFile(file, names);
        ok = static_cast<bool>(named);
        if (ok) name = named.path;
    }
    ok = file.close() && ok;
    if (ok) {
        copyPermissions(target, name);
        ok = renameReplacing(name, target) == RenameResult::Done;
    }
    if (!ok && !name.empty()) deleteFile(name);
    return ok;
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
    if (!writeBeside(target, [&](File& beside) { return copyFileInto(fromHost, beside); })) return false;
    deleteFile(fromHost);
    return true;
}

bool replaceFileContents(std::string_view path, std::string_view contents) {
    return writeBeside(replacementTarget(path), [&](File& file) {
        return file.write(contents.data(), contents.size()) == static_cast<std::ptrdiff_t>(contents.size());
    });
}

}  // namespace calyx::platform
