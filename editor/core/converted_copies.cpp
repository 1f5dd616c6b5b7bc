#include "editor/core/converted_copies.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <system_error>

#include "platform/path.h"

namespace calyx::editor {
namespace {

constexpr int folderAttempts = 20;

// Every copy still kept in this process: its original, its folder and how
// many owners keep it. A sample copied from one document to another reads
// the same file, so the file goes only with its last owner.
struct KeptCopy {
    std::string original;
    std::string folder;
    int owners = 0;
};
struct KeptCopies {
    std::mutex lock;
    std::map<std::string, KeptCopy> byCopy;
};

KeptCopies& keptCopies() {
    static KeptCopies table;
    return table;
}

}  // namespace

std::string makePrivateFolder(const std::string& base) {
    std::error_code error;
    std::filesystem::create_directories(base, error);
    std::random_device random;
    for (int attempt = 0; attempt < folderAttempts; ++attempt) {
        const auto folder = std::filesystem::path(base) / ("calyx-convert-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder, error)) {
            // Only the user reads what they converted.
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, error);
            return folder.string();
        }
    }
    return {};
}

ConvertedCopy ConvertedCopies::convert(const std::string& original) {
    ConvertedCopy copy;
    std::error_code error;
    const std::string base = base_.empty() ? std::filesystem::temp_directory_path(error).string() : base_;
    const std::string folder = base.empty() ? std::string() : makePrivateFolder(base);
    if (folder.empty()) {
        copy.result = audio::ConvertResult::WriteFailed;
        return copy;
    }
    const std::string path = platform::hostPathIn(folder, platform::lastComponent(original));
    copy.result = audio::convertToEditorFormat(original, path, &copy.source);
    if (copy.result != audio::ConvertResult::Ok) {
        std::filesystem::remove_all(folder, error);
        return copy;
    }
    copy.path = path;
    copies_.push_back(path);
    std::lock_guard guard(keptCopies().lock);
    keptCopies().byCopy[path] = KeptCopy{original, folder, 1};
    return copy;
}

void ConvertedCopies::keep(const std::string& copyPath, const std::string& original) {
    if (std::find(copies_.begin(), copies_.end(), copyPath) != copies_.end()) return;
    copies_.push_back(copyPath);
    std::lock_guard guard(keptCopies().lock);
    KeptCopy& kept = keptCopies().byCopy[copyPath];
    if (kept.owners++ == 0) kept = KeptCopy{original, std::string(platform::directoryPart(copyPath)), 1};
}

bool ConvertedCopies::adopt(const std::string& copyPath) {
    if (std::find(copies_.begin(), copies_.end(), copyPath) != copies_.end()) return false;
    std::lock_guard guard(keptCopies().lock);
    const auto found = keptCopies().byCopy.find(copyPath);
    if (found == keptCopies().byCopy.end()) return false;
    ++found->second.owners;
    copies_.push_back(copyPath);
    return true;
}

void ConvertedCopies::discardAll() {
    std::vector<std::string> unowned;
    {
        std::lock_guard guard(keptCopies().lock);
        for (const std::string& copy : copies_) {
            const auto found = keptCopies().byCopy.find(copy);
            if (found == keptCopies().byCopy.end() || --found->second.owners > 0) continue;
            unowned.push_back(found->second.folder);
            keptCopies().byCopy.erase(found);
        }
    }
    std::error_code ignored;
    for (const std::string& folder : unowned) std::filesystem::remove_all(folder, ignored);
    copies_.clear();
}

std::optional<std::string> ConvertedCopies::originalOf(const std::string& copyPath) {
    std::lock_guard guard(keptCopies().lock);
    const auto found = keptCopies().byCopy.find(copyPath);
    if (found == keptCopies().byCopy.end()) return std::nullopt;
    return found->second.original;
}

}  // namespace calyx::editor
