// Undo and redo of a bank document: each change of the user's (a volume, a
// replacement, a paste, a reset, a folder taken in) is one step, undone and
// redone through saves, with the modified mark following the clean point and
// the link table's keys following the pastes.
#include <gtest/gtest.h>

#include <filesystem>

#include "edit_test_support.h"
#include "editor/core/bank_document.h"
#include "editor/core/resource_drop.h"
#include "editor/core/resource_edit_session.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using namespace test;
using fixtures::patternBytes;

class UndoTest : public ::testing::Test {
protected:
    UndoTest() {
        fixtures::BankSpec spec;
        spec.resources = {sample(1, patternBytes(40, 1), "ONE.WAV"), sample(2, patternBytes(24, 2), "TWO.WAV")};
        path = writeBank(dir, "bank.bnm", spec);
        EXPECT_TRUE(doc.open(path, InstallInfo{}).opened);
    }
    // The edit dialog opened on resource `index`, `act` done in it, then OK.
    template <typename Act>
    void edit(std::size_t index, Act act) {
        ResourceEditSession s(view, links, strings);
        s.bind(*doc.bank().resourceAt(index), doc.bank(), nullptr);
        ASSERT_TRUE(s.initialise());
        act(s);
        ASSERT_TRUE(s.ok());
    }
    void setVolume(std::size_t index, const std::string& volume) {
        edit(index, [&](ResourceEditSession&) { view.volume = volume; });
    }
    void replace(std::size_t index, const std::string& wavPath) {
        edit(index, [&](ResourceEditSession& s) { ASSERT_TRUE(s.browse(wavPath)); });
    }
    std::string wav(const std::string& name, const Bytes& samples) {
        const std::string file = dir / name;
        fixtures::writeBytes(file, fixtures::simpleWav(samples));
        return file;
    }
    void save() { ASSERT_TRUE(doc.save(path).saved); }
    // What the bank file holds now.
    std::unique_ptr<bank::SoundBank> onDisk() { return openBankFile(path); }
    std::string undoText() { return undoItemText(*doc.history().undoName(), InterfaceLanguage::English); }

    fixtures::TempDir dir;
    std::string path;
    LinkTable links;
    GameStrings strings;
    HeadlessDialogView view = dialogView();
    BankDocument doc{links};
};

TEST_F(UndoTest, AVolumeIsUndoneAndRedoneThroughSavesAndTheCleanPointUnmarksTheDocument) {
    EXPECT_FALSE(doc.history().canUndo());
    EXPECT_FALSE(doc.undo());
    setVolume(0, "90");
    EXPECT_EQ(undoText(), "&Undo volume of res1");
    EXPECT_EQ(doc.history().stepCount(), 1u);

    // Back to the state as opened: unmodified; forward again: modified.
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.bank().resourceAt(0)->volume(), 100);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(redoItemText(*doc.history().redoName(), InterfaceLanguage::French), "&Rétablir volume de res1");
    ASSERT_TRUE(doc.redo());
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(doc.history().canRedo());

    // A save keeps the history: the undone volume saves as it was opened,
    // though the record held the new one when it was undone.
    save();
    EXPECT_FALSE(doc.isModified());
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(doc.isModified());
    save();
    EXPECT_EQ(onDisk()->resourceAt(0)->volume(), 100);
    ASSERT_TRUE(doc.redo());
    save();
    EXPECT_EQ(onDisk()->resourceAt(0)->volume(), 90);
    // Undone past the save, then redone to it: unmodified again.
    ASSERT_TRUE(doc.undo());
    ASSERT_TRUE(doc.redo());
    EXPECT_FALSE(doc.isModified());
}

TEST_F(UndoTest, AReplacementUndoneAfterItsSaveGivesBackTheBytesTheSaveWroteOver) {
    const Bytes mine = patternBytes(64, 9);
    replace(0, wav("mine.wav", mine));
    EXPECT_EQ(undoText(), "&Undo sound of res1");
    save();
    EXPECT_EQ(storedSample(*onDisk(), 0), mine);

    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(doc.isModified());
    save();
    auto undone = onDisk();
    EXPECT_EQ(storedSample(*undone, 0), patternBytes(40, 1));
    EXPECT_EQ(undone->resourceAt(0)->listFileName(), "ONE.WAV") << "the record's own file name comes back";
    EXPECT_EQ(storedSample(*undone, 1), patternBytes(24, 2));

    ASSERT_TRUE(doc.redo());
    save();
    EXPECT_EQ(storedSample(*onDisk(), 0), mine);
    // Undone again without the user's file: the bytes it replaced were kept.
    std::filesystem::remove(std::string(dir / "mine.wav"));
    ASSERT_TRUE(doc.undo());
    EXPECT_FALSE(doc.history().canUndo());
    save();
    EXPECT_EQ(storedSample(*onDisk(), 0), patternBytes(40, 1));
}

TEST_F(UndoTest, AnUndonePasteGivesItsKeyBackAndARedoneOneTakesItAgain) {
    fixtures::BankSpec otherSpec;
    otherSpec.resources = {sample(5, patternBytes(32, 5), "FIVE.WAV")};
    BankDocument other(links);
    ASSERT_TRUE(other.open(writeBank(dir, "other.bnm", otherSpec), InstallInfo{}).opened);
    const auto paste = [&] {
        return dropResource(other.bank(), 0, doc.bank(), 1, links, strings, [](const UiText&) { return true; });
    };
    ASSERT_EQ(paste(), DropOutcome::Copied);
    EXPECT_EQ(undoText(), "&Undo paste onto res2");
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links.origins().size(), 1u);

    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(links.size(), 0u);
    EXPECT_EQ(links.origins().size(), 0u);
    EXPECT_FALSE(doc.bank().resourceAt(1)->isReplaced());
    EXPECT_FALSE(doc.isModified());

    ASSERT_TRUE(doc.redo());
    const bank::LinkKey key = doc.bank().resourceAt(1)->linkKey();
    ASSERT_NE(key, 0u);
    EXPECT_EQ(links.refCount(key), 1);
    EXPECT_EQ(links.pathOf(key), other.bank().bankPath());
    EXPECT_EQ(links.origins().size(), 1u);
    save();
    EXPECT_EQ(storedSample(*onDisk(), 1), patternBytes(32, 5));

    // A second paste onto the same resource, undone, holds the key the first
    // one held until the document closes, as a saved paste does.
    ASSERT_EQ(paste(), DropOutcome::Copied);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(links.refCount(key), 1);
    EXPECT_FALSE(doc.bank().resourceAt(1)->isReplaced());
    doc.releaseLinks();
    EXPECT_EQ(links.size(), 0u);
}

TEST_F(UndoTest, ResetAndAGroupOfChangesAreOneStepEachAndANewChangeEndsTheRedoSteps) {
    replace(1, wav("mine.wav", patternBytes(16, 4)));
    edit(1, [](ResourceEditSession& s) { s.reset(); });
    EXPECT_EQ(undoText(), "&Undo reset of res2");
    EXPECT_FALSE(doc.bank().resourceAt(1)->isReplaced());
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(doc.bank().resourceAt(1)->isReplaced());

    // A folder taken in: every file of it, one step, named by the folder.
    {
        const bank::ChangeGroup group(doc.bank());
        doc.history().nameStep({StepKind::FolderImport, "wavs"});
        replace(0, wav("a.wav", patternBytes(8, 6)));
        setVolume(1, "7");
    }
    EXPECT_EQ(undoText(), "&Undo import of folder wavs");
    EXPECT_EQ(doc.history().stepCount(), 2u) << "the new change drops the undone reset";
    EXPECT_FALSE(doc.history().canRedo());
    ASSERT_TRUE(doc.undo());
    EXPECT_FALSE(doc.bank().resourceAt(0)->isReplaced());
    EXPECT_EQ(doc.bank().resourceAt(1)->volume(), 100);
    EXPECT_TRUE(doc.bank().resourceAt(1)->isReplaced());

    // Saved, undone, then changed anew: the saved state can no longer be
    // reached, so every state from now on is modified.
    save();
    ASSERT_TRUE(doc.undo());
    setVolume(0, "5");
    ASSERT_TRUE(doc.undo());
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(doc.history().canUndo());
}

TEST(UndoTexts, TheItemsNameTheirStepInTheInterfaceLanguage) {
    EXPECT_EQ(undoItemText({StepKind::Volume, "Horn"}, InterfaceLanguage::English), "&Undo volume of Horn");
    EXPECT_EQ(undoItemText({StepKind::Volume, "Klaxon"}, InterfaceLanguage::French), "&Annuler volume de Klaxon");
    EXPECT_EQ(redoItemText({StepKind::Changes, {}}, InterfaceLanguage::English), "&Redo changes");
}

}  // namespace
}  // namespace calyx::editor
