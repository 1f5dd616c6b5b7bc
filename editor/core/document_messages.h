// What the user is told when a bank cannot be opened or saved, or opens with
// a warning. Every failure has a text: the game's own when it has one and it
// is there, else a built-in text naming the file and what went wrong, in the
// editor's language or calyx-cli's English.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "bank/bank_error.h"
#include "editor/core/game_strings.h"
#include "editor/core/messages.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

enum class DocumentProblem {
    NoFileNamed,          // the path is empty
    NotFound,             // no file answers to the path
    NotABankName,         // the name does not end in ".bnm"
    Folder,               // the path names a folder
    AccessDeniedLoading,  // the file exists but cannot be opened for reading
    EmptyFile,            // the file holds no byte
    NotABank,             // the file ends inside its header or records, or counts more than it holds
    LoadIncomplete,       // opened, but the bank reported an error while loading (code in `bankError`)
    SoundsCutOff,         // opened, but the file ends before the data of the sounds listed in `place`
    NewBankCannotBeSaved, // a document that was never loaded from a file
    SaveNameRefused,      // Save As under a name with another extension than ".bnm"
    SaveFailed,           // the bank's save failed (code in `bankError`); the file is unchanged
    NoTemporaryFile,      // no temporary file could be made for the save (its folder in `place`)
    ReplaceFailed,        // the new file could not take the target's place; the file is unchanged
    FolderMissing,        // the target's folder (in `place`) does not exist; nothing was written
    DiskFull,             // the disk (or the user's quota) is full; the file is unchanged
    ReadError,            // a sample could not be read (the device failed); the file is unchanged
    WriteError,           // the new bank could not be written (the device failed); the file is unchanged
    CompanionCopyFailed,  // the bank was saved, its ".bns" companion could not follow
    PasteSourceChanged,   // a bank a sample was pasted from changed since (its path is given); nothing was saved
};

// A failure, or a warning that leaves the document open, with what to show.
struct DocumentReport {
    DocumentProblem problem;
    std::string path;
    // The bank's error for LoadIncomplete and SaveFailed.
    bank::BankError bankError = bank::BankError::None;
    // What the system answered to the step that failed (an errno value), 0
    // when unknown.
    int systemError = 0;
    // The folder a problem is about, for the problems that name one.
    std::string place = {};
    // The sound a failed save could not read: its index, and its name as the
    // list shows it (empty when it has none).
    std::optional<std::size_t> sound = std::nullopt;
    std::string soundName = {};

    // A line of calyx-cli's output in English, the editor's box in French.
    UiText text(const GameStrings& strings, InterfaceLanguage language) const;
    // The editor's box in `language`.
    UiText boxText(const GameStrings& strings, InterfaceLanguage language) const;
};

// How a report is put: a box names the document by its title, then says on a
// line of its own what went wrong; a line of calyx-cli's output names the
// file by its path.
enum class MessageForm { Box, Line };

// What the system's error number `errorNumber` says ("Permission denied").
std::string systemReason(int errorNumber);

// The text for `report`: the game's text when it has one and it is there,
// else the built-in text in `language` and `form`, naming the file, what went
// wrong and the system's reason. Never empty.
UiText documentProblemText(const DocumentReport& report, const GameStrings& strings, InterfaceLanguage language,
                           MessageForm form);

}  // namespace calyx::editor
