// The messages of the editor and calyx-cli: for each, the id of the game's
// own text and the built-in texts shown when the game's text is not there,
// French for the editor and English for calyx-cli, so that one run speaks
// one language.
//
// Built-in texts are UTF-8; game texts are the bytes of `strings.dat`. Both
// reach the user as a `UiText`, which says which of the two it holds.
#pragma once

#include <optional>
#include <string_view>

#include "bank/bank_error.h"
#include "editor/core/edit_results.h"
#include "editor/core/game_strings.h"
#include "editor/core/interface_language.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {


// A message the game's texts have no words for: its built-in text is shown.
inline constexpr int noGameText = 0;

struct MessageEntry {
    int gameStringId;
    // UTF-8; empty when nothing is shown without the game's text.
    std::string_view french;
    std::string_view english;

    constexpr std::string_view builtIn(InterfaceLanguage language) const {
        return language == InterfaceLanguage::English ? english : french;
    }
};

namespace message {
// The wave-output device cannot be opened.
inline constexpr MessageEntry soundDriverFailed{140, "impossible d'initialiser le driver son",
                                                "the sound driver cannot be initialised"};
// A bank saved under a new name could not take its ".bns" companion along.
inline constexpr MessageEntry companionCopyFailed{152, "impossible de sauvegarder le fichier bns",
                                                  "the .bns name file cannot be saved"};
// Asked before a modified document is closed; "%1" is the document's name.
inline constexpr MessageEntry saveChangesQuestion{147, "Enregistrer les modifications apportées à %1?",
                                                  "Save the changes to %1?"};
}  // namespace message

// The entry of a message known by its game text id, for callers that name a
// message by id; nothing for an id that is not one of the entries above.
std::optional<MessageEntry> messageById(int gameStringId);

// The name shown for a document that has neither path nor title.
inline constexpr std::string_view untitledDocumentName = "sans nom";

// The framework's message numbers for file errors while opening or saving.
namespace framework_message {
inline constexpr int saveFailed = 61696;
inline constexpr int openFailed = 61697;
inline constexpr int saveRaisedError = 61698;
inline constexpr int askToSaveChanges = 61699;
inline constexpr int badFormat = 61728;
inline constexpr int fileNotFound = 61729;
inline constexpr int diskFull = 61730;
inline constexpr int accessDeniedLoading = 61731;
inline constexpr int accessDeniedSaving = 61732;
inline constexpr int readError = 61733;
inline constexpr int writeError = 61734;
}  // namespace framework_message

// The message of a WAV error of the edit dialog (1 format not supported,
// 2 cannot open, 3 cannot read, 4 cannot write, 5 no sample data); nothing
// for 0 and every other code.
std::optional<MessageEntry> wavErrorMessage(WavError error);
// The message of an import result (2 and 3 not a ".wav" name — 3 for a
// dropped file —, 4 no sound data, 5 missing or unreadable file, 6 format
// not supported); nothing for 1 (taken); "Problème interne" for any other code.
std::optional<MessageEntry> importResultMessage(ImportResult result);
// The message of a bank error: the game's text (1 → 60, 2 → 62, 3 → 52,
// 4 → 153, 5 and any code outside 0..5 → 54) and what a document's built-in
// text adds; nothing for None.
std::optional<MessageEntry> bankErrorMessage(bank::BankError error);
// The game text id for a framework file-error message number (61729–61734 →
// 141–146, 61699 → 147); nothing for any other number.
std::optional<int> fileErrorGameStringId(int messageNumber);

// The game's text of `id` when the table is loaded and the text is not
// empty; else `builtInUtf8`; nothing when that is empty as well.
std::optional<UiText> resolveMessage(int id, std::string_view builtInUtf8, const GameStrings& strings);
// The game's text of the entry, else its built-in text in `language`.
std::optional<UiText> resolveMessage(const MessageEntry& entry, const GameStrings& strings,
                                     InterfaceLanguage language = InterfaceLanguage::French);

// What the edit dialog shows for a WAV error and for an import result.
std::optional<UiText> wavErrorText(WavError error, const GameStrings& strings,
                                   InterfaceLanguage language = InterfaceLanguage::French);
std::optional<UiText> importResultText(ImportResult result, const GameStrings& strings,
                                       InterfaceLanguage language = InterfaceLanguage::French);
// What the document shows for a bank error code and for a framework
// file-error message: only the game's texts, so nothing without them.
std::optional<UiText> bankErrorText(bank::BankError error, const GameStrings& strings);
std::optional<UiText> fileErrorText(int messageNumber, const GameStrings& strings);

}  // namespace calyx::editor
