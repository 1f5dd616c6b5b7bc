#include "editor/core/document_messages.h"

#include <array>
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
    std::string_view english;
    // A failed save: the built-in text ends by saying that the file on disk
    // is as it was, after what went wrong and the system's reason.
    bool fileUnchanged = false;
};

ProblemTexts textsFor(DocumentProblem problem) {
    using namespace framework_message;
    switch (problem) {
    case DocumentProblem::NotFound:
        return {fileNotFound,
                "%1\nImpossible de trouver ce fichier. Vérifiez que le chemin et le nom du fichier sont corrects.",
                "%1: no such sound bank"};
    case DocumentProblem::NotABankName:
        return {fileNotFound, "%1\nCe fichier n'est pas une banque de sons : son nom doit finir par .bnm.",
                "%1: not a sound bank (a bank's name ends in .bnm)"};
    case DocumentProblem::Folder:
        return {std::nullopt, "%1\nC'est un dossier, pas une banque de sons.", "%1: a folder, not a sound bank"};
    case DocumentProblem::AccessDeniedLoading:
        return {accessDeniedLoading, "%1\nAccès refusé : impossible de lire ce fichier.",
                "%1: cannot be opened for reading (access denied)"};
    case DocumentProblem::NotABank:
        return {std::nullopt,
                "%1\nCe fichier n'est pas une banque de sons complète : il se termine avant la fin de ses "
                "en-têtes.",
                "%1: not a complete sound bank (the file ends inside its header or records)"};
    case DocumentProblem::LoadIncomplete:
        return {std::nullopt, "%1\nLa banque n'a pas pu être lue entièrement.", "%1: the bank could not be read whole"};
    case DocumentProblem::NewBankCannotBeSaved:
        return {std::nullopt,
                "%1\nUne nouvelle banque ne peut pas être enregistrée : seule une banque ouverte depuis un "
                "fichier peut l'être.",
                "%1: a new bank cannot be saved; only a bank opened from a file can"};
    case DocumentProblem::SaveNameRefused:
        return {std::nullopt, "%1\nUne banque de sons s'enregistre sous un nom finissant par .bnm.",
                "%1: a sound bank is saved under a name ending in .bnm"};
    case DocumentProblem::SaveFailed:
        return {std::nullopt, "%1\nImpossible d'enregistrer la banque.", "%1: the bank could not be saved", true};
    case DocumentProblem::NoTemporaryFile:
        return {std::nullopt,
                "%1\nImpossible d'enregistrer la banque : aucun fichier temporaire ne peut être créé dans %2.",
                "%1: the bank cannot be saved: no temporary file can be created in %2", true};
    case DocumentProblem::ReplaceFailed:
        return {accessDeniedSaving, "%1\nLa banque enregistrée n'a pas pu remplacer ce fichier.",
                "%1: the saved bank could not take the file's place", true};
    case DocumentProblem::FolderMissing:
        return {std::nullopt, "%1\nLe dossier %2 n'existe pas : rien n'a été écrit.",
                "%1: the folder %2 does not exist; nothing was written"};
    case DocumentProblem::DiskFull:
        return {diskFull, "%1\nLe disque est plein.", "%1: the disk is full", true};
    case DocumentProblem::ReadError:
        return {readError, "%1\nUn son de la banque n'a pas pu être lu.", "%1: a sample of the bank could not be read",
                true};
    case DocumentProblem::WriteError:
        return {writeError, "%1\nLa banque n'a pas pu être écrite.", "%1: the bank could not be written", true};
    case DocumentProblem::CompanionCopyFailed:
        return {std::nullopt, message::companionCopyFailed.french,
                "%1: saved, but the companion name file (.bns) could not be copied"};
    case DocumentProblem::PasteSourceChanged:
        return {std::nullopt,
                "%1\nCe fichier a changé depuis qu'un de ses sons a été copié dans cette banque. La banque n'a pas "
                "été enregistrée : copiez ce son de nouveau.",
                "%1: changed since one of its sounds was copied into this bank; the bank was not saved (copy "
                "that sound again)"};
    }
    return {};
}

}  // namespace

std::string systemReason(int errorNumber) { return std::generic_category().message(errorNumber); }

UiText documentProblemText(const DocumentReport& report, const GameStrings& strings, InterfaceLanguage language) {
    const DocumentProblem problem = report.problem;
    const bank::BankError bankError = report.bankError;
    // The editor's boxes name a document by its title, as its window does; a
    // command's lines name the file by its path, so that a script's log says
    // which one.
    const bool english = language == InterfaceLanguage::English;
    const std::string shown = english ? report.path : std::string(platform::lastComponent(report.path));
    const bool withBankError = problem == DocumentProblem::LoadIncomplete || problem == DocumentProblem::SaveFailed;
    const ProblemTexts texts = textsFor(problem);

    std::optional<int> gameId;
    const auto bankMessage = withBankError ? bankErrorMessage(bankError) : std::nullopt;
    if (withBankError) {
        if (bankMessage) gameId = bankMessage->gameStringId;
    } else if (problem == DocumentProblem::CompanionCopyFailed)
        gameId = message::companionCopyFailed.gameStringId;
    else if (texts.frameworkMessage)
        gameId = fileErrorGameStringId(*texts.frameworkMessage);
    if (gameId) {
        if (auto game = resolveMessage(*gameId, {}, strings))
            return UiText::builtIn(formatWithArgument(*game, shown));
    }

    std::string_view base = english ? texts.english : texts.french;
    // A bank whose names could not be read was read whole: the detail says it all.
    if (problem == DocumentProblem::LoadIncomplete && bankError == bank::BankError::CompanionUnreadable)
        base = english ? "%1:" : "%1";
    std::string text = formatWithArgument(UiText::builtIn(base), shown);
    if (const auto place = text.find("%2"); place != std::string::npos) text.replace(place, 2, report.place);
    if (bankMessage) {
        const std::string_view detail = bankMessage->builtIn(language);
        if (!english) {
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
    if (texts.fileUnchanged)
        text += english ? "; the file is unchanged" : "\nLe fichier sur le disque n'a pas été modifié.";
    return UiText::builtIn(text);
}

UiText DocumentReport::text(const GameStrings& strings, InterfaceLanguage language) const {
    return documentProblemText(*this, strings, language);
}

}  // namespace calyx::editor
