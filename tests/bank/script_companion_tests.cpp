// Reading a bank's ".bns" companion into a name table.
#include <gtest/gtest.h>

#include <string>

#include "bank/name_table.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"
#include "name_table_expect.h"

namespace calyx::bank {
namespace {

using fixtures::NameEntry;

struct Companion : testing::ScriptTable {
    auto read(const std::string& text) {
        fixtures::writeFile(dir / "Sons.bns", text);
        return table.readCompanion(dir / "Sons.bns");
    }
};

const std::string standardColumns = "[STRUCTURE Res]\nid int\nname string\ncomment string\n[BODY Res]\n";

TEST(Companion, TheFixtureBuilderRoundTrips) {
    Companion c;
    std::vector<NameEntry> entries = {
        {12, "Engine", "Engine idle loop"},
        {13, "Pit lane radio", ""},
        {14, "\xC9t\xE9 ; \xE8", "[BODY Res]"},
        {9999999, "", "no name"},
    };
    ASSERT_EQ(c.read(fixtures::companionText(entries)), CompanionResult::Read);
    testing::expectEntries(c.table, entries);
}

TEST(Companion, TheRowCountMayFollowOtherHeaderKeysAndMustBeSpelledExactly) {
    Companion c;
    ASSERT_EQ(c.read("[HEADER]\nVersion = 2 Author = 7 Res = 1\n" + standardColumns + "1 \"a\" \"b\"\n2 \"c\" \"d\"\n"), CompanionResult::Read);
    EXPECT_EQ(c.table.size(), 1u);  // no more rows than counted
    EXPECT_EQ(c.name(1), "a");

    Companion lower;
    EXPECT_EQ(lower.read("[HEADER]\nres = 1\n" + standardColumns + "1 \"a\" \"b\"\n"), bank::CompanionResult::Unreadable);
    EXPECT_EQ(lower.table.size(), 0u);
    Companion malformed;
    EXPECT_EQ(malformed.read("[HEADER]\nVersion = 2 Author 7 Res = 1\n" + standardColumns + "1 \"a\" \"b\"\n"), bank::CompanionResult::Unreadable);
    Companion noNumber;
    EXPECT_EQ(noNumber.read("[HEADER]\nRes = many\n" + standardColumns + "1 \"a\" \"b\"\n"), bank::CompanionResult::Unreadable);
}

TEST(Companion, WithoutAHeaderTheTableStaysEmptyButTheFileCountsAsRead) {
    Companion c;
    EXPECT_EQ(c.read(standardColumns + "1 \"a\" \"b\"\n"), bank::CompanionResult::Read);
    EXPECT_EQ(c.table.size(), 0u);
    EXPECT_EQ(c.read(""), bank::CompanionResult::Read);
    EXPECT_EQ(c.table.readCompanion(c.dir / "missing.bns"), bank::CompanionResult::Unreadable);
}

TEST(Companion, ColumnsAreDeclaredWithoutRegardToCaseAndInAnyOrder) {
    Companion c;
    ASSERT_EQ(c.read("[HEADER]\nRes = 2\n[STRUCTURE Res]\nKind INT\nID Int\nvolume float\nComment STRING\nNAME string\n"
                     "[BODY Res]\n"
                     "3 40 \"tyres\" \"Tyre squeal\"\n"
                     "1 41 \"crowd\" \"Crowd\"\n"), CompanionResult::Read);
    ASSERT_EQ(c.table.size(), 2u);
    EXPECT_EQ(c.name(40), "Tyre squeal");  // the fifth column is the name
    EXPECT_EQ(c.comment(40), "tyres");
    EXPECT_EQ(c.name(41), "Crowd");
}

TEST(Companion, ANameOrCommentBeforeTheIdLosesTheRow) {
    Companion c;
    EXPECT_EQ(c.read("[HEADER]\nRes = 2\n[STRUCTURE Res]\ncomment string\nid int\nname string\n[BODY Res]\n"
                     "\"first\" 1 \"One\"\n\"second\" 2 \"Two\"\n"), CompanionResult::Read);
    EXPECT_EQ(c.table.size(), 0u);
}

TEST(Companion, AValueOfTheWrongKindIsNotTaken) {
    Companion c;
    // Row 1 has one text only, which fills the name column; its comment column
    // meets the next row's id and takes nothing. Row 3 has no id.
    ASSERT_EQ(c.read("[HEADER]\nRes = 3\n" + standardColumns + "1 \"only a comment\"\n2 \"Two\" \"two\"\n"
                     "\"no id\" \"x\"\n"), CompanionResult::Read);
    ASSERT_EQ(c.table.size(), 2u);
    EXPECT_EQ(c.name(1), "only a comment");
    EXPECT_EQ(c.comment(1), "");
    EXPECT_EQ(c.name(2), "Two");
}

}  // namespace
}  // namespace calyx::bank
