// Reading "K7.csb" into a name table, and looking names up.
#include <gtest/gtest.h>

#include <string>

#include "bank/name_table.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"
#include "name_table_expect.h"

namespace calyx::bank {
namespace {

using fixtures::NameEntry;

struct K7Script : testing::ScriptTable {
    auto read(const std::string& text) {
        fixtures::writeFile(dir / "K7.csb", text);
        return table.readK7Script(dir / "K7.csb");
    }
};

TEST(K7Script, ReadsBareAndQuotedNamesWithTheirComments) {
    K7Script s;
    ASSERT_EQ(s.read("{SndResourceE: 12 (\"engine\") SetName(EngineLoop) SetComment(\"Engine idle loop\") }\n"
                     "{SndResourceE: 13 (\"x\") SetName(\"Pit lane  radio\") SetComment(\"\") }\n"
                     "{SndResourceE: 14 (\"x\") SetName(Cri_\xE9t\xE8) SetComment() }\n"
                     "{SndResourceE: 15 (\"x\") SetName(pit.stop^2) SetComment(\"a ; b\") }\n"), K7ScriptResult::Read);
    ASSERT_EQ(s.table.size(), 4u);
    EXPECT_EQ(s.name(12), "EngineLoop");
    EXPECT_EQ(s.comment(12), "Engine idle loop");
    EXPECT_EQ(s.name(13), "Pit lane  radio");
    EXPECT_EQ(s.comment(13), "");
    EXPECT_EQ(s.name(14), "Cri_\xE9t\xE8");
    EXPECT_EQ(s.comment(14), "");  // no text after the comment head
    EXPECT_EQ(s.name(15), "pit.stop^2");
    EXPECT_EQ(s.comment(15), "a ; b");
}

TEST(K7Script, TheFixtureBuilderRoundTrips) {
    K7Script s;
    std::vector<NameEntry> entries = {
        {1, "Horn", "Short horn"},
        {2, "Crowd cheering", "Grandstand, lap 1"},
        {65535, "\xC9t\xE9", "\xE9t\xE9 \xE0 Paris"},
        {9999999, "An_exactly_20_chars_", "limit"},
        {7, "", "no name"},
    };
    ASSERT_EQ(s.read(fixtures::k7ScriptText(entries)), K7ScriptResult::Read);
    testing::expectEntries(s.table, entries);
}

TEST(K7Script, WordsAreCutAndNumbersHaveEightDigits) {
    K7Script s;
    ASSERT_EQ(s.read("{SndResourceE: 5 (\"x\") SetName(ABCDEFGHIJKLMNOPQRSTUVWXYZ) SetComment(\"c\") }\n"
                     "{SndResourceE: 123456789 (\"x\") SetName(Nine) SetComment(\"c\") }\n"), K7ScriptResult::Read);
    EXPECT_EQ(s.name(5), "ABCDEFGHIJKLMNOPQRST");
    // The ninth digit makes the number "89" stand between the id and "(".
    EXPECT_EQ(s.table.size(), 1u);
    EXPECT_EQ(s.name(12345678), "<none>");
}

TEST(K7Script, OnlyResourceEntriesWithExactKeywordsCount) {
    K7Script s;
    ASSERT_EQ(s.read("; {SndResourceE: 1 (\"x\") SetName(InAComment) SetComment(\"c\") }\n"
                     "{SoundBankList: \"a.bnm\" \"b.bnm\" }\n"
                     "{SndEventE: 2 (\"x\") SetName(Event) SetComment(\"c\") }\n"
                     "{SndResourceM: 3 (\"x\") SetName(Music) SetComment(\"c\") }\n"
                     "{SndResourceE: 4 (\"x\") setname(Lower) SetComment(\"c\") }\n"
                     "{sndresourcee: 5 (\"x\") SetName(Lower) SetComment(\"c\") }\n"
                     "{SndResourceE: 6 (\"x\") SetName(Kept) SetComment(\"c\") }\n"), K7ScriptResult::Read);
    ASSERT_EQ(s.table.size(), 1u);
    EXPECT_EQ(s.name(6), "Kept");
}

TEST(K7Script, AnEntryWhoseCommentDoesNotFollowItsNameIsDroppedButTheNextIsKept) {
    K7Script s;
    ASSERT_EQ(s.read("{SndResourceE: 1 (\"x\") SetName(NoComment) }\n"
                     "{SndResourceE: 2 (\"x\") SetName(Two) SetComment(\"second\") }\n"
                     "{SndResourceE: 3 (\"x\") SetName(Extra) junk SetComment(\"third\") }\n"
                     "{SndResourceE: 4 (\"x\") SetName() SetComment(\"fourth\") }\n"
                     "{SndResourceE: 5 (\"x\") SetName(Five)SetComment(\"fifth\")}"), K7ScriptResult::Read);
    ASSERT_EQ(s.table.size(), 2u);
    EXPECT_EQ(s.name(2), "Two");
    EXPECT_EQ(s.comment(2), "second");
    EXPECT_EQ(s.name(5), "Five");
    EXPECT_EQ(s.comment(5), "fifth");
}

TEST(K7Script, AHeadEndingTheFileIsNotFound) {
    // The token after a head must be followed by one more character.
    K7Script s;
    ASSERT_EQ(s.read("{SndResourceE: 1 (\"x\") SetName(Last) SetComment(\"c\")"), K7ScriptResult::Read);
    EXPECT_EQ(s.comment(1), "c");
    K7Script cut;
    ASSERT_EQ(cut.read("{SndResourceE: 1 (\"x\") SetName(Last"), K7ScriptResult::Read);
    EXPECT_EQ(cut.table.size(), 0u);
}

TEST(K7Script, MissingFileIsResultOneAndPathsResolveWithoutCase) {
    K7Script s;
    EXPECT_EQ(s.table.readK7Script(s.dir / "K7.csb"), bank::K7ScriptResult::CannotOpen);
    fixtures::makeDirs(s.dir / "K7datab/Resson");
    fixtures::writeFile(s.dir / "K7datab/Resson/K7.csb", fixtures::k7ScriptText({{3, "Three", "c"}}));
    EXPECT_EQ(s.table.readK7Script(s.dir / "k7DATAB\\resson\\k7.CSB"), bank::K7ScriptResult::Read);
    EXPECT_EQ(s.name(3), "Three");
}

TEST(NameTable, LookupTakesTheFirstEntryAndCutsToTheBuffers) {
    NameTable table;
    ASSERT_EQ(table.add(7, std::string(80, 'n'), std::string(150, 'c')), 1);
    ASSERT_EQ(table.add(7, "second", "second"), 1);
    ASSERT_EQ(table.add(0x12345, "wide", ""), 1);
    char name[50];
    char comment[100];
    ASSERT_EQ(table.lookup(7, name, sizeof name, comment, sizeof comment), 1);
    EXPECT_EQ(std::string(name), std::string(49, 'n'));
    EXPECT_EQ(std::string(comment), std::string(99, 'c'));
    EXPECT_EQ(table.lookup(0x2345, name, sizeof name, comment, sizeof comment), 0);
    EXPECT_EQ(table.lookup(0x12345, name, sizeof name, comment, sizeof comment), 1);
    EXPECT_EQ(std::string(name), "wide");
    table.clear();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(table.lookup(7, name, sizeof name, comment, sizeof comment), 0);
}

}  // namespace
}  // namespace calyx::bank
