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
    {52, "Problème de mémoire", "not enough memory"},
    {53, "Le fichier n'existe pas", "the file does not exist"},
    {59, "format du .wav non supporté (doit être en 22 kHz mono 16 bits)",
     "WAV format not supported (it must be 22 kHz, mono, 16-bit)"},
}};

constexpr std::array<MessageEntry, 3> namedMessages = {
    message::soundDriverFailed, message::companionCopyFailed, message::saveChangesQuestion};

// Index = bank error code − 1; the texts are shared with the WAV messages.
constexpr std::array<int, 5> bankErrorIds = {60, 62, 52, 153, 54};
constexpr int lastBankErrorCode = 5;

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

std::optional<int> bankErrorGameStringId(int code) {
    if (code == 0) return std::nullopt;
    if (code < 0 || code > lastBankErrorCode) code = lastBankErrorCode;
    return bankErrorIds[static_cast<std::size_t>(code - 1)];
}

std::optional<int> fileErrorGameStringId(int messageNumber) {
    for (const auto& [number, id] : fileErrorIds)
        if (number == messageNumber) return id;
    return std::nullopt;
}

std::optional<UiText> resolveMessage(int id, std::string_view builtInUtf8, const GameStrings& strings) {
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

std::optional<UiText> bankErrorText(int code, const GameStrings& strings) {
    return gameTextOnly(bankErrorGameStringId(code), strings);
}

std::optional<UiText> fileErrorText(int messageNumber, const GameStrings& strings) {
    return gameTextOnly(fileErrorGameStringId(messageNumber), strings);
}

}  // namespace calyx::editor
