// The main frame's widget-free rules: command prompts and tooltips from the
// game's texts, and the message dialog's geometry.
#include <gtest/gtest.h>

#include <array>

#include "editor/core/command_texts.h"
#include "editor/core/commands.h"
#include "editor/core/message_layout.h"
#include "fixtures/game_strings_table.h"

namespace calyx::editor {
namespace {

using fixtures::gameStrings;

TEST(CommandTextsTest, PromptBeforeTheFirstNewlineTipUpToTheNext) {
    const auto strings = gameStrings({{103, "Save the bank\\nSave\\nnot shown"},
                                      {116, "Open this bank"},
                                      {138, "Ready"},
                                      {139, "Help mode"},
                                      {148, "OK"}});
    // The game's "\n" is CR LF: neither part keeps the CR.
    EXPECT_EQ(textForCommand(command::fileSave, &strings), "Save the bank\r\nSave\r\nnot shown");
    EXPECT_EQ(promptForCommand(command::fileSave, &strings), "Save the bank");
    EXPECT_EQ(tooltipForCommand(command::fileSave, &strings), "Save");
    // A text without newline: the whole text is the prompt, the tip is empty.
    for (int id = command::recentFileFirst; id <= command::recentFileLast; ++id) {
        EXPECT_EQ(promptForCommand(id, &strings), "Open this bank") << id;
        EXPECT_EQ(tooltipForCommand(id, &strings), "") << id;
    }
    EXPECT_EQ(promptForCommand(command::idlePrompt, &strings), "Ready");
    EXPECT_EQ(promptForCommand(command::helpModePrompt, &strings), "Help mode");
    EXPECT_EQ(promptForCommand(command::ok, &strings), "OK");
    // Commands without a text id, id 0, and ids whose text is missing.
    for (int id : {0, 3, 57608, 57632 + 100, 59394}) EXPECT_EQ(textForCommand(id, &strings), "") << id;
    EXPECT_EQ(tooltipForCommand(0, &strings), "");
    EXPECT_EQ(promptForCommand(command::fileOpen, &strings), "");
}

TEST(CommandTextsTest, NothingWithoutTheGameTextsAndLongTextsAreCut) {
    const GameStrings notLoaded;
    EXPECT_EQ(promptForCommand(command::fileSave, &notLoaded), "");
    EXPECT_EQ(promptForCommand(command::idlePrompt, nullptr), "");

    const std::string prompt(20, 'p');
    const std::string tip(90, 't');
    const auto strings = gameStrings({{103, prompt + "\\n" + tip}});
    EXPECT_EQ(tooltipForCommand(command::fileSave, &strings), std::string(maxTooltipLength, 't'));
    EXPECT_EQ(commandTextId(command::windowTileHorizontally), 122);
    EXPECT_EQ(commandTextId(command::viewStatusBar), 137);
    EXPECT_EQ(commandTextId(57608), std::nullopt);
}

TEST(MessageLayoutTest, LongestLineCountsCharactersBetweenLineEnds) {
    EXPECT_EQ(longestLineLength(""), 0);
    EXPECT_EQ(longestLineLength("abc\r\nabcdef\rab\nabcd"), 6);
    EXPECT_EQ(longestLineLength("Été à"), 5);
}

TEST(MessageLayoutTest, ALineTooLongForTheTextBoxWidensTheDialog) {
    // 40 characters need 280 pixels: 250 of text box, 330 of dialog.
    const auto widened = widenedMessageBox(40, 249);
    ASSERT_TRUE(widened);
    EXPECT_EQ(widened->dialog, 330);
    EXPECT_EQ(widened->textBox, 250);
    EXPECT_FALSE(widenedMessageBox(40, 250));
    EXPECT_FALSE(widenedMessageBox(0, 0));
    // A 160-character line no longer makes a box 1,170 pixels wide: it wraps
    // in a box of 600, or of the main window's width where that is less.
    const auto capped = widenedMessageBox(160, 249);
    ASSERT_TRUE(capped);
    EXPECT_EQ(capped->dialog, 600);
    EXPECT_EQ(capped->textBox, 520);
    EXPECT_EQ(widenedMessageBox(160, 249, 500)->dialog, 500);
    EXPECT_FALSE(widenedMessageBox(160, 249, 300));
}

TEST(MessageLayoutTest, ManyLinesMakeTheBoxTallerUpToSixTenthsOfTheScreen) {
    EXPECT_EQ(messageBoxGrowth(60, 75, 150, 1000), 0);    // fits
    EXPECT_EQ(messageBoxGrowth(300, 75, 150, 1000), 225);  // a dialog of 375
    EXPECT_EQ(messageBoxGrowth(3000, 75, 150, 1000), 450); // then it scrolls
    EXPECT_EQ(messageBoxGrowth(3000, 75, 700, 1000), 0);   // no room at all
}

TEST(MessageLayoutTest, ButtonsShareOneCentredRow) {
    // Gap: (285 - 150) / 2 = 67, held to 285 / 8 = 35.
    const std::array two{75, 75};
    EXPECT_EQ(buttonRowLefts(285, two), (std::vector<int>{50, 160}));
    // Room for little: the gap is what is left over.
    const std::array three{100, 100, 100};
    EXPECT_EQ(buttonRowLefts(330, three), (std::vector<int>{5, 115, 225}));
    const std::array one{75};
    EXPECT_EQ(buttonRowLefts(330, one), (std::vector<int>{128}));
    EXPECT_TRUE(buttonRowLefts(330, std::span<const int>{}).empty());
}

}  // namespace
}  // namespace calyx::editor
