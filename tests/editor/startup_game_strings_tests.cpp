// The reader of the game's strings.dat and the table it fills.
#include <gtest/gtest.h>

#include <string>

#include "editor/core/game_strings.h"
#include "fixtures/strings_dat.h"
#include "fixtures/temp_dir.h"

namespace calyx::editor {
namespace {

using fixtures::StringsDatEntry;
using fixtures::stringsDatText;

// Loads `text` into a fresh table and answers the table.
GameStrings loaded(std::string_view text, int expectedResult = 1) {
    GameStrings strings;
    EXPECT_EQ(strings.loadFromBytes(text), expectedResult) << text;
    return strings;
}

TEST(GameStringsTest, FreshTableHasBuiltInTitlesAndNoTexts) {
    GameStrings strings;
    EXPECT_FALSE(strings.AreGameStringsLoaded());
    EXPECT_EQ(strings.columnTitle(0), "Name");
    EXPECT_EQ(strings.columnTitle(1), "Volume");
    EXPECT_EQ(strings.columnTitle(2), "File Name");
    EXPECT_EQ(strings.columnTitle(3), "Description");
    EXPECT_EQ(strings.columnTitle(4), "");
    EXPECT_EQ(strings.GetGameString(20), std::nullopt);
}

TEST(GameStringsTest, EveryBlockIsFilledAndIdsWithoutSlotAreAcceptedButEmpty) {
    const auto strings = loaded(stringsDatText({{20, "first"}, {62, "last of 20"}, {70, "Fichier"},
                                                {98, "Author"}, {100, "a"}, {153, "b"}, {1, "one"},
                                                {6, "six"}, {63, "x"}, {99, "y"}, {154, "z"}}));
    EXPECT_TRUE(strings.AreGameStringsLoaded());
    EXPECT_EQ(strings.GetGameString(20), "first");
    EXPECT_EQ(strings.GetGameString(62), "last of 20");
    EXPECT_EQ(strings.GetGameString(70), "Fichier");
    EXPECT_EQ(strings.GetGameString(98), "Author");
    EXPECT_EQ(strings.GetGameString(100), "a");
    EXPECT_EQ(strings.GetGameString(153), "b");
    for (int id : {1, 6, 7, 19, 21, 38, 39, 63, 69, 99, 154, 155, 999, -1})
        EXPECT_EQ(strings.GetGameString(id), std::nullopt) << id;
}

TEST(GameStringsTest, TheFileEndsAt999OrAtThe128thEntry) {
    // 128 entries and no end number: complete. Whatever follows is not read.
    const auto full = fixtures::stringsDatFiller(128);
    const auto strings = loaded(stringsDatText(full, false) + "0 \"not read\"");
    EXPECT_EQ(strings.GetGameString(full.back().id), full.back().text);

    // Fewer entries and no end number: nothing loads.
    loaded(stringsDatText(fixtures::stringsDatFiller(127), false), 0);
    loaded("", 0);

    // 999 ends the file whatever follows it, even at the very end.
    loaded("20 \"a\"\n999", 1);
    loaded("20 \"a\"\n9990\"junk", 1);
    loaded("999", 1);
    // A number cut short by the end is not 999.
    loaded("20 \"a\"\n99", 0);
}

TEST(GameStringsTest, BadIdsSpoilTheWholeFile) {
    for (const char* text : {"0 \"a\"\n999", "155 \"a\"\n999", "998 \"a\"\n999",
                             "1234 \"a\"\n999",   // a fourth digit is no separator
                             "20\t\"a\"\n999",    // the separator is one space
                             "20  \"a\"\n999",    // ... and the quote follows at once
                             "20 a\n999"}) {
        GameStrings strings;
        EXPECT_EQ(strings.loadFromBytes(text), 0) << text;
        EXPECT_FALSE(strings.AreGameStringsLoaded());
        EXPECT_EQ(strings.GetGameString(20), std::nullopt);
    }
    loaded("1 \"a\"\n154 \"b\"\n999", 1);
}

TEST(GameStringsTest, FillerWithoutDigitsMayStandBetweenEntries) {
    const auto strings = loaded("; les textes du jeu\r\n20 \"a\" -- fin de ligne --\n\n  21 \"b\"\nfin: 999");
    EXPECT_EQ(strings.GetGameString(20), "a");
    EXPECT_EQ(strings.GetGameString(21), "b");
    // A digit in a comment starts an entry.
    loaded("; version 2\n20 \"a\"\n999", 0);
}

TEST(GameStringsTest, ZeroBytesAndUnendedTextsSpoilTheFile) {
    using namespace std::string_literals;
    loaded("20 \"a\"\n\0 999"s, 0);
    loaded("20 \"a\0b\"\n999"s, 0);
    loaded("20 \"a\\\0\"\n999"s, 0);
    loaded("20 \"never closed", 0);
    loaded("20 \"ends in a backslash\\", 0);
}

TEST(GameStringsTest, TextsHoldAtMost117Characters) {
    const std::string longest(117, 'x');
    EXPECT_EQ(loaded(stringsDatText({{20, longest}})).GetGameString(20), longest);
    loaded(stringsDatText({{20, longest + "x"}}), 0);
    // "\n" becomes two characters and counts as two.
    EXPECT_EQ(loaded(stringsDatText({{20, std::string(115, 'x') + "\\n"}})).GetGameString(20)->size(), 117u);
    loaded(stringsDatText({{20, std::string(116, 'x') + "\\n"}}), 0);
}

TEST(GameStringsTest, BackslashPairs) {
    const auto strings = loaded(stringsDatText({{20, "line\\nnext\\tcol"},
                                                {21, "a\\\\b"},
                                                {22, "say \\\"hi\\\" to"},
                                                {23, "\\x\\n"}}));
    EXPECT_EQ(strings.GetGameString(20), "line\r\nnext\tcol");
    EXPECT_EQ(strings.GetGameString(21), "a\\b");
    // Backslash and quote: the backslash stays, the quote is dropped, the text goes on.
    EXPECT_EQ(strings.GetGameString(22), "say \\hi\\ to");
    EXPECT_EQ(strings.GetGameString(23), "\\\r\n");
    // The fixture's escaping gives a plain text back unchanged.
    const std::string plain = "C:\\Jeux\r\n\tfin";
    EXPECT_EQ(loaded(stringsDatText({{24, fixtures::stringsDatEscape(plain)}})).GetGameString(24), plain);
}

TEST(GameStringsTest, GameTextsAreKeptAsBytes) {
    const std::string latin1 = "Fen\xEAtre \xE9t\xE9 \xFF";
    EXPECT_EQ(loaded(stringsDatText({{88, latin1}})).GetGameString(88), latin1);
}

TEST(GameStringsTest, ShortTitleEntriesRenameColumnsAndLongOnesAreSkipped) {
    const auto strings = loaded(stringsDatText({{3, std::string(17, 'v')},
                                                {2, std::string(18, 'n')},
                                                {5, "Commentaire"},
                                                {6, "six"},
                                                {7, "sept"},
                                                {20, "after"}}));
    EXPECT_EQ(strings.columnTitle(0), "Name");
    EXPECT_EQ(strings.columnTitle(1), std::string(17, 'v'));
    EXPECT_EQ(strings.columnTitle(2), "File Name");
    EXPECT_EQ(strings.columnTitle(3), "Commentaire");
    EXPECT_EQ(strings.GetGameString(20), "after");
    EXPECT_EQ(strings.GetGameString(3), std::nullopt);
}

TEST(GameStringsTest, AFailedLoadKeepsTitlesTakenButNoBlockTexts) {
    GameStrings strings;
    EXPECT_EQ(strings.loadFromBytes("4 \"Fichier\"\n20 \"a\"\n155 \"bad\"\n999"), 0);
    EXPECT_FALSE(strings.AreGameStringsLoaded());
    EXPECT_EQ(strings.columnTitle(2), "Fichier");
    EXPECT_EQ(strings.GetGameString(20), std::nullopt);
}

TEST(GameStringsTest, Ids37And40ShareOneText) {
    const auto laterForty = loaded(stringsDatText({{37, "trente-sept"}, {40, "quarante"}}));
    EXPECT_EQ(laterForty.GetGameString(37), "quarante");
    EXPECT_EQ(laterForty.GetGameString(40), "quarante");
    const auto laterThirtySeven = loaded(stringsDatText({{40, "quarante"}, {37, "trente-sept"}}));
    EXPECT_EQ(laterThirtySeven.GetGameString(40), "trente-sept");
    // A new text for an occupied slot replaces the old one.
    EXPECT_EQ(loaded(stringsDatText({{50, "old"}, {50, ""}})).GetGameString(50), "");
}

TEST(GameStringsTest, LoadsFromAFileThroughTheStream) {
    fixtures::TempDir dir;
    GameStrings missing;
    EXPECT_EQ(missing.load(dir / "strings.dat"), 0);

    // Long filler crosses the reader's pieces without changing what is read.
    std::string text = std::string(10000, '-') + "\n" + stringsDatText({{20, "a"}}, false) +
                       std::string(5000, '=') + stringsDatText({{21, std::string(117, 'b')}});
    fixtures::writeFile(dir / "STRINGS.DAT", text);
    GameStrings strings;
    EXPECT_EQ(strings.load(dir / "strings.dat"), 1);  // found without regard to case
    EXPECT_EQ(strings.GetGameString(20), "a");
    EXPECT_EQ(strings.GetGameString(21), std::string(117, 'b'));

    fixtures::writeFile(dir / "cut.dat", text.substr(0, text.size() - 10));
    GameStrings cut;
    EXPECT_EQ(cut.load(dir / "cut.dat"), 0);
}

}  // namespace
}  // namespace calyx::editor
