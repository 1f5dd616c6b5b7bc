#include "editor/core/paste_origins.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_time.h"

namespace calyx::editor {

namespace {

// A paste not yet saved whose bytes lie in a bank file: another bank's, or
// its own bank's (a paste within one bank).
bool isPendingFromBank(const bank::SoundResource& r) {
    return r.isReplaced() && r.currentSource().inBankFile();
}

}  // namespace

std::optional<PasteOrigins::FileStamp> PasteOrigins::stampOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file(path);
    const auto size = std::filesystem::file_size(file, error);
    if (error) return std::nullopt;
    const auto modified = platform::lastWriteTicks(path);
    if (!modified) return std::nullopt;
    return FileStamp{size, *modified};
}

void PasteOrigins::recordPaste(bank::SoundResource& target, const std::string& sourcePath, std::size_t sourceIndex) {
    forget(target);
    origins_.push_back({{sourcePath, sourceIndex, stampOf(sourcePath)}, &target});
}

void PasteOrigins::recordCopy(bank::SoundResource& target, const bank::SoundResource& source) {
    const auto found = std::find_if(origins_.begin(), origins_.end(), [&](const TargetOrigin& o) { return o.target == &source; });
    if (found == origins_.end() || !isPendingFromBank(source)) {
        forget(target);
        return;
    }
    TargetOrigin copy = *found;
    forget(target);
    copy.target = &target;
    origins_.push_back(std::move(copy));
}

void PasteOrigins::forget(const bank::SoundResource& target) {
    std::erase_if(origins_, [&](const TargetOrigin& o) { return o.target == &target; });
}

std::optional<PasteOrigins::Origin> PasteOrigins::originOf(const bank::SoundResource& target) const {
    for (const TargetOrigin& o : origins_)
        if (o.target == &target && isPendingFromBank(target)) return static_cast<const Origin&>(o);
    return std::nullopt;
}

void PasteOrigins::restore(bank::SoundResource& target, const Origin& origin) {
    forget(target);
    origins_.push_back({origin, &target});
}

void PasteOrigins::prune() {
    std::erase_if(origins_, [](const TargetOrigin& o) { return !isPendingFromBank(*o.target); });
}

std::vector<bool> PasteOrigins::keptSamples(const bank::SoundBank& bank) {
    std::vector<bool> kept(bank.resourceCount());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const bank::SoundResource* r = bank.resourceAt(i);
        kept[i] = r && r->isSample() && r->isStored() && !r->isReplaced();
    }
    return kept;
}

void PasteOrigins::sourceSaved(const std::string& path, const bank::SoundBank& bank, const std::vector<bool>& kept) {
    prune();
    const auto stamp = stampOf(path);
    for (TargetOrigin& o : origins_) {
        if (o.path != path || !o.stamp) continue;
        const bank::SoundResource* source = bank.resourceAt(o.index);
        if (!source || o.index >= kept.size() || !kept[o.index]) {
            o.stamp.reset();
            continue;
        }
        o.target->setSourceOffset(source->record().dataOffset());
        o.target->setSourceArea(source->sourceArea());
        o.stamp = stamp;
    }
}

std::optional<std::string> PasteOrigins::changedSource(const bank::SoundBank& bank) {
    prune();
    for (const TargetOrigin& o : origins_) {
        if (bank.indexOfResource(o.target) < 0) continue;
        if (!o.stamp || stampOf(o.path) != o.stamp) return o.path;
    }
    return std::nullopt;
}

}  // namespace calyx::editor
