#include "bank/save_document.h"

#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

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


// The folder of the file at `path` ("." for a bare name), as the host names it.
std::string hostFolderOf(std::string_view path) {
    const std::string_view folder = platform::directoryPart(path);
    return platform::toHostPath(folder.empty() ? std::string_view(".") : folder);
}

// A target held open for a moment by another program (a virus scanner, the
// game) refuses the new file: it is tried again, five attempts in all.
constexpr int renameAttempts = 5;
constexpr auto renamePause = std::chrono::milliseconds(50);

// Moves the complete temporary file onto the target; 0, or the errno of the
// last refusal.
int moveIntoPlaceRetrying(const std::string& tempPath, const std::string& targetPath) {
    int refused = 0;
    for (int attempt = 0; attempt < renameAttempts; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(renamePause);
        if (platform::moveIntoPlace(platform::toHostPath(tempPath), targetPath)) return 0;
        refused = errno != 0 ? errno : EIO;
    }
    return refused;
}

}  // namespace

SaveOutcome saveDocument(SoundBank& bank, const std::string& targetPath, const BankWriter::Progress& progress) {
    SaveOutcome outcome;
    if (!bank.bankPath() || bank.bankPath()->empty()) {
        outcome.failure.step = SaveStep::EmptyBank;
        return outcome;
    }
    if (!isBankFileName(targetPath)) {
        outcome.failure.step = SaveStep::TargetName;
        return outcome;
    }
    SaveInProgress guard(bank);

    const std::string loadedPath = *bank.bankPath();
    const bool newFile = !namesSameFile(loadedPath, targetPath);
    // An error left by the load (a companion that could not be read) is not
    // this save's.
    BankError stale = BankError::None;
    bank.takeError(stale);
    auto writer = std::make_unique<BankWriter>(bank, targetPath);
    SaveFailure failure = writer->writeTemporary(loadedPath, progress);
    // A bank saved into another folder from one it may not write in (a game
    // installed read-only) makes its temporary file beside the target.
    if (failure.step == SaveStep::TemporaryFile &&
        !platform::sameFile(hostFolderOf(loadedPath), hostFolderOf(targetPath))) {
        writer = std::make_unique<BankWriter>(bank, targetPath);
        failure = writer->writeTemporary(targetPath, progress);
    }
    if (failure.failed()) {
        outcome.failure = std::move(failure);
        return outcome;
    }
    if (const int refused = moveIntoPlaceRetrying(writer->tempPath(), targetPath); refused != 0) {
        outcome.failure.step = SaveStep::Replace;
        outcome.failure.systemError = refused;
        return outcome;
    }
    // The companion follows only a bank that is safely in place under a new name.
    if (newFile && bank.flavor() == BankFlavor::TQ2 && !bank.copyCompanionFile(targetPath))
        outcome.companionFailed = true;
    writer->commit(platform::toHostPath(targetPath));
    outcome.saved = true;
    return outcome;
}

}  // namespace calyx::bank
