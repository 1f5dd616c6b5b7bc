// The link table's keys and counts, and dropping one resource on another.
#include <gtest/gtest.h>

#include "editor/core/current_sample.h"
#include "editor/core/link_table.h"
#include "editor/core/resource_drop.h"
#include "editor/core/resource_edit_session.h"
#include "edit_test_support.h"

namespace calyx::editor {
namespace {

using namespace test;
using fixtures::patternBytes;

TEST(LinkTable, NewPathsTakeTheLastGapOrTheNextKeyAndCountTheirHolders) {
    LinkTable table;
    EXPECT_EQ(table.acquire(std::nullopt), 0u);
    EXPECT_EQ(table.acquire(std::string("a")), 1u);
    EXPECT_EQ(table.acquire(std::string("b")), 2u);
    EXPECT_EQ(table.acquire(std::string("c")), 3u);
    EXPECT_EQ(table.acquire(std::string("d")), 4u);  // no gap: at the end
    EXPECT_EQ(table.acquire(std::string("e")), 5u);
    EXPECT_EQ(table.acquire(std::string("f")), 6u);
    // Keys 1, 3 and 6 left: a new path takes 4, between 3 and 6.
    table.release(2);
    table.release(4);
    table.release(5);
    EXPECT_EQ(table.acquire(std::string("g")), 4u);
    EXPECT_EQ(table.pathOf(4), "g");
    // The last gap wins: with 1, 3, 4, 6 the gap after 4 is later than the one after 1.
    EXPECT_EQ(table.acquire(std::string("h")), 5u);
    EXPECT_EQ(table.acquire(std::string("i")), 2u);
    EXPECT_EQ(table.acquire(std::string("j")), 7u);

    // Same path (byte for byte): the same key, one more holder; another case is another path.
    EXPECT_EQ(table.acquire(std::string("a")), 1u);
    EXPECT_EQ(table.refCount(1), 2);
    EXPECT_EQ(table.acquire(std::string("A")), 8u);
    table.release(1);
    EXPECT_EQ(table.pathOf(1), "a");
    table.release(1);
    EXPECT_EQ(table.pathOf(1), std::nullopt);
    table.release(1);  // unknown: nothing changes
    table.release(99);
    EXPECT_EQ(table.size(), 7u);
    table.clearAll();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(table.acquire(std::string("z")), 1u);
}

class DropTest : public ::testing::Test {
protected:
    DropTest() {
        fixtures::BankSpec a = twoSamplesAndACdTrack("EXT.WAV", true);
        fixtures::BankSpec b;
        b.resources = {sample(11, patternBytes(12, 11), "B1.WAV"), sample(12, patternBytes(20, 12), "B2.WAV")};
        fixtures::BankSpec c;
        c.resources = {sample(21, patternBytes(8, 21), "C1.WAV")};
        fixtures::BankSpec k7;
        k7.k7 = true;
        k7.resources = {sample(31, patternBytes(8, 31), "K1.WAV"), sample(32, {}, "K2.RAW", true)};
        k7.resources[1].stored = 0;
        pathA = writeBank(dir, "a.bnm", a);
        pathB = writeBank(dir, "b.bnm", b);
        pathC = writeBank(dir, "c.bnm", c);
        pathK7 = writeBank(dir, "k7.bnm", k7);
        bankA = openBankFile(pathA);
        bankB = openBankFile(pathB);
        bankC = openBankFile(pathC);
        bankK7 = openBankFile(pathK7);
        for (auto* b : {bankA.get(), bankB.get(), bankC.get(), bankK7.get()}) useLinkTable(*b, links);
    }

    DropOutcome drop(bank::SoundBank& from, std::size_t i, bank::SoundBank& to, std::size_t j, bool answer = true,
                     DropRefusal* why = nullptr) {
        return dropResource(from, i, to, j, links, strings, [&](const UiText& q) {
            questions.push_back(q.utf8());
            return answer;
        }, why);
    }

    fixtures::TempDir dir;
    std::string pathA, pathB, pathC, pathK7;
    std::unique_ptr<bank::SoundBank> bankA, bankB, bankC, bankK7;
    LinkTable links;
    GameStrings strings;
    std::vector<std::string> questions;
};

TEST_F(DropTest, WithinABankTheTargetIsPastedWithItsOwnBanksKey) {
    int changes = 0;
    bankA->addChangeListener([&](bank::SoundResource&) { ++changes; });
    ASSERT_EQ(drop(*bankA, 0, *bankA, 1), DropOutcome::Copied);
    const auto& target = *bankA->resourceAt(1);
    EXPECT_EQ(questions, std::vector<std::string>{"Voulez-vous remplacer res2 par res1 de a.bnm ?"});
    EXPECT_EQ(target.linkFlags(), static_cast<std::uint32_t>(bank::pasted));
    EXPECT_EQ(links.pathOf(target.linkKey()), *bankA->bankPath());
    EXPECT_TRUE(target.isReplaced());
    EXPECT_EQ(target.dataSize(), 40u);
    EXPECT_EQ(changes, 1);
}

TEST_F(DropTest, AcrossBanksTheTargetIsFromBankAndClosingItsViewReleasesTheKey) {
    ASSERT_EQ(drop(*bankA, 0, *bankB, 0), DropOutcome::Copied);
    ASSERT_EQ(drop(*bankA, 1, *bankB, 1), DropOutcome::Copied);
    const auto& target = *bankB->resourceAt(0);
    EXPECT_EQ(target.linkFlags(), static_cast<std::uint32_t>(bank::pasted | bank::fromBank));
    const auto key = target.linkKey();
    EXPECT_EQ(links.pathOf(key), *bankA->bankPath());
    EXPECT_EQ(bankB->resourceAt(1)->linkKey(), key);
    EXPECT_EQ(links.refCount(key), 2);

    releaseLinks(*bankB, links);
    EXPECT_EQ(links.pathOf(key), std::nullopt);
    EXPECT_EQ(target.linkFlags(), 0u);
    EXPECT_EQ(target.linkKey(), 0u);  // released once, never twice
}

TEST_F(DropTest, ASourcePastedFromAThirdBankPassesThatBanksPathOn) {
    ASSERT_EQ(drop(*bankC, 0, *bankB, 0), DropOutcome::Copied);
    ASSERT_EQ(drop(*bankB, 0, *bankA, 0), DropOutcome::Copied);
    const auto& target = *bankA->resourceAt(0);
    EXPECT_EQ(links.pathOf(target.linkKey()), *bankC->bankPath());
    EXPECT_TRUE(target.linkFlags() & bank::fromBank);
    // Within B, from the pasted one: still C's path.
    ASSERT_EQ(drop(*bankB, 0, *bankB, 1), DropOutcome::Copied);
    EXPECT_EQ(links.pathOf(bankB->resourceAt(1)->linkKey()), *bankC->bankPath());
    EXPECT_TRUE(bankB->resourceAt(1)->linkFlags() & bank::fromBank);
}

TEST_F(DropTest, ANewPasteGivesUpTheTargetsOldLink) {
    ASSERT_EQ(drop(*bankC, 0, *bankB, 0), DropOutcome::Copied);
    const auto keyC = bankB->resourceAt(0)->linkKey();
    ASSERT_EQ(drop(*bankA, 0, *bankB, 0), DropOutcome::Copied);
    EXPECT_EQ(links.pathOf(keyC), std::nullopt);
    EXPECT_EQ(links.refCount(bankB->resourceAt(0)->linkKey()), 1);
}

TEST_F(DropTest, NoTableEntryOutlivesItsLastUser) {
    ASSERT_EQ(drop(*bankA, 0, *bankA, 1), DropOutcome::Copied);  // within A: A's key
    ASSERT_EQ(drop(*bankA, 0, *bankB, 0), DropOutcome::Copied);
    ASSERT_EQ(drop(*bankB, 0, *bankB, 1), DropOutcome::Copied);  // a paste of a paste: still A
    const auto keyA = bankA->resourceAt(1)->linkKey();
    EXPECT_EQ(links.refCount(keyA), 3);
    // A paste within a bank replaced by another gives up its key too.
    ASSERT_EQ(drop(*bankC, 0, *bankB, 1), DropOutcome::Copied);
    EXPECT_EQ(links.refCount(keyA), 2);
    // Pasting the same bank again keeps one reference.
    ASSERT_EQ(drop(*bankA, 1, *bankB, 0), DropOutcome::Copied);
    EXPECT_EQ(links.refCount(keyA), 2);

    releaseLinks(*bankA, links);
    EXPECT_EQ(links.refCount(keyA), 1);
    releaseLinks(*bankA, links);  // a second close releases nothing more
    EXPECT_EQ(links.refCount(keyA), 1);
    releaseLinks(*bankB, links);
    EXPECT_EQ(links.size(), 0u);
}

TEST_F(DropTest, RefusalsAndCancelLeaveTheTargetAsItWas) {
    DropRefusal why{};
    EXPECT_EQ(drop(*bankA, 0, *bankA, 0, true, &why), DropOutcome::Refused);
    EXPECT_EQ(why, DropRefusal::SameResource);
    EXPECT_EQ(drop(*bankA, 3, *bankA, 0, true, &why), DropOutcome::Refused);
    EXPECT_EQ(why, DropRefusal::NotSamples);
    EXPECT_EQ(drop(*bankA, 0, *bankA, 3, true, &why), DropOutcome::Refused);
    EXPECT_EQ(why, DropRefusal::NotSamples);
    EXPECT_EQ(drop(*bankA, 0, *bankK7, 1, true, &why), DropOutcome::Refused);
    EXPECT_EQ(why, DropRefusal::Tq2OntoK7Unstored);
    // The other way round, and onto a stored first-game sample, is taken.
    EXPECT_EQ(drop(*bankK7, 1, *bankA, 1, false), DropOutcome::Cancelled);
    EXPECT_EQ(drop(*bankA, 0, *bankK7, 0, false), DropOutcome::Cancelled);
    bankB->raiseSavesInProgress();
    EXPECT_EQ(drop(*bankA, 0, *bankB, 0, true, &why), DropOutcome::Refused);
    EXPECT_EQ(why, DropRefusal::SaveInProgress);
    bankB->lowerSavesInProgress();
    EXPECT_EQ(questions.size(), 2u);  // only the two taken drops asked
    for (std::size_t i = 0; i < bankK7->resourceCount(); ++i) EXPECT_FALSE(bankK7->resourceAt(i)->isReplaced());
    EXPECT_FALSE(bankA->resourceAt(1)->isReplaced());
    EXPECT_EQ(links.size(), 0u);
}

TEST_F(DropTest, TheQuestionNamesTargetAndSourceOrTheirFilesAndNeverOverruns) {
    GameStrings game;
    ASSERT_EQ(game.loadFromBytes("32 \"Replace the sound of\"\n999"), 1);
    const auto english = InterfaceLanguage::English, french = InterfaceLanguage::French;
    EXPECT_EQ(replaceQuestion(*bankA->resourceAt(0), *bankB->resourceAt(1), *bankB, game, english).utf8(),
              "Replace the sound of res1 with res12 from b.bnm?");
    // The first-game bank has no names here: its file names stand in.
    EXPECT_EQ(replaceQuestion(*bankK7->resourceAt(0), *bankK7->resourceAt(1), *bankK7, strings, french).utf8(),
              "Voulez-vous remplacer K1.WAV par K2.RAW de k7.bnm ?");
    EXPECT_EQ(replaceWithFileQuestion(*bankA->resourceAt(1), "/home/u/sons/Klaxon.wav", game, english).utf8(),
              "Replace the sound of res2 with the file Klaxon.wav?");
    EXPECT_EQ(replaceWithFileQuestion(*bankA->resourceAt(1), "C:\\sons\\Klaxon.wav", strings, french).utf8(),
              "Voulez-vous remplacer res2 par le fichier Klaxon.wav ?");
    bank::SoundResource& target = *bankK7->resourceAt(0);
    target.setReplacement(true, 8, std::string(400, 'p') + ".wav");
    const std::string question = replaceQuestion(target, *bankA->resourceAt(0), *bankA, strings, french).utf8();
    EXPECT_EQ(question.size(), replaceQuestionMax);
    EXPECT_EQ(question.rfind("Voulez-vous remplacer ppp", 0), 0u);
}

}  // namespace
}  // namespace calyx::editor

namespace calyx::editor {
namespace {

// "Reset" then OK gives the resource its own sample back, even when the
// pasted sample's file has the resource's own name.
TEST_F(DropTest, ResetDropsAPasteWhateverTheNames) {
    fixtures::BankSpec spec;
    spec.resources = {sample(41, patternBytes(8, 41), "SAME.WAV"), sample(42, patternBytes(12, 42), "SAME.WAV")};
    auto bank = openBankFile(writeBank(dir, "d.bnm", spec));
    useLinkTable(*bank, links);
    ASSERT_EQ(drop(*bank, 0, *bank, 1), DropOutcome::Copied);
    bank::SoundResource& target = *bank->resourceAt(1);
    ASSERT_TRUE(target.isReplaced());

    HeadlessDialogView view = dialogView();
    ResourceEditSession session(view, links, strings);
    session.bind(target, *bank, nullptr);
    ASSERT_TRUE(session.initialise());
    session.reset();
    ASSERT_TRUE(session.ok());
    EXPECT_FALSE(target.isReplaced());
    EXPECT_EQ(target.linkFlags(), 0u);
    EXPECT_EQ(target.linkKey(), 0u);
    std::optional<std::vector<std::uint8_t>> bytes;
    ASSERT_EQ(readCurrentSample(target, *bank, bytes), WavError::None);
    EXPECT_EQ(bytes, std::optional(patternBytes(12, 42)));
}

}  // namespace
}  // namespace calyx::editor
