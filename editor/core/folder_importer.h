// A folder of WAV files taken into a bank file by file, each as if browsed
// in the edit dialog and taken with OK, through its checks and messages:
// calyx-cli import-all and the editor's File > Import folder... A file is
// taken from a copy of it under the resource's recorded file name (the
// export's name is a working name), made in a folder the caller gives.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/folder_import.h"
#include "editor/core/game_strings.h"
#include "editor/core/interface_language.h"
#include "editor/core/link_table.h"

namespace calyx::editor {

class BankDocument;
class ResourceEditSession;

struct FolderFileResult {
    FolderImportOutcome outcome = FolderImportOutcome::Skipped;
    std::string reason;
    // Refused for its format only: a converted copy may be taken.
    bool convertible = false;
};

// Where the copies of the files lie.
struct FolderStaging {
    // A new folder for the copy of resource `index`'s file; empty when none
    // can be made.
    std::function<std::string(std::size_t index)> folderFor;
    // The bank reads the copy `staged` of the user's `original` from now on.
    std::function<void(const std::string& staged, const std::string& original)> taken;
    // The copy in `folder` was not taken.
    std::function<void(const std::string& folder)> notTaken;
};

class FolderImporter {
public:
    FolderImporter(bank::SoundBank& bank, LinkTable& links, const GameStrings& strings, InterfaceLanguage language,
                   FolderStaging staging);

    // Gives `file` to the resource its name starts with: `convert` converts
    // it first, `dryRun` says what would be done and changes nothing. Each
    // resource takes the first file of the folder that names it.
    FolderFileResult import(const FolderWav& file, bool convert, bool dryRun);
    // A refused file's resource may take a file again (its converted copy).
    void release(std::size_t index) { taken_.erase(index); }

private:
    static bool holdsPresentSound(ResourceEditSession& session, const std::string& path, const std::string& folder);

    bank::SoundBank& bank_;
    LinkTable& links_;
    const GameStrings& strings_;
    InterfaceLanguage language_;
    FolderStaging staging_;
    std::set<std::size_t> taken_;
};

// What File > Import folder... did.
struct FolderImportReport {
    bool folderRead = true;
    FolderImportCounts counts;
    // Each refused file's name and why it was refused.
    std::vector<std::pair<std::string, std::string>> refused;
};

// Takes every file of `hostFolder` into the document's bank as one change
// (one undo step, named by the folder). Files refused for their format only
// are offered for conversion once, all together: `askToConvert` hears how
// many and answers Yes. Copies live in the document's converted copies.
FolderImportReport importFolder(BankDocument& document, const std::string& hostFolder, const GameStrings& strings,
                                InterfaceLanguage language, const std::function<bool(std::size_t count)>& askToConvert);

// The summary the editor shows ("replaced N, unchanged M, skipped S,
// refused K" in `language`), then each refused file and why.
std::string folderImportMessage(const FolderImportReport& report, const std::string& folder,
                                InterfaceLanguage language);

}  // namespace calyx::editor
