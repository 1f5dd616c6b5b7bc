#include "editor/core/document_messages.h"

#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <system_error>

#include "bank/bank_error.h"
#include "editor/core/messages.h"
#include "platform/path.h"

namespace calyx::editor {
namespace {

struct ProblemTexts {
    // The framework message number whose game text is shown, if any.
    std::optional<int> frameworkMessage;
    std::string_view french;
    std::string_view english;     // a line of calyx-cli's output
    std::string_view englishBox;  // the editor's box in English
    // A failed save: the built-in text ends by saying that the file on disk
    // is as it was, after what went wrong and the system's reason.
    bool fileUnchanged = false;
};

ProblemTexts textsFor(DocumentProblem problem) {
    using namespace framework_message;
    switch (problem) {
    case DocumentProblem::NoFileNamed:
        return {std::nullopt, "Aucun fichier n'est nommé : rien à ouvrir.", "no file named", "No file is named: nothing to open."};
    case DocumentProblem::NotFound:
        return {fileNotFound,
                "%1\nImpossible de trouver ce fichier. Vérifiez que le chemin et le nom du fichier sont corrects.",
                "%1: no such sound bank", "%1\nThe file cannot be found. Check that the path and the file name are right."};
    case DocumentProblem::NotABankName:
        return {std::nullopt, "%1\nCe fichier n'est pas une banque de sons : son nom doit finir par .bnm.",
                "%1: not a sound bank (a bank's name ends in .bnm)",
                "%1\nThis file is not a sound bank: a bank's name ends in .bnm."};
    case DocumentProblem::Folder:
        return {std::nullopt, "%1\nC'est un dossier, pas une banque de sons.", "%1: a folder, not a sound bank",
                "%1\nThis is a folder, not a sound bank."};
    case DocumentProblem::AccessDeniedLoading:
        return {accessDeniedLoading, "%1\nAccès refusé : impossible de lire ce fichier.",
                "%1: cannot be opened for reading (access denied)", "%1\nAccess denied: the file cannot be read."};
    case DocumentProblem::EmptyFile:
        return {std::nullopt, "%1\nCe fichier est vide : ce n'est pas une banque de sons.", "%1: the file is empty",
                "%1\nThe file is empty: it is not a sound bank."};
    case DocumentProblem::NotABank:
        return {std::nullopt,
                "%1\nCe fichier n'est pas une banque de sons complète : il se termine avant la fin de ses "
                "en-têtes.",
                "%1: not a complete sound bank (the file ends inside its header or records)",
                "%1\nThis file is not a complete sound bank: it ends inside its header or records."};
    case DocumentProblem::LoadIncomplete:
        return {std::nullopt, "%1\nLa banque n'a pas pu être lue entièrement.", "%1: the bank could not be read whole",
                "%1\nThe bank could not be read whole."};
    case DocumentProblem::SoundsCutOff:
        return {std::nullopt, "%1\nLe fichier s'arrête avant les données de ces sons, qui sont illisibles : %2.",
                "%1: the file ends before the data of these sounds, which cannot be read: %2",
                "%1\nThe file ends before the data of these sounds, which cannot be read: %2."};
    case DocumentProblem::NewBankCannotBeSaved:
        return {std::nullopt,
                "%1\nUne nouvelle banque ne peut pas être enregistrée : seule une banque ouverte depuis un "
                "fichier peut l'être.",
                "%1: a new bank cannot be saved; only a bank opened from a file can",
                "%1\nA new bank cannot be saved: only a bank opened from a file can."};
    case DocumentProblem::SaveNameRefused:
        return {std::nullopt, "%1\nUne banque de sons s'enregistre sous un nom finissant par .bnm.",
                "%1: a sound bank is saved under a name ending in .bnm",
                "%1\nA sound bank is saved under a name ending in .bnm."};
    case DocumentProblem::SaveFailed:
        return {std::nullopt, "%1\nImpossible d'enregistrer la banque.", "%1: the bank could not be saved",
                "%1\nThe bank could not be saved.", true};
    case DocumentProblem::NoTemporaryFile:
        return {std::nullopt,
                "%1\nImpossible d'enregistrer la banque : aucun fichier temporaire ne peut être créé dans %2.",
                "%1: the bank cannot be saved: no temporary file can be created in %2",
                "%1\nThe bank cannot be saved: no temporary file can be created in %2.", true};
    case DocumentProblem::ReplaceFailed:
        return {accessDeniedSaving, "%1\nLa banque enregistrée n'a pas pu remplacer ce fichier.",
                "%1: the saved bank could not take the file's place",
                "%1\nThe saved bank could not take the file's place.", true};
    case DocumentProblem::FolderMissing:
        return {std::nullopt, "%1\nLe dossier %2 n'existe pas : rien n'a été écrit.",
                "%1: the folder %2 does not exist; nothing was written",
                "%1\nThe folder %2 does not exist: nothing was written."};
    case DocumentProblem::DiskFull:
        return {diskFull, "%1\nLe disque est plein.", "%1: the disk is full", "%1\nThe disk is full.", true};
    case DocumentProblem::ReadError:
        return {readError, "%1\nUn son de la banque n'a pas pu être lu.", "%1: a sample of the bank could not be read",
                "%1\nA sample of the bank could not be read.", true};
    case DocumentProblem::WriteError:
        return {writeError, "%1\nLa banque n'a pas pu être écrite.", "%1: the bank could not be written",
                "%1\nThe bank could not be written.", true};
    case DocumentProblem::CompanionCopyFailed:
        return {std::nullopt, message::companionCopyFailed.french,
                "%1: saved, but the companion name file (.bns) could not be copied",
                message::companionCopyFailed.english};
    case DocumentProblem::PasteSourceChanged:
        return {std::nullopt,
                "%1\nCe fichier a changé depuis qu'un de ses sons a été copié dans cette banque. La banque n'a pas "
                "été enregistrée : copiez ce son de nouveau.",
                "%1: changed since one of its sounds was copied into this bank; the bank was not saved (copy "
                "that sound again)",
                "%1\nThis file has changed since one of its sounds was copied into this bank. The bank was not "
                "saved: copy that sound again."};
    }
    return {};
}

// Which sound of the bank could not be read: by its index on a line of
// calyx-cli's output, by its name in a box.
std::string unreadableSoundText(const DocumentReport& report, MessageForm form, InterfaceLanguage language) {
    const std::string index = std::to_string(*report.sound);
    if (form == MessageForm::Line) {
        return "resource " + index + (report.soundName.empty() ? "" : " (" + report.soundName + ")") +
               ": its data cannot be read";
    }
    const std::string sound = report.soundName.empty() ? "n° " + index : report.soundName;
    return language == InterfaceLanguage::English ? "The data of the sound \"" + sound + "\" cannot be read."
                                                  : "Les données du son « " + sound + " » ne peuvent pas être lues.";
}

// A sound whose bytes could not be read is named: the game's words for it
// speak of a WAV file.
bool namesTheSound(const DocumentReport& report) {
    return report.sound && report.bankError == bank::BankError::SourceUnreadable;
}

}  // namespace

std::string systemReason(int errorNumber) { return std::generic_category().message(errorNumber); }

UiText documentProblemText(const DocumentReport& report, const GameStrings& strings, InterfaceLanguage language,
                           MessageForm form) {
    const DocumentProblem problem = report.problem;
    const bank::BankError bankError = report.bankError;
    // The editor's boxes name a document by its title, as its window does; a
    // command's lines name the file by its path, so that a script's log says
    // which one.
    const bool line = form == MessageForm::Line;
    const bool english = language == InterfaceLanguage::English;
    const std::string shown = line ? report.path : std::string(platform::lastComponent(report.path));
    const bool withBankError = problem == DocumentProblem::LoadIncomplete || problem == DocumentProblem::SaveFailed;
    const ProblemTexts texts = textsFor(problem);

    std::optional<int> gameId;
    const auto bankMessage = withBankError ? bankErrorMessage(bankError) : std::nullopt;
    if (withBankError) {
        // The game's words for an unreadable sample speak of a WAV file; the
        // sound named tells more.
        if (bankMessage && !namesTheSound(report)) gameId = bankMessage->gameStringId;
    } else if (problem == DocumentProblem::CompanionCopyFailed)
        gameId = message::companionCopyFailed.gameStringId;
    else if (texts.frameworkMessage)
        gameId = fileErrorGameStringId(*texts.frameworkMessage);
    if (gameId) {
        if (auto game = resolveMessage(*gameId, {}, strings))
            return UiText::builtIn(formatWithArgument(*game, shown));
    }

    std::string_view base = line ? texts.english : english ? texts.englishBox : texts.french;
    // A bank whose names could not be read was read whole: the detail says it all.
    if (problem == DocumentProblem::LoadIncomplete && bankError == bank::BankError::CompanionUnreadable)
        base = line ? "%1:" : "%1";
    std::string text = formatWithArgument(UiText::builtIn(base), shown);
    if (const auto place = text.find("%2"); place != std::string::npos) text.replace(place, 2, report.place);
    if (bankMessage) {
        std::string detail = namesTheSound(report) ? unreadableSoundText(report, form, language)
                                          : std::string(bankMessage->builtIn(language));
        // The English texts are a line's words: a box makes a sentence of them.
        if (!line && english && !detail.empty() && detail.back() != '.') {
            detail.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(detail.front())));
            detail += '.';
        }
        if (!line) {
            text += "\n";
            text += detail;
        } else if (base.back() == ':') {
            text += " ";
            text += detail;
        } else {
            text += " (";
            text += detail;
            text += ")";
        }
    }
    if (report.systemError != 0) text += " (" + systemReason(report.systemError) + ")";
    if (texts.fileUnchanged) {
        text += line      ? "; the file is unchanged"
                : english ? "\nThe file on disk is unchanged."
                          : "\nLe fichier sur le disque n'a pas été modifié.";
    }
    return UiText::builtIn(text);
}

UiText DocumentReport::text(const GameStrings& strings, InterfaceLanguage language) const {
    return documentProblemText(*this, strings, language,
                               language == InterfaceLanguage::English ? MessageForm::Line : MessageForm::Box);
}

UiText DocumentReport::boxText(const GameStrings& strings, InterfaceLanguage language) const {
    return documentProblemText(*this, strings, language, MessageForm::Box);
}

}  // namespace calyx::editor
