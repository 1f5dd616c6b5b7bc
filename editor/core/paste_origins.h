// Where each pending paste from a bank file (another bank's or its own
// bank's) takes its bytes: the
// source file, the source resource's place in that bank, and the file as it
// was when the paste was made. A paste stays pending until its own bank is
// saved, and that save reads the source file at the offset recorded at paste
// time; so when this editor saves the source bank over its file, the paste
// follows its sample to its new place, and when the file changed in any
// other way, the save is refused instead of copying whatever now lies there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bank/sound_bank.h"

namespace calyx::editor {

class PasteOrigins {
public:
    // `target` now takes the bytes of resource `sourceIndex` of the bank
    // file `sourcePath`, as the file is now.
    void recordPaste(bank::SoundResource& target, const std::string& sourcePath, std::size_t sourceIndex);
    // `target` took `source`'s data: it takes its origin too (a paste of a
    // paste), or has none when `source` has none.
    void recordCopy(bank::SoundResource& target, const bank::SoundResource& source);
    void forget(const bank::SoundResource& target);

    struct FileStamp {
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        bool operator==(const FileStamp&) const = default;
    };
    // Where one paste takes its bytes, apart from its target: what an undo
    // of the paste keeps and its redo gives back.
    struct Origin {
        std::string path;
        std::size_t index = 0;
        // Nothing once the bytes can no longer be found in the file.
        std::optional<FileStamp> stamp;
    };
    std::optional<Origin> originOf(const bank::SoundResource& target) const;
    void restore(bank::SoundResource& target, const Origin& origin);

    // Which of `bank`'s resources keep their bytes through its next save
    // (those not replaced); taken just before the save.
    static std::vector<bool> keptSamples(const bank::SoundBank& bank);
    // This editor saved `bank` over its file `path`: pastes from a resource
    // whose bytes were kept follow them to their new place; the others can
    // no longer be read.
    void sourceSaved(const std::string& path, const bank::SoundBank& bank, const std::vector<bool>& kept);
    // The first source file of `bank`'s pending pastes that changed since
    // the paste (or since this editor last saved it); nothing when none did.
    std::optional<std::string> changedSource(const bank::SoundBank& bank);

    std::size_t size() const { return origins_.size(); }

private:
    static std::optional<FileStamp> stampOf(const std::string& path);

    struct TargetOrigin : Origin {
        bank::SoundResource* target;
    };
    // Drops origins whose paste is no longer pending (committed by a save
    // of its bank, or given up).
    void prune();

    std::vector<TargetOrigin> origins_;
};

}  // namespace calyx::editor
