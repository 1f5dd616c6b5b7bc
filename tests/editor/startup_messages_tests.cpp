// The editor's message tables and the decisions of its message box.
#include <gtest/gtest.h>

#include "editor/core/message_box.h"
#include "editor/core/messages.h"
#include "fixtures/game_strings_table.h"

namespace calyx::editor {
namespace {

using fixtures::gameStrings;

std::string utf8Of(const std::optional<UiText>& text) { return text ? text->utf8() : "<nothing>"; }

TEST(MessagesTest, WavErrorsWithoutAndWithTheGameTexts) {
    const GameStrings french;
    EXPECT_EQ(utf8Of(wavErrorText(WavError{1}, french)), "Format de .wav non supporté");
    EXPECT_EQ(utf8Of(wavErrorText(WavError{5}, french)), "Son trop volumineux");
    for (int code : {0, 6, -1, 100}) EXPECT_EQ(wavErrorText(WavError{code}, french), std::nullopt) << code;

    // Loaded: the game's text replaces the French one; a missing or empty
    // game text falls back to it.
    const auto game = gameStrings({{59, "Unsupported \xAB.wav\xBB"}, {61, ""}});
    const auto unsupported = wavErrorText(WavError{1}, game);
    ASSERT_TRUE(unsupported);
    EXPECT_EQ(unsupported->encoding, TextEncoding::Latin1);
    EXPECT_EQ(unsupported->bytes, "Unsupported \xAB.wav\xBB");
    EXPECT_EQ(unsupported->utf8(), "Unsupported «.wav»");
    EXPECT_EQ(utf8Of(wavErrorText(WavError{2}, game)), "Erreur d'ouverture du .wav");
    EXPECT_EQ(utf8Of(wavErrorText(WavError{5}, game)), "Son trop volumineux");
}

TEST(MessagesTest, ImportResults) {
    const GameStrings french;
    EXPECT_EQ(importResultText(ImportResult{1}, french), std::nullopt);
    EXPECT_EQ(utf8Of(importResultText(ImportResult{3}, french)), "Vous ne pouvez entrer que des fichiers .Wav");
    EXPECT_EQ(utf8Of(importResultText(ImportResult{6}, french)),
              "format du .wav non supporté (doit être en 22 kHz mono 16 bits)");
    for (int code : {0, 7, -3}) EXPECT_EQ(utf8Of(importResultText(ImportResult{code}, french)), "Problème interne") << code;

    // A dropped file (3) may be worded apart from a chosen one (2).
    const auto game = gameStrings({{50, "Only .wav files"}, {51, "Drop only .wav files"}});
    EXPECT_EQ(utf8Of(importResultText(ImportResult{2}, game)), "Only .wav files");
    EXPECT_EQ(utf8Of(importResultText(ImportResult{3}, game)), "Drop only .wav files");
    EXPECT_EQ(importResultMessage(ImportResult{6})->gameStringId, 59);

    // A file with no sound is said to be one, even where the game's texts
    // have only "out of memory" for it.
    const auto withMemoryText = gameStrings({{52, "Out of memory"}});
    EXPECT_EQ(utf8Of(importResultText(ImportResult{4}, withMemoryText, InterfaceLanguage::English)),
              "the file holds no sound (less than 4 bytes of data)");
    EXPECT_EQ(utf8Of(importResultText(ImportResult{4}, french)),
              "Le fichier ne contient pas de son (moins de 4 octets de données)");
}

TEST(MessagesTest, BankErrorsShowOnlyGameTexts) {
    using bank::BankError;
    const std::pair<int, int> expected[] = {{1, 60}, {2, 62}, {3, 52}, {4, 153}, {5, 54}, {6, 54}, {-1, 54}};
    for (auto [code, id] : expected) EXPECT_EQ(bankErrorMessage(BankError{code})->gameStringId, id) << code;
    EXPECT_EQ(bankErrorMessage(BankError::None), std::nullopt);

    const GameStrings french;
    EXPECT_EQ(bankErrorText(BankError::SourceUnreadable, french), std::nullopt);
    const auto game = gameStrings({{60, "Read error"}, {153, "Cannot read the names"}});
    EXPECT_EQ(utf8Of(bankErrorText(BankError::SourceUnreadable, game)), "Read error");
    EXPECT_EQ(utf8Of(bankErrorText(BankError::CompanionUnreadable, game)), "Cannot read the names");
    EXPECT_EQ(bankErrorText(BankError::SourceMissing, game), std::nullopt);
    EXPECT_EQ(bankErrorText(BankError::None, game), std::nullopt);
}

TEST(MessagesTest, FrameworkFileErrorsShowOnlyGameTexts) {
    using namespace framework_message;
    const std::pair<int, int> expected[] = {{fileNotFound, 141},       {diskFull, 142},
                                            {accessDeniedLoading, 143}, {accessDeniedSaving, 144},
                                            {readError, 145},          {writeError, 146},
                                            {askToSaveChanges, 147}};
    for (auto [number, id] : expected) EXPECT_EQ(fileErrorGameStringId(number), id) << number;
    for (int number : {saveFailed, openFailed, saveRaisedError, badFormat})
        EXPECT_EQ(fileErrorGameStringId(number), std::nullopt) << number;

    const auto game = gameStrings({{141, "%1\\nFile not found (%1)"}});
    const auto text = fileErrorText(fileNotFound, game);
    ASSERT_TRUE(text);
    EXPECT_EQ(formatWithArgument(*text, "moteur.bnm"), "moteur.bnm\r\nFile not found (moteur.bnm)");
    EXPECT_EQ(fileErrorText(fileNotFound, GameStrings()), std::nullopt);
    EXPECT_EQ(fileErrorText(openFailed, game), std::nullopt);
}

TEST(MessagesTest, BuiltInMessagesStandWithoutTheGameTexts) {
    const GameStrings french;
    EXPECT_EQ(utf8Of(resolveMessage(message::soundDriverFailed, french)), "impossible d'initialiser le driver son");
    EXPECT_EQ(utf8Of(resolveMessage(message::companionCopyFailed, french)), "impossible de sauvegarder le fichier bns");
    const auto question = resolveMessage(message::saveChangesQuestion, french);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->encoding, TextEncoding::Utf8);
    EXPECT_EQ(formatWithArgument(*question, "moteur.bnm"), "Enregistrer les modifications apportées à moteur.bnm?");

    const auto game = gameStrings({{140, "No sound driver"}, {147, "Save %1?"}});
    EXPECT_EQ(utf8Of(resolveMessage(message::soundDriverFailed, game)), "No sound driver");
    EXPECT_EQ(formatWithArgument(*resolveMessage(message::saveChangesQuestion, game), "\xC3\xA9t\xC3\xA9.bnm"),
              "Save été.bnm?");
    EXPECT_EQ(resolveMessage(20, {}, game), std::nullopt);
}

TEST(MessageBoxTest, OwnDialogForTheFourCommonKindsOnly) {
    for (unsigned type = 0; type < 16; ++type) {
        const bool own = type == 0 || type == 1 || type == 3 || type == 4;
        EXPECT_EQ(showsOwnDialog(type | message_style::exclamation), own) << type;
    }
}

TEST(MessageBoxTest, IconFromTheStyleBits) {
    EXPECT_EQ(iconForStyle(message_style::okCancel), MessageIcon::None);
    EXPECT_EQ(iconForStyle(0x10), MessageIcon::Exclamation);
    EXPECT_EQ(iconForStyle(message_style::information), MessageIcon::Information);
    EXPECT_EQ(iconForStyle(0x20 | message_style::information), MessageIcon::Exclamation);
}

TEST(MessageBoxTest, ButtonsAndAnswers) {
    EXPECT_EQ(buttonSetForStyle(message_style::ok | message_style::exclamation), ButtonSet::Ok);
    EXPECT_EQ(buttonSetForStyle(message_style::okCancel), ButtonSet::OkCancel);
    EXPECT_EQ(buttonSetForStyle(message_style::yesNoCancel), ButtonSet::YesNoCancel);
    EXPECT_EQ(buttonSetForStyle(message_style::yesNo), ButtonSet::YesNo);
    // A question that asks for an icon too keeps its buttons.
    EXPECT_EQ(buttonSetForStyle(message_style::okCancel | 0x20), ButtonSet::OkCancel);
    EXPECT_EQ(buttonSetForStyle(message_style::yesNo | 0x20), ButtonSet::YesNo);

    const auto okCancel = buttonFaces(ButtonSet::OkCancel, GameStrings());
    EXPECT_TRUE(okCancel[0].visible);
    EXPECT_EQ(okCancel[0].text.utf8(), "OK");
    EXPECT_TRUE(okCancel[1].visible);
    EXPECT_EQ(okCancel[1].text.utf8(), "Annuler");
    EXPECT_FALSE(okCancel[2].visible);
    EXPECT_EQ(messageBoxResult(ButtonSet::OkCancel, ButtonSlot::First), MessageResult::Ok);
    EXPECT_EQ(messageBoxResult(ButtonSet::OkCancel, ButtonSlot::Second), MessageResult::Cancel);

    const auto yesNoCancel = buttonFaces(ButtonSet::YesNoCancel, gameStrings({{149, "Yes"}, {151, "Cancel"}}));
    EXPECT_EQ(yesNoCancel[0].text.utf8(), "Yes");
    EXPECT_EQ(yesNoCancel[1].text.utf8(), "Non");
    EXPECT_EQ(yesNoCancel[2].text.utf8(), "Cancel");
    EXPECT_TRUE(yesNoCancel[2].visible);
    EXPECT_EQ(messageBoxResult(ButtonSet::YesNoCancel, ButtonSlot::First), MessageResult::Yes);
    EXPECT_EQ(messageBoxResult(ButtonSet::YesNoCancel, ButtonSlot::Second), MessageResult::No);
    EXPECT_EQ(messageBoxResult(ButtonSet::YesNoCancel, ButtonSlot::Third), MessageResult::Cancel);
    EXPECT_EQ(messageBoxResult(ButtonSet::YesNo, ButtonSlot::Second), MessageResult::No);

    const auto ok = buttonFaces(ButtonSet::Ok, gameStrings({{148, "D'accord"}}));
    EXPECT_EQ(ok[0].text.utf8(), "D'accord");
    EXPECT_FALSE(ok[1].visible);
    EXPECT_EQ(messageBoxResult(ButtonSet::Ok, ButtonSlot::First), MessageResult::Ok);
    // Closing the box any other way answers Cancel.
    EXPECT_EQ(messageBoxResult(ButtonSet::Ok, std::nullopt), MessageResult::Cancel);
    EXPECT_EQ(messageBoxResult(ButtonSet::YesNo, std::nullopt), MessageResult::Cancel);
}

}  // namespace
}  // namespace calyx::editor
