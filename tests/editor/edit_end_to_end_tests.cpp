// Editing a bank as a user does and saving it: the saved file holds every
// sample's right bytes.
#include <gtest/gtest.h>

#include "bank/save_document.h"
#include "editor/core/resource_drop.h"
#include "editor/core/resource_edit_session.h"
#include "edit_test_support.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using namespace test;
using fixtures::patternBytes;

class EditAndSaveTest : public ::testing::Test {
protected:
    // "Browse..." on `path` then OK, or OK with `volume` typed.
    void importInto(bank::SoundBank& b, std::size_t index, const std::string& path) {
        ResourceEditSession s(view, links, strings);
        s.bind(*b.resourceAt(index), b, nullptr);
        ASSERT_TRUE(s.initialise());
        s.browse(path);
        ASSERT_TRUE(s.ok());
    }
    void setVolume(bank::SoundBank& b, std::size_t index, const std::string& volume) {
        ResourceEditSession s(view, links, strings);
        s.bind(*b.resourceAt(index), b, nullptr);
        ASSERT_TRUE(s.initialise());
        view.volume = volume;
        ASSERT_TRUE(s.ok());
    }
    void copy(bank::SoundBank& from, std::size_t i, bank::SoundBank& to, std::size_t j) {
        ASSERT_EQ(dropResource(from, i, to, j, links, strings, [](const UiText&) { return true; }),
                  DropOutcome::Copied);
    }
    void save(bank::SoundBank& b) {
        useLinkTable(b, links);
        const auto outcome = bank::saveDocument(b, *b.bankPath());
        ASSERT_TRUE(outcome.saved) << static_cast<int>(outcome.failure.bankError);
    }
    std::string wav(const std::string& name, const Bytes& samples) {
        const std::string path = dir / name;
        fixtures::writeBytes(path, fixtures::simpleWav(samples));
        return path;
    }

    fixtures::TempDir dir;
    LinkTable links;
    GameStrings strings;
    HeadlessDialogView view = dialogView();
};

TEST_F(EditAndSaveTest, AnExportedSampleImportedBackSavesTheSameBytes) {
    fixtures::BankSpec spec;
    spec.resources = {sample(1, patternBytes(40, 1), "ONE.WAV"), sample(2, patternBytes(28, 2), "TWO.WAV")};
    auto b = openBankFile(writeBank(dir, "a.bnm", spec));
    const std::string out = dir / "two.wav";
    {
        ResourceEditSession s(view, links, strings);
        s.bind(*b->resourceAt(1), *b, nullptr);
        ASSERT_TRUE(s.initialise());
        ASSERT_EQ(s.exportWav(out), WavError::None);
    }
    importInto(*b, 0, out);
    save(*b);
    auto reloaded = openBankFile(dir / "a.bnm");
    EXPECT_EQ(storedSample(*reloaded, 0), patternBytes(28, 2));
    EXPECT_EQ(storedSample(*reloaded, 1), patternBytes(28, 2));
}

TEST_F(EditAndSaveTest, SecondGameBankImportVolumeAndCopiesAcrossAreasAndBanks) {
    fixtures::BankSpec a;
    a.resources = {sample(1, patternBytes(40, 1), "ONE.WAV"), sample(2, patternBytes(24, 2), "TWO.WAV"),
                   sample(3, patternBytes(16, 3), "a.bnm", true), sample(4, patternBytes(20, 4), "a.bnm", true),
                   sample(5, patternBytes(8, 5), "FIVE.WAV")};
    fixtures::BankSpec other;
    other.resources = {sample(11, patternBytes(12, 11), "B1.WAV"), sample(12, patternBytes(28, 12), "b.bnm", true)};
    auto bankA = openBankFile(writeBank(dir, "a.bnm", a));
    auto bankB = openBankFile(writeBank(dir, "b.bnm", other));

    const Bytes big = patternBytes(100, 77);
    importInto(*bankA, 0, wav("big.wav", big));
    save(*bankA);
    setVolume(*bankA, 1, "33");
    copy(*bankB, 1, *bankA, 1);  // external area of B into the main area of A
    copy(*bankB, 0, *bankA, 2);  // main area of B into the external area of A
    copy(*bankA, 3, *bankA, 4);  // within A: external into main
    save(*bankA);

    auto r = openBankFile(dir / "a.bnm");
    EXPECT_EQ(storedSample(*r, 0), big);
    EXPECT_EQ(storedSample(*r, 1), patternBytes(28, 12));
    EXPECT_EQ(r->resourceAt(1)->volume(), 33);
    EXPECT_EQ(storedSample(*r, 2), patternBytes(12, 11));
    EXPECT_TRUE(r->resourceAt(2)->isExternal());
    EXPECT_EQ(storedSample(*r, 3), patternBytes(20, 4));
    EXPECT_EQ(storedSample(*r, 4), patternBytes(20, 4));
    EXPECT_EQ(storedSample(*openBankFile(dir / "b.bnm"), 1), patternBytes(28, 12));
}

TEST_F(EditAndSaveTest, FirstGameBankTakesAnImportAVolumeAndCopiesFromBothFlavours) {
    fixtures::BankSpec k;
    k.k7 = true;
    k.resources = {sample(1, patternBytes(40, 1), "ONE.WAV"), sample(2, patternBytes(24, 2), "TWO.WAV"),
                   sample(3, patternBytes(16, 3), "THREE.WAV")};
    fixtures::BankSpec l;
    l.k7 = true;
    l.resources = {sample(21, patternBytes(12, 21), "L1.WAV")};
    fixtures::BankSpec tq2;
    tq2.resources = {sample(31, patternBytes(8, 31), "T1.WAV"), sample(32, patternBytes(36, 32), "t.bnm", true)};
    auto bankK = openBankFile(writeBank(dir, "k.bnm", k));
    auto bankL = openBankFile(writeBank(dir, "l.bnm", l));
    auto bankT = openBankFile(writeBank(dir, "t.bnm", tq2));

    const Bytes big = patternBytes(64, 55);
    importInto(*bankK, 0, wav("big.wav", big));
    save(*bankK);
    setVolume(*bankK, 1, "12");
    copy(*bankL, 0, *bankK, 2);
    copy(*bankT, 1, *bankK, 1);  // a second-game external sample onto a stored one
    save(*bankK);
    // A paste of a pasted resource, saved again: still the first source's bytes.
    copy(*bankK, 2, *bankK, 0);
    save(*bankK);

    auto r = openBankFile(dir / "k.bnm");
    EXPECT_EQ(storedSample(*r, 0), patternBytes(12, 21));
    EXPECT_EQ(storedSample(*r, 1), patternBytes(36, 32));
    EXPECT_EQ(r->resourceAt(1)->volume(), 12);
    EXPECT_EQ(storedSample(*r, 2), patternBytes(12, 21));
}

TEST_F(EditAndSaveTest, APastedResourceGivenAFileOrResetSavesThatFileOrItsOwnBytes) {
    fixtures::BankSpec a;
    a.resources = {sample(1, patternBytes(40, 1), "ONE.WAV"), sample(2, patternBytes(24, 2), "TWO.WAV"),
                   sample(3, patternBytes(16, 3), "a.bnm", true)};
    auto bankA = openBankFile(writeBank(dir, "a.bnm", a));
    copy(*bankA, 0, *bankA, 1);
    copy(*bankA, 0, *bankA, 2);
    // A typed file replaces the paste (the save must not read the bank at
    // the WAV header's offset).
    const Bytes mine = patternBytes(32, 9);
    {
        ResourceEditSession s(view, links, strings);
        s.bind(*bankA->resourceAt(1), *bankA, nullptr);
        ASSERT_TRUE(s.initialise());
        view.fileName = wav("mine.wav", mine);
        ASSERT_TRUE(s.ok());
    }
    // "Reset" goes back to the resource's own bytes, wherever the paste was.
    {
        ResourceEditSession s(view, links, strings);
        s.bind(*bankA->resourceAt(2), *bankA, nullptr);
        ASSERT_TRUE(s.initialise());
        s.reset();
        ASSERT_TRUE(s.ok());
    }
    save(*bankA);
    auto r = openBankFile(dir / "a.bnm");
    EXPECT_EQ(storedSample(*r, 0), patternBytes(40, 1));
    EXPECT_EQ(storedSample(*r, 1), mine);
    EXPECT_EQ(storedSample(*r, 2), patternBytes(16, 3));
}

}  // namespace
}  // namespace calyx::editor
