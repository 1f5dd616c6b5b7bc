#include "editor/core/messages.h"

#include <array>
#include <utility>

namespace calyx::editor {

namespace {

constexpr MessageEntry internalProblem{54, "Problème interne", "internal problem"};

// Index = code − 1.
constexpr std::array<MessageEntry, 5> wavErrors = {{
    {59, "Format de .wav non supporté", "WAV format not supported"},
    {61, "Erreur d'ouverture du .wav", "the WAV file cannot be opened"},
    {60, "Erreur de lecture du .wav", "the WAV file cannot be read"},
    {62, "Erreur d'écriture du .wav", "the WAV file cannot be written"},
    {58, "Son trop volumineux", "the sound is too large"},
}};

// Index = code − 2. Code 3 is a dropped file, so the game may word it apart.
constexpr std::array<MessageEntry, 5> importResults = {{
    {50, "Vous ne pouvez entrer que des fichiers .Wav", "only .wav files can be imported"},
    {51, "Vous ne pouvez entrer que des fichiers .Wav", "only .wav files can be imported"},
    // Fewer than 4 bytes of sound: the game's words ("out of memory") would
    // send the user looking for the wrong fault.
    {noGameText, "Le fichier ne contient pas de son (moins de 4 octets de données)",
     "the file holds no sound (less than 4 bytes of data)"},
    {53, "Le fichier n'existe pas", "the file does not exist"},
    {59, "format du .wav non supporté (doit être en 22 kHz mono 16 bits)",
     "WAV format not supported (it must be 22 kHz, mono, 16-bit)"},
}};

constexpr std::array<MessageEntry, 3> namedMessages = {
    message::soundDriverFailed, message::companionCopyFailed, message::saveChangesQuestion};

// Index = bank error code − 1. The game's texts are shared with the WAV
// messages; the built-in texts are what a document's message adds.
constexpr std::array<MessageEntry, 5> bankErrors = {{
    {60, "Les données d'un son ne peuvent pas être lues.", "a sample's data cannot be read"},
    {62,
     "Un fichier source manque, ou le fichier temporaire ne peut pas être écrit à côté de la banque (dossier "
     "protégé ou disque plein).",
     "a source file is missing, or the temporary file beside the bank cannot be written (read-only folder or full "
     "disk)"},
    {52, "Mémoire insuffisante.", "not enough memory"},
    {153, "Le fichier de noms (.bns) ne peut pas être lu : les noms et descriptions sont vides.",
     "the companion name file cannot be read; names and descriptions are empty"},
    {54, "Erreur interne.", "internal error"},
}};

constexpr std::array<std::pair<int, int>, 7> fileErrorIds = {{
    {framework_message::fileNotFound, 141},
    {framework_message::diskFull, 142},
    {framework_message::accessDeniedLoading, 143},
    {framework_message::accessDeniedSaving, 144},
    {framework_message::readError, 145},
    {framework_message::writeError, 146},
    {framework_message::askToSaveChanges, 147},
}};

std::optional<UiText> gameTextOnly(std::optional<int> id, const GameStrings& strings) {
    if (!id) return std::nullopt;
    return resolveMessage(*id, {}, strings);
}

}  // namespace

std::optional<MessageEntry> messageById(int gameStringId) {
    for (const auto& entry : namedMessages)
        if (entry.gameStringId == gameStringId) return entry;
    return std::nullopt;
}

std::optional<MessageEntry> wavErrorMessage(WavError error) {
    const int code = static_cast<int>(error);
    if (code < 1 || code > static_cast<int>(wavErrors.size())) return std::nullopt;
    return wavErrors[static_cast<std::size_t>(code - 1)];
}

std::optional<MessageEntry> importResultMessage(ImportResult result) {
    const int code = static_cast<int>(result);
    if (code == 1) return std::nullopt;
    if (code < 2 || code > 1 + static_cast<int>(importResults.size())) return internalProblem;
    return importResults[static_cast<std::size_t>(code - 2)];
}

std::optional<MessageEntry> bankErrorMessage(bank::BankError error) {
    int code = static_cast<int>(error);
    if (code == 0) return std::nullopt;
    if (code < 0 || code > static_cast<int>(bankErrors.size())) code = static_cast<int>(bank::BankError::Other);
    return bankErrors[static_cast<std::size_t>(code - 1)];
}

std::optional<int> fileErrorGameStringId(int messageNumber) {
    for (const auto& [number, id] : fileErrorIds)
        if (number == messageNumber) return id;
    return std::nullopt;
}

std::optional<UiText> resolveMessage(int id, std::string_view builtInUtf8, const GameStrings& strings) {
    if (id == noGameText) return builtInUtf8.empty() ? std::nullopt : std::optional(UiText::builtIn(builtInUtf8));
    if (auto text = strings.GetGameString(id); text && !text->empty()) return UiText::fromGame(std::move(*text));
    if (builtInUtf8.empty()) return std::nullopt;
    return UiText::builtIn(builtInUtf8);
}

std::optional<UiText> resolveMessage(const MessageEntry& entry, const GameStrings& strings,
                                     InterfaceLanguage language) {
    return resolveMessage(entry.gameStringId, entry.builtIn(language), strings);
}

std::optional<UiText> wavErrorText(WavError error, const GameStrings& strings, InterfaceLanguage language) {
    const auto entry = wavErrorMessage(error);
    if (!entry) return std::nullopt;
    return resolveMessage(*entry, strings, language);
}

std::optional<UiText> importResultText(ImportResult result, const GameStrings& strings,
                                       InterfaceLanguage language) {
    const auto entry = importResultMessage(result);
    if (!entry) return std::nullopt;
    return resolveMessage(*entry, strings, language);
}

std::optional<UiText> bankErrorText(bank::BankError error, const GameStrings& strings) {
    const auto entry = bankErrorMessage(error);
    if (!entry) return std::nullopt;
    return gameTextOnly(entry->gameStringId, strings);
}

std::optional<UiText> fileErrorText(int messageNumber, const GameStrings& strings) {
    return gameTextOnly(fileErrorGameStringId(messageNumber), strings);
}

}  // namespace calyx::editor
