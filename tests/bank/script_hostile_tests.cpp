// Name scripts are outside input: damaged or hostile text must neither crash,
// hang nor make the readers hold more than the file gives them.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "bank/name_table.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"

namespace calyx::bank {
namespace {

constexpr std::size_t tenMegabytes = 10u << 20;
constexpr std::size_t oneMegabyte = 1u << 20;

struct Scripts {
    fixtures::TempDir dir;
    NameTable table;

    bank::K7ScriptResult k7(const std::string& text) {
        fixtures::writeFile(dir / "K7.csb", text);
        return table.readK7Script(dir / "K7.csb");
    }
    bank::CompanionResult companion(const std::string& text) {
        fixtures::writeFile(dir / "x.bns", text);
        return table.readCompanion(dir / "x.bns");
    }
};

std::string junk(std::size_t size, unsigned seed, bool withZeros) {
    std::mt19937 random(seed);
    std::string text(size, ' ');
    for (char& c : text) {
        c = static_cast<char>(random() & 0xFF);
        if (!withZeros && c == '\0') c = '{';
    }
    return text;
}

TEST(HostileScripts, BinaryJunkAndZeroBytes) {
    Scripts s;
    EXPECT_EQ(s.k7(junk(1u << 20, 1, false)), bank::K7ScriptResult::Read);
    EXPECT_EQ(s.companion(junk(1u << 20, 2, false)), bank::CompanionResult::Read);
    // A zero byte ends the text: the entry behind it is not read.
    std::string entry = fixtures::k7ScriptText({{1, "One", "c"}});
    EXPECT_EQ(s.k7(std::string("\0", 1) + entry), bank::K7ScriptResult::Read);
    EXPECT_EQ(s.table.size(), 0u);
    EXPECT_EQ(s.k7(junk(4096, 3, true) + entry), bank::K7ScriptResult::Read);
}

TEST(HostileScripts, HugeWordsStringsAndCommentsWithoutLineEnds) {
    Scripts s;
    std::string longWord(tenMegabytes, 'W');
    std::string head = "{SndResourceE: 1 (\"x\") SetName(";
    ASSERT_EQ(s.k7(head + longWord + ") SetComment(\"" + std::string(oneMegabyte, 'c') + "\") }\n"), bank::K7ScriptResult::Read);
    ASSERT_EQ(s.table.size(), 1u);
    EXPECT_EQ(s.table.entries()[0].name, std::string(20, 'W'));
    EXPECT_EQ(s.table.entries()[0].comment, std::string(255, 'c'));

    // Unterminated string and comment, then nothing more.
    EXPECT_EQ(s.k7(head + "\"" + std::string(oneMegabyte, 'u')), bank::K7ScriptResult::Read);
    EXPECT_EQ(s.companion("[HEADER]\nRes = 5\n;" + std::string(oneMegabyte, 'x')), bank::CompanionResult::Read);
    EXPECT_EQ(s.table.size(), 1u);
}

TEST(HostileScripts, ThousandsOfEntriesWithOneId) {
    Scripts s;
    std::vector<fixtures::NameEntry> entries;
    for (int i = 0; i < 5000; ++i) entries.push_back({42, "n" + std::to_string(i), "c"});
    ASSERT_EQ(s.companion(fixtures::companionText(entries)), bank::CompanionResult::Read);
    ASSERT_EQ(s.k7(fixtures::k7ScriptText(entries)), bank::K7ScriptResult::Read);
    EXPECT_EQ(s.table.size(), 10000u);
    char name[50];
    char comment[100];
    ASSERT_EQ(s.table.lookup(42, name, sizeof name, comment, sizeof comment), 1);
    EXPECT_STREQ(name, "n0");  // the first of them
}

TEST(HostileScripts, ARowCountFarAboveTheRowsStopsAtTheEndOfTheText) {
    const std::string columns = "[STRUCTURE Res]\nid int\nname string\ncomment string\n[BODY Res]\n";
    Scripts s;
    // Eight digits at most make the row count (21474836 here).
    EXPECT_EQ(s.companion("[HEADER]\nRes = 2147483648\n" + columns + "1 \"a\" \"b\"\n"), bank::CompanionResult::Read);
    EXPECT_EQ(s.table.size(), 1u);
    EXPECT_EQ(s.companion("[HEADER]\nRes = 99999999\n" + columns + "2 \"c\" \"d\"\n3 \"e\" \"f\""), bank::CompanionResult::Read);
    EXPECT_EQ(s.table.size(), 3u);
    // A row whose token fits no column takes nothing and ends the rows.
    EXPECT_EQ(s.companion("[HEADER]\nRes = 99999999\n" + columns + "4 \"g\" \"h\" [ ( ) ] 5 \"i\" \"j\"\n"), bank::CompanionResult::Read);
    EXPECT_EQ(s.table.size(), 4u);
    EXPECT_EQ(s.table.find(5), nullptr);
    // So does a structure without columns.
    EXPECT_EQ(s.companion("[HEADER]\nRes = 99999999\n[STRUCTURE Res]\n[BODY Res]\n" + std::string(1000, '7')), bank::CompanionResult::Read);
    EXPECT_EQ(s.table.size(), 4u);
}

}  // namespace
}  // namespace calyx::bank
