#include "editor/core/document_open.h"

#include <cctype>

#include "audio/wav_file.h"
#include "bank/bank_archive.h"
#include "bank/bank_file_name.h"
#include "platform/file.h"
#include "platform/path.h"

namespace calyx::editor {

std::string resolveLongPath(std::string_view path) {
    if (!platform::fileExists(path)) return {};
    std::string out;
    std::size_t start = 0;
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        out += path[0];
        out += path[1];
        start = 2;
    }
    while (start < path.size()) {
        if (platform::isSeparator(path[start])) {
            out += path[start++];
            continue;
        }
        std::size_t end = start;
        while (end < path.size() && !platform::isSeparator(path[end])) ++end;
        const std::string_view component = path.substr(start, end - start);
        std::string built = out;
        built.append(component);
        if (component == "." || component == "..") {
            out = built;
        } else if (auto listed = platform::findFileName(built)) {
            out += *listed;
        } else {
            return {};
        }
        start = end;
    }
    return out;
}

OpenResult openBank(bank::SoundBank& bank, std::string_view path, const InstallInfo& install) {
    const std::string resolved = resolveLongPath(path);
    if (!bank::isBankFileName(resolved)) return OpenResult::BadPath;
    bank.setGameInstallations(install.k7Dir, install.tq2Dir,
                              install.k7Language ? *install.k7Language : std::string(),
                              install.tq2Language ? *install.tq2Language : std::string());
    bank.setWavDataLocator(audio::findWavDataChunk);
    platform::File file;
    if (!file.open(resolved, platform::File::Mode::Read)) return OpenResult::CannotOpen;
    if (file.length() == 0) return OpenResult::Empty;
    bank::BankArchive archive(file, bank::BankArchive::Mode::Load);
    switch (bank.load(archive)) {
    case bank::LoadResult::Loaded: return OpenResult::Opened;
    case bank::LoadResult::Truncated: return OpenResult::Truncated;
    case bank::LoadResult::ImpossibleCounts: return OpenResult::ImpossibleCounts;
    }
    return OpenResult::Truncated;
}

}  // namespace calyx::editor
