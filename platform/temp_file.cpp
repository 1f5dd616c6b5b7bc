#include "platform/temp_file.h"

#include <cerrno>

#include "platform/path.h"

namespace calyx::platform {
namespace {

// What a failed exclusive creation or naming under `name` means: a name
// that exists in any letter case, or as a folder, is taken; anything else
// is the system's refusal.
NameTry failedTry(const std::string& name) {
    // The look at the name must not hide why the creation failed.
    const int refusal = errno;
    const bool taken = fileExists(name) || directoryExists(name);
    errno = refusal;
    return taken ? NameTry::Taken : NameTry::Failed;
}

}  // namespace

TempNames numberedNames(std::string_view folder, std::string_view stem, std::string_view suffix, int count) {
    return {[start = hostPathIn(folder, stem), suffix = std::string(suffix)](int n) {
                return start + std::to_string(n) + suffix;
            },
            count};
}

TempNames namesBeside(std::string_view targetHost, std::string_view tag, int count) {
    std::string folder(directoryPart(targetHost));
    // "/name" lies in the root folder; a bare "name" in the current one.
    if (folder.empty()) folder = !targetHost.empty() && isSeparator(targetHost[0]) ? "/" : ".";
    const std::string stem = "." + std::string(lastComponent(targetHost)) + "." + std::string(tag);
    return numberedNames(folder, stem, "", count);
}

TempFileResult claimFreeName(const TempNames& names, const std::function<NameTry(const std::string&)>& tryName,
                             OnRefusal onRefusal) {
    TempFileResult result{TempFileError::AllNamesTaken, {}};
    for (int i = 0; i < names.count; ++i) {
        result.path = names.nameFor(i);
        switch (tryName(result.path)) {
        case NameTry::Claimed: result.error = TempFileError::None; return result;
        case NameTry::Taken: result.error = TempFileError::AllNamesTaken; break;
        case NameTry::Failed:
            result.error = TempFileError::CannotCreate;
            if (onRefusal == OnRefusal::Stop) return result;
            break;
        }
    }
    return result;
}

TempFileResult createTempFile(File& file, const TempNames& names, OnRefusal onRefusal) {
    return claimFreeName(
        names,
        [&file](const std::string& name) {
            return file.open(name, File::Mode::CreateExclusive) ? NameTry::Claimed : failedTry(name);
        },
        onRefusal);
}

bool createUnnamedTempFile(File& file, const TempNames& names) {
    // The folder the names lie in; a name right after a single separator
    // lies in the root.
    const std::string first = names.count > 0 ? names.nameFor(0) : std::string();
    const std::size_t separator = lastSeparator(first);
    if (separator == std::string::npos) return file.openUnnamed(".");
    return file.openUnnamed(first.substr(0, separator == 0 ? 1 : separator));
}

TempFileResult nameTempFile(File& file, const TempNames& names, OnRefusal onRefusal) {
    return claimFreeName(
        names, [&file](const std::string& name) { return file.giveName(name) ? NameTry::Claimed : failedTry(name); },
        onRefusal);
}

}  // namespace calyx::platform
