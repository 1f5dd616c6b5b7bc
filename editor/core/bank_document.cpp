#include "editor/core/bank_document.h"

#include <cerrno>

#include "bank/sample_reading.h"
#include "bank/save_document.h"
#include "editor/core/document_open.h"
#include "editor/core/messages.h"
#include "editor/core/resource_drop.h"
#include "editor/core/resource_list.h"
#include "platform/file.h"
#include "platform/path.h"

namespace calyx::editor {

namespace {

// A full disk, or a full quota where the system has quotas (Windows has no EDQUOT).
bool isDiskFull(int error) {
#ifdef EDQUOT
    if (error == EDQUOT) return true;
#endif
    return error == ENOSPC;
}

}  // namespace

DocumentReport saveFailureReport(const bank::SaveFailure& failure, const std::string& targetPath) {
    using bank::SaveStep;
    switch (failure.step) {
    case SaveStep::TemporaryFile:
        return {DocumentProblem::NoTemporaryFile, targetPath, failure.bankError, failure.systemError, failure.place};
    case SaveStep::Replace:
    case SaveStep::TargetName:
    case SaveStep::None:
        // A target whose folder is missing (or is a file) refuses the new file.
        if (failure.systemError == ENOENT || failure.systemError == ENOTDIR)
            return {DocumentProblem::FolderMissing, targetPath, {}, 0, std::string(platform::directoryPart(targetPath))};
        return {DocumentProblem::ReplaceFailed, targetPath, {}, failure.systemError};
    case SaveStep::EmptyBank:
    case SaveStep::TooLarge: break;
    case SaveStep::Header:
    case SaveStep::SampleData:
    case SaveStep::Flush:
    case SaveStep::Naming:
    case SaveStep::Closing:
        // What the system said, where it has words of its own.
        if (isDiskFull(failure.systemError))
            return {DocumentProblem::DiskFull, targetPath, failure.bankError, failure.systemError};
        if (failure.systemError == EIO) {
            const bool reading = failure.bankError == bank::BankError::SourceUnreadable;
            return {reading ? DocumentProblem::ReadError : DocumentProblem::WriteError, targetPath, failure.bankError,
                    failure.systemError};
        }
        break;
    }
    return {DocumentProblem::SaveFailed, targetPath, failure.bankError, failure.systemError};
}

std::string BankDocument::soundList(const std::vector<std::size_t>& indexes) const {
    constexpr std::size_t named = 10;
    std::string list;
    for (std::size_t i = 0; i < indexes.size() && i < named; ++i) {
        const std::string name = cellText(bank_, indexes[i], nameColumn).utf8();
        list += (i ? ", " : "") + std::to_string(indexes[i]) + (name.empty() ? "" : " " + name);
    }
    if (indexes.size() > named) list += ", ... (" + std::to_string(indexes.size()) + ")";
    return list;
}

BankDocument::BankDocument(LinkTable& links) : links_(links) {
    useLinkTable(bank_, links_);
    bank_.addChangeListener([this](bank::SoundResource& resource) { onResourceChanged(resource); });
    bank_.addGroupListener([this](bool begins) { onChangeGroup(begins); });
}

BankDocument::~BankDocument() { releaseLinks(); }

void BankDocument::onResourceChanged(bank::SoundResource& resource) {
    // A sample copied from another document may read that document's
    // converted copy of a WAV file: this document keeps the copy as well.
    if (const auto& path = resource.replacementPath()) converted_.adopt(*path);
    const int index = bank_.indexOfResource(&resource);
    if (index >= 0) listeners_.notify(DocumentChange::ofResource(static_cast<std::size_t>(index)));
    // The file names a save writes into its records are no change of the user's.
    if (isSaving()) return;
    if (index >= 0) history_.resourceChanged(static_cast<std::size_t>(index));
    setModified(true);
}

void BankDocument::onChangeGroup(bool begins) {
    if (begins) {
        history_.beginStep();
    } else {
        history_.endStep();
    }
}

bool BankDocument::undo() {
    if (isSaving() || !history_.undo()) return false;
    setModified(!history_.atCleanPoint());
    return true;
}

bool BankDocument::redo() {
    if (isSaving() || !history_.redo()) return false;
    setModified(!history_.atCleanPoint());
    return true;
}

void BankDocument::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    listeners_.notify(DocumentChange::ofModified(modified));
}

int BankDocument::addListener(DocumentListener listener) { return listeners_.add(std::move(listener)); }

void BankDocument::removeListener(int handle) { listeners_.remove(handle); }

BankDocument::OpenResult BankDocument::open(std::string_view path, const InstallInfo& install) {
    const std::string file(path);
    auto failure = [&file](DocumentProblem problem) {
        return OpenResult{false, DocumentReport{problem, file}};
    };
    if (path.empty()) return failure(DocumentProblem::NoFileNamed);
    if (platform::directoryExists(path)) return failure(DocumentProblem::Folder);
    switch (openBank(bank_, path, install)) {
    case editor::OpenResult::Opened: break;
    case editor::OpenResult::BadPath:
        return failure(platform::fileExists(path) ? DocumentProblem::NotABankName : DocumentProblem::NotFound);
    case editor::OpenResult::CannotOpen: return failure(DocumentProblem::AccessDeniedLoading);
    case editor::OpenResult::Empty: return failure(DocumentProblem::EmptyFile);
    case editor::OpenResult::Truncated:
    case editor::OpenResult::ImpossibleCounts: return failure(DocumentProblem::NotABank);
    }
    pathName_ = bank_.bankPath().value_or(file);
    history_.reset();
    setModified(false);
    diskStamp_ = readDiskStamp(pathName_);
    OpenResult result{true, std::nullopt};
    if (bank::BankError code = bank::BankError::None; bank_.takeError(code))
        result.report = DocumentReport{DocumentProblem::LoadIncomplete, file, code};
    if (platform::File opened; opened.open(pathName_, platform::File::Mode::Read)) {
        const auto cut = bank::samplesPastTheEnd(bank_, opened.length());
        if (!cut.empty()) result.dataWarning = DocumentReport{DocumentProblem::SoundsCutOff, file, {}, 0, soundList(cut)};
    }
    return result;
}

BankDocument::SaveResult BankDocument::save(const std::string& targetPath, bank::BankWriter::Progress progress) {
    if (!canBeSaved()) return {false, DocumentReport{DocumentProblem::NewBankCannotBeSaved, displayName()}};
    // A pasted sample whose source file changed since would be read from the
    // wrong place: nothing is written.
    if (auto changed = links_.origins().changedSource(bank_)) {
        setModified(true);
        return {false, DocumentReport{DocumentProblem::PasteSourceChanged, *changed}};
    }
    const std::string loadedPath = *bank_.bankPath();
    const bool overItsFile = loadedPath == targetPath;
    const std::vector<bool> kept = PasteOrigins::keptSamples(bank_);
    history_.beforeSave(kept, converted_.baseFolder());
    const auto outcome = bank::saveDocument(bank_, targetPath, progress);
    if (!outcome.saved) {
        // Nothing was written over the target; a document that was not
        // modified is still not.
        DocumentReport report = saveFailureReport(outcome.failure, targetPath);
        if (const auto index = outcome.failure.resource; index && *index < bank_.resourceCount()) {
            report.sound = *index;
            report.soundName = cellText(bank_, *index, nameColumn).utf8();
        }
        return {false, report};
    }
    pathName_ = targetPath;
    history_.saved();
    setModified(false);
    diskStamp_ = readDiskStamp(pathName_);
    // The bank holds the converted samples now.
    converted_.discardAll();
    // Pastes from this bank in other documents follow their samples.
    if (overItsFile) links_.origins().sourceSaved(targetPath, bank_, kept);
    SaveResult result{true, std::nullopt};
    if (outcome.companionFailed) result.report = DocumentReport{DocumentProblem::CompanionCopyFailed, targetPath};
    return result;
}

bool BankDocument::changedOnDisk() const {
    return !pathName_.empty() && editor::changedOnDisk(diskStamp_, readDiskStamp(pathName_));
}

void BankDocument::acceptDiskVersion() {
    if (!pathName_.empty()) diskStamp_ = readDiskStamp(pathName_);
}

std::string BankDocument::displayName() const {
    if (!pathName_.empty()) return std::string(platform::lastComponent(pathName_));
    if (!title_.empty()) return title_;
    return std::string(untitledDocumentName);
}

UiText BankDocument::closeQuestion(const GameStrings& strings) const {
    const auto question = resolveMessage(message::saveChangesQuestion, strings);
    return UiText::builtIn(formatWithArgument(*question, displayName()));
}

bool BankDocument::askToSave(const GameStrings& strings, const std::function<CloseAnswer(const UiText&)>& ask,
                             const std::function<bool()>& saveNow) const {
    if (!modified_) return true;
    switch (ask(closeQuestion(strings))) {
    case CloseAnswer::Cancel: return false;
    case CloseAnswer::No: return true;
    case CloseAnswer::Yes: break;
    }
    return saveNow();
}

void BankDocument::releaseLinks() {
    if (linksReleased_) return;
    linksReleased_ = true;
    editor::releaseLinks(bank_, links_);
}

std::optional<std::string> bankSavePath(std::string_view chosenName) {
    const std::string_view last = platform::lastComponent(chosenName);
    if (last.empty()) return std::nullopt;
    if (bank::isBankFileName(chosenName)) return std::string(chosenName);
    const auto dot = last.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot != std::string_view::npos && dot != 0) return std::nullopt;
    return std::string(chosenName) + std::string(bank::bankExtension);
}

}  // namespace calyx::editor
