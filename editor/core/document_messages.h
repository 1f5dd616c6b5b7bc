// What the user is told when a bank cannot be opened or saved, or opens with
// a warning. Every failure has a text: the game's own when it has one and it
// is there, else a built-in text naming the file and what went wrong. The
// editor falls back on French, calyx-cli on English.
#pragma once

#include <string>
#include <string_view>

#include "bank/bank_error.h"
#include "editor/core/game_strings.h"
#include "editor/core/messages.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

enum class DocumentProblem {
    NotFound,             // no file answers to the path
    NotABankName,         // the name does not end in ".bnm"
    Folder,               // the path names a folder
    AccessDeniedLoading,  // the file exists but cannot be opened for reading
    NotABank,             // the file ends inside its header or records, or counts more than it holds
    LoadIncomplete,       // opened, but the bank reported an error while loading (code in `bankError`)
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

    UiText text(const GameStrings& strings, InterfaceLanguage language) const;
};

// What the system's error number `errorNumber` says ("Permission denied").
std::string systemReason(int errorNumber);

// The text for `report`: the game's text when it has one and it is there,
// else the built-in text in `language`, naming the file (by its title in the
// editor's French, by its path in calyx-cli's English), what went wrong and
// the system's reason. Never empty.
UiText documentProblemText(const DocumentReport& report, const GameStrings& strings, InterfaceLanguage language);

}  // namespace calyx::editor
