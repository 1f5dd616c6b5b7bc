#include "editor/core/converted_copies.h"

#include <filesystem>
#include <mutex>
#include <random>
#include <system_error>

#include "platform/path.h"

namespace calyx::editor {
namespace {

constexpr int folderAttempts = 20;

// Copy → original, for every copy still kept in this process.
struct Originals {
    std::mutex lock;
    std::map<std::string, std::string> byCopy;
};

Originals& originals() {
    static Originals table;
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
    const std::string path = folder + "/" + std::string(platform::lastComponent(original));
    copy.result = audio::convertToEditorFormat(original, path, &copy.source);
    if (copy.result != audio::ConvertResult::Ok) {
        std::filesystem::remove_all(folder, error);
        return copy;
    }
    copy.path = path;
    folders_.push_back(folder);
    copies_.push_back(path);
    std::lock_guard guard(originals().lock);
    originals().byCopy[path] = original;
    return copy;
}

void ConvertedCopies::discardAll() {
    {
        std::lock_guard guard(originals().lock);
        for (const std::string& copy : copies_) originals().byCopy.erase(copy);
    }
    std::error_code ignored;
    for (const std::string& folder : folders_) std::filesystem::remove_all(folder, ignored);
    folders_.clear();
    copies_.clear();
}

std::optional<std::string> ConvertedCopies::originalOf(const std::string& copyPath) {
    std::lock_guard guard(originals().lock);
    const auto found = originals().byCopy.find(copyPath);
    if (found == originals().byCopy.end()) return std::nullopt;
    return found->second;
}

}  // namespace calyx::editor
