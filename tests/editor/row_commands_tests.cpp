// The resource list's row commands: which resources each applies to, and
// the two that act without a dialog (export, reset) doing what the edit
// dialog does.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/core/export_all.h"
#include "editor/core/resource_drop.h"
#include "editor/core/resource_edit_session.h"
#include "editor/core/row_commands.h"
#include "edit_test_support.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using namespace test;
using fixtures::patternBytes;

class RowCommandsTest : public ::testing::Test {
protected:
    RowCommandsTest() {
        fixtures::BankSpec spec;
        spec.resources = {sample(1, patternBytes(40, 1), "ONE.WAV"), sample(2, patternBytes(24, 2), "xxxxxxxxxxxx"),
                          fixtures::cdTrack()};
        spec.resources[0].volume = 90;
        bank = openBankFile(writeBank(dir, "a.bnm", spec));
        useLinkTable(*bank, links);
    }

    bool applies(RowCommand command, std::size_t index) { return rowCommandApplies(command, *bank->resourceAt(index)); }

    // Takes `samples` as resource 0's new sound, as the dialog's OK does.
    void replaceFirst(const Bytes& samples) {
        const std::string path = dir / "new.wav";
        fixtures::writeBytes(path, fixtures::simpleWav(samples));
        HeadlessDialogView view = dialogView();
        ResourceEditSession session(view, links, strings);
        session.bind(*bank->resourceAt(0), *bank, nullptr);
        ASSERT_TRUE(session.initialise());
        ASSERT_TRUE(session.browse(path));
        ASSERT_TRUE(session.ok());
    }

    fixtures::TempDir dir;
    LinkTable links;
    GameStrings strings;
    std::unique_ptr<bank::SoundBank> bank;
    HeadlessDialogView view = dialogView();
};

TEST_F(RowCommandsTest, EachCommandAppliesToTheResourcesThatCanTakeIt) {
    EXPECT_TRUE(applies(RowCommand::Edit, 0));
    EXPECT_TRUE(applies(RowCommand::Play, 0));
    EXPECT_TRUE(applies(RowCommand::ExportWav, 0));
    EXPECT_FALSE(applies(RowCommand::ResetToBank, 0));  // nothing to go back from
    // A sample that names no file has no dialog, but its data plays.
    EXPECT_FALSE(applies(RowCommand::Edit, 1));
    EXPECT_TRUE(applies(RowCommand::Play, 1));
    for (const RowCommandEntry& entry : rowCommands()) EXPECT_FALSE(applies(entry.command, 2));  // CD track
    // The same volume set again is no difference.
    bank->resourceAt(0)->setVolume(90);
    EXPECT_FALSE(applies(RowCommand::ResetToBank, 0));
    bank->resourceAt(0)->setVolume(12);
    EXPECT_TRUE(applies(RowCommand::ResetToBank, 0));
}

TEST_F(RowCommandsTest, ResetGoesBackToTheBanksSampleAndStoredVolume) {
    replaceFirst(fixtures::pcm16({1, 2, 3, 4}));
    bank->resourceAt(0)->setVolume(30);
    ASSERT_TRUE(differsFromBank(*bank->resourceAt(0)));

    EXPECT_TRUE(resetToBank(*bank->resourceAt(0), *bank, links, strings, InterfaceLanguage::English, view));
    const bank::SoundResource& r = *bank->resourceAt(0);
    EXPECT_FALSE(r.isReplaced());
    EXPECT_EQ(r.volume(), 90);
    EXPECT_EQ(r.dataSize(), 40u);
    EXPECT_FALSE(differsFromBank(r));
    // Nothing left to reset: nothing is done (the document stays as it is).
    int changes = 0;
    bank->addChangeListener([&changes](bank::SoundResource&) { ++changes; });
    EXPECT_FALSE(resetToBank(*bank->resourceAt(0), *bank, links, strings, InterfaceLanguage::English, view));
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(RowCommandsTest, ExportWritesWhatExportAllWritesForThePresentSound) {
    replaceFirst(fixtures::pcm16({5, -6, 7, -8, 9, -10}));
    const std::string out = dir / "row.wav";
    EXPECT_EQ(exportRowWav(*bank->resourceAt(0), *bank, links, strings, InterfaceLanguage::English, out, view),
              WavError::None);
    const std::string folder = dir / "all";
    std::filesystem::create_directory(folder);
    exportAllSamples(*bank, folder);
    const Bytes written = fixtures::readBytes(out);
    EXPECT_EQ(written, fixtures::readBytes(folder + "/" + exportFileName(0, *bank->resourceAt(0))));
    EXPECT_EQ(Bytes(written.end() - 12, written.end()), fixtures::pcm16({5, -6, 7, -8, 9, -10}));

    // A folder that does not exist: the dialog's message, nothing written.
    EXPECT_NE(exportRowWav(*bank->resourceAt(0), *bank, links, strings, InterfaceLanguage::English,
                           dir / "missing/x.wav", view),
              WavError::None);
    EXPECT_EQ(view.messages.size(), 1u);
}

}  // namespace
}  // namespace calyx::editor
