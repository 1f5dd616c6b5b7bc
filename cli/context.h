// What every calyx-cli command shares: the global options, the installed
// game found the way the editor finds it, the game's texts, opening banks,
// and the exit codes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bank/sound_bank.h"
#include "editor/core/bank_document.h"
#include "editor/core/game_strings.h"
#include "editor/core/installation.h"
#include "editor/core/messages.h"
#include "editor/core/ui_text.h"

namespace calyx::cli {

// How calyx-cli ends: 0 done, 1 a command failed, 2 the command line was wrong.
enum class ExitCode : int { Ok = 0, Failure = 1, Usage = 2 };

// Thrown by a command to end with a message on standard error.
struct CommandFailure {
    std::string message;
    ExitCode exitCode = ExitCode::Failure;
};

class Context {
public:
    // Global options as given (empty when absent).
    std::string k7DirOption, tq2DirOption, k7LanguageOption, tq2LanguageOption;

    // Turns a path from the command line into a host path while the current
    // directory is still the user's shell directory, by the same rules as
    // every path the programs take (drive letters, '\\' or '/', names found
    // without regard to case). `role` names the argument in the message when
    // it is empty or blank (a usage error) or names a drive that is not
    // mapped.
    std::string userPath(std::string_view path, std::string_view role = "a path") const;
    // Finds the installation (the shared INI file, then the options, which
    // win), moves into the game's sound folder as the editor does, and loads
    // the game's texts. Paths must have gone through `userPath` before.
    void startUp();

    const editor::Installation& installation() const { return installation_; }
    const editor::GameStrings& strings() const { return strings_; }
    bool gameStringsLoaded() const { return stringsLoaded_; }

    // Opens a bank as the editor's document, its pasted resources keyed in
    // `links` (the context's own table unless given); a failure throws
    // CommandFailure with the document's message, an empty file included.
    // A warning the load left (a companion that cannot be read) is printed
    // on standard error.
    std::unique_ptr<editor::BankDocument> openDocument(const std::string& path) const;
    std::unique_ptr<editor::BankDocument> openDocument(const std::string& path, editor::LinkTable& links) const;

    // Without the game's texts calyx-cli speaks English throughout: the
    // built-in texts of the shared message tables in this language.
    static constexpr editor::InterfaceLanguage language() { return editor::InterfaceLanguage::English; }

    // The text of a message as UTF-8, or `fallback` when there is none.
    std::string messageText(const std::optional<editor::UiText>& text, std::string_view fallback) const;

private:
    editor::Installation installation_;
    mutable editor::LinkTable links_;
    editor::GameStrings strings_;
    bool stringsLoaded_ = false;
};

// Prints "calyx-cli: <message>" on standard error.
void printError(std::string_view message);
void printWarning(std::string_view message);

// A resource by its index from 0 in file order; throws CommandFailure.
bank::SoundResource& resourceAtIndex(bank::SoundBank& bank, long index);

}  // namespace calyx::cli
