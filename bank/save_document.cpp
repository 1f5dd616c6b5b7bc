#include "bank/save_document.h"

#include <cerrno>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/safe_replace.h"

namespace calyx::bank {
namespace {

// Keeps the bank's count of running saves raised for one save, whatever path
// the save leaves by.
class SaveInProgress {
public:
    explicit SaveInProgress(SoundBank& bank) : bank_(bank) { bank_.raiseSavesInProgress(); }
    ~SaveInProgress() { bank_.lowerSavesInProgress(); }
    SaveInProgress(const SaveInProgress&) = delete;
    SaveInProgress& operator=(const SaveInProgress&) = delete;

private:
    SoundBank& bank_;
};

bool namesSameFile(const std::string& a, const std::string& b) {
    return platform::sameFile(a, b) ||
           platform::replacementTarget(a) == platform::replacementTarget(b);
}

constexpr std::string_view bankExtension = ".bnm";

// The folder of the file at `path` ("." for a bare name), as the host names it.
std::string hostFolderOf(std::string_view path) {
    const std::string_view folder = platform::directoryPart(path);
    return platform::toHostPath(folder.empty() ? std::string_view(".") : folder);
}

}  // namespace

bool isBankFileName(std::string_view path) {
    return platform::hasExtension(platform::lastComponent(path), bankExtension);
}

SaveOutcome saveDocument(SoundBank& bank, const std::string& targetPath) {
    SaveOutcome outcome;
    if (!bank.bankPath() || bank.bankPath()->empty()) return outcome;
    if (!isBankFileName(targetPath)) {
        outcome.badTargetName = true;
        return outcome;
    }
    SaveInProgress guard(bank);

    const std::string loadedPath = *bank.bankPath();
    const bool newFile = !namesSameFile(loadedPath, targetPath);
    // An error left by the load (a companion that could not be read) is not
    // this save's.
    BankError stale = BankError::None;
    bank.takeError(stale);
    bank.prepareSave(true, targetPath);
    bank.save(nullptr);
    std::string tempFolder(platform::directoryPart(loadedPath));
    // A bank saved into another folder from one it may not write in (a game
    // installed read-only) makes its temporary file beside the target.
    if (bank.tempFileError() != 0 && !platform::sameFile(hostFolderOf(loadedPath), hostFolderOf(targetPath))) {
        bank.takeError(stale);
        bank.prepareSave(true, targetPath, SoundBank::TempFolder::BesideTarget);
        bank.save(nullptr);
        tempFolder = platform::directoryPart(targetPath);
    }
    const std::string tempPath = bank.tempPath();
    BankError code = BankError::None;
    if (bank.takeError(code) || !bank.saveReadyToCommit()) {
        outcome.bankError = code != BankError::None ? code : BankError::Other;
        outcome.systemError = bank.tempFileError();
        outcome.noTemporaryFile = outcome.systemError != 0;
        if (outcome.noTemporaryFile) outcome.temporaryFolder = tempFolder;
        if (!tempPath.empty()) platform::deleteFile(tempPath);
        bank.discardSave();
        return outcome;
    }
    if (!platform::moveIntoPlace(platform::toHostPath(tempPath), targetPath)) {
        outcome.systemError = errno;
        platform::deleteFile(tempPath);
        bank.discardSave();
        outcome.replaceFailed = true;
        return outcome;
    }
    // The companion follows only a bank that is safely in place under a new name.
    if (newFile && bank.flavor() == BankFlavor::TQ2 && !bank.copyCompanionFile(targetPath))
        outcome.companionFailed = true;
    bank.commitSave(platform::toHostPath(targetPath));
    outcome.saved = true;
    return outcome;
}

}  // namespace calyx::bank
