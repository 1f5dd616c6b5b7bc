// What the user is told when a bank cannot be opened or saved, or opens with
// a warning. Every failure has a text: the game's own when it has one and it
// is there, else a built-in text naming the file and what went wrong. The
// editor falls back on French, calyx-cli on English.
#pragma once

#include <string_view>

#include "editor/core/game_strings.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

enum class FallbackLanguage { French, English };

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
    ReplaceFailed,        // the new file could not take the target's place; the file is unchanged
    CompanionCopyFailed,  // the bank was saved, its ".bns" companion could not follow
    PasteSourceChanged,   // a bank a sample was pasted from changed since (its path is given); nothing was saved
};

// The text for `problem` on the file at `path` ("%1" in texts is the file
// title). `bankError` is the bank's error code for LoadIncomplete and
// SaveFailed. Never empty.
UiText documentProblemText(DocumentProblem problem, std::string_view path, int bankError,
                           const GameStrings& strings, FallbackLanguage language);

}  // namespace calyx::editor
