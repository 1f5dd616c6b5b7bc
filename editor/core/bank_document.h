// An open bank as a document, without widgets: the bank with its path, its
// title and modified flag, its undo history, the links its pasted resources hold in the
// application's `LinkTable` (released when it closes), and the decisions of
// opening, saving and closing. It hears every change of its bank, marks
// itself modified (what a save commits excepted) and tells its listeners
// (the window's list and modified mark). The editor's document window and
// calyx-cli both open and save banks through it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bank/bank_writer.h"
#include "bank/listener_list.h"
#include "bank/sound_bank.h"
#include "editor/core/converted_copies.h"
#include "editor/core/disk_stamp.h"
#include "editor/core/document_change.h"
#include "editor/core/document_messages.h"
#include "editor/core/installation.h"
#include "editor/core/link_table.h"
#include "editor/core/undo_history.h"

namespace calyx::editor {

enum class CloseAnswer { Yes, No, Cancel };

class BankDocument {
public:
    explicit BankDocument(LinkTable& links);
    ~BankDocument();
    BankDocument(const BankDocument&) = delete;
    BankDocument& operator=(const BankDocument&) = delete;

    // Loads the bank at `path`. On failure the report says why and the
    // document stays as it was; on success a report may still carry a load
    // warning (the bank stays open with what was read).
    struct OpenResult {
        bool opened = false;
        std::optional<DocumentReport> report;
        // An opened bank whose file ends before some of its samples' data.
        std::optional<DocumentReport> dataWarning = std::nullopt;
    };
    OpenResult open(std::string_view path, const InstallInfo& install);

    // Saves under `targetPath` (Save, or Save As once the name is settled);
    // A failure leaves the file on disk as it was, and the document as
    // modified as it was;
    // a companion that could not follow is a warning of a successful save.
    struct SaveResult {
        bool saved = false;
        std::optional<DocumentReport> report;
    };
    // `progress` hears how far the save has come.
    SaveResult save(const std::string& targetPath, bank::BankWriter::Progress progress = {});

    // Asks before a modified document closes: true when it may close.
    // `ask` shows the question; `saveNow` runs the save (asking for a name
    // when needed) and answers whether it succeeded.
    bool askToSave(const GameStrings& strings, const std::function<CloseAnswer(const UiText& question)>& ask,
                   const std::function<bool()>& saveNow) const;
    UiText closeQuestion(const GameStrings& strings) const;
    // The name the user knows the document by: its file name, else its
    // title, else "sans nom".
    std::string displayName() const;

    // Whether another program (the game's tools, calyx-cli, another editor)
    // has changed the bank's file since the document last read or wrote it.
    bool changedOnDisk() const;
    // The file as it is now counts as seen: no question until it changes
    // again.
    void acceptDiskVersion();
    // A save over the document's own file changed on disk asks first.
    bool asksBeforeSaving(const std::string& targetPath) const {
        return targetPath == pathName_ && changedOnDisk();
    }
    // An unmodified document whose file changed on disk is offered a reload.
    bool offersReload() const { return !modified_ && changedOnDisk(); }

    // Gives every pasted resource's link back to the table; done once, when
    // the document closes.
    void releaseLinks();

    bank::SoundBank& bank() { return bank_; }
    // The application's table the document's pastes hold their keys in.
    LinkTable& links() { return links_; }
    // Converted copies of the user's WAV files that the document's pending
    // replacements read; kept until the next successful save or the close.
    ConvertedCopies& convertedCopies() { return converted_; }
    const bank::SoundBank& bank() const { return bank_; }
    // Empty for a document never loaded from a file.
    const std::string& pathName() const { return pathName_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const std::string& title() const { return title_; }
    bool isModified() const { return modified_; }
    // Only a bank read from a file can be saved: a new one has no layout to
    // write its samples into.
    bool canBeSaved() const { return bank_.bankPath() && !bank_.bankPath()->empty(); }
    // Tells the listeners when the state changes.
    void setModified(bool modified);
    bool isSaving() const { return bank_.savesInProgress() != 0; }

    // Every change since the open, to undo and redo. Undoing or redoing to
    // the state last opened or saved leaves the document unmodified.
    UndoHistory& history() { return history_; }
    void setUndoEnabled(bool enabled) { history_.setEnabled(enabled); }
    bool undo();
    bool redo();

    // `listener` hears every change from now on; answers its handle.
    int addListener(DocumentListener listener);
    void removeListener(int handle);

private:
    void onResourceChanged(bank::SoundResource& resource);
    void onChangeGroup(bool begins);
    // Sounds named by index and name, the first ten of them.
    std::string soundList(const std::vector<std::size_t>& indexes) const;

    LinkTable& links_;
    // Declared before the bank: the copies go only after the bank is gone.
    ConvertedCopies converted_;
    bank::SoundBank bank_;
    UndoHistory history_{bank_, links_};
    std::string pathName_;
    // The file on disk when last read or written.
    std::optional<DiskStamp> diskStamp_;
    std::string title_;
    bool modified_ = false;
    bool linksReleased_ = false;
    bank::ListenerList<const DocumentChange&> listeners_;
};

// The path a Save As writes to for the name the user chose: the name itself
// when it ends in ".bnm" (any case), the name with ".bnm" added when its
// last component has no extension, nothing for another extension.
std::optional<std::string> bankSavePath(std::string_view chosenName);

// What the user is told about a save of `targetPath` that failed at
// `failure`'s step: a full disk, a device that failed reading or writing, a
// missing folder and a refused rename in words of their own, the bank's
// error otherwise.
DocumentReport saveFailureReport(const bank::SaveFailure& failure, const std::string& targetPath);

}  // namespace calyx::editor
