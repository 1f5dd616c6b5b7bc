// A paste from one open bank into another is pending until its target is
// saved. When the source bank is saved by the editor in between, the paste
// follows its sample; when the source file changed otherwise, the target's
// save is refused and nothing is written.
#include <thread>

#include "edit_test_support.h"
#include "editor/core/bank_document.h"
#include "editor/core/resource_drop.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using test::Bytes;
using test::sample;
using test::writeBank;

class PasteOrigin : public ::testing::Test {
protected:
    PasteOrigin() {
        fixtures::BankSpec a;
        a.resources = {sample(1, fixtures::patternBytes(40, 1), "A1.WAV"), sample(2, fixtures::patternBytes(24, 2), "A2.WAV")};
        fixtures::BankSpec b;
        b.resources = {sample(7, fixtures::patternBytes(16, 7), "B1.WAV")};
        pathA_ = writeBank(dir_, "a.bnm", a);
        pathB_ = writeBank(dir_, "b.bnm", b);
        EXPECT_TRUE(docA_.open(pathA_, InstallInfo{}).opened);
        EXPECT_TRUE(docB_.open(pathB_, InstallInfo{}).opened);
    }

    // A's second sample onto B's only one, confirmed.
    void pasteAIntoB() {
        const auto yes = [](const UiText&) { return true; };
        ASSERT_EQ(dropResource(docA_.bank(), 1, docB_.bank(), 0, links_, strings_, yes), DropOutcome::Copied);
        docB_.setModified(true);
    }

    // A's first sample replaced by a longer WAV file, which moves A's second.
    void replaceFirstSampleOfA() {
        const std::string wav = dir_ / "long.wav";
        fixtures::writeBytes(wav, fixtures::simpleWav(fixtures::patternBytes(400, 5)));
        docA_.bank().resourceAt(0)->setReplacement(true, 400, wav);
    }

    Bytes savedSampleOfB() {
        auto reopened = test::openBankFile(pathB_);
        return test::storedSample(*reopened, 0);
    }

    fixtures::TempDir dir_;
    LinkTable links_;
    GameStrings strings_;
    std::string pathA_, pathB_;
    BankDocument docA_{links_}, docB_{links_};
};

TEST_F(PasteOrigin, APasteFollowsItsSampleWhenTheEditorSavesTheSourceBank) {
    pasteAIntoB();
    replaceFirstSampleOfA();
    ASSERT_TRUE(docA_.save(pathA_).saved);
    ASSERT_TRUE(docB_.save(pathB_).saved);
    EXPECT_EQ(savedSampleOfB(), fixtures::patternBytes(24, 2));
    // Pasted again; A changes and is saved once more before B.
    pasteAIntoB();
    EXPECT_EQ(links_.origins().size(), 1u);
    docA_.bank().resourceAt(0)->setReplacement(true, 40, dir_ / "long.wav");
    ASSERT_TRUE(docA_.save(pathA_).saved);
    ASSERT_TRUE(docB_.save(pathB_).saved);
    EXPECT_EQ(savedSampleOfB(), fixtures::patternBytes(24, 2));
    // Once saved, the paste is no longer pending.
    docA_.save(pathA_);
    EXPECT_EQ(links_.origins().size(), 0u);
}

TEST_F(PasteOrigin, APasteOfAPasteWithinTheSourceBankFollowsItsSample) {
    // A's second sample onto its first, then that paste into B: B's bytes
    // are A's second sample, which A's save moves.
    const auto yes = [](const UiText&) { return true; };
    ASSERT_EQ(dropResource(docA_.bank(), 1, docA_.bank(), 0, links_, strings_, yes), DropOutcome::Copied);
    docA_.setModified(true);
    ASSERT_EQ(dropResource(docA_.bank(), 0, docB_.bank(), 0, links_, strings_, yes), DropOutcome::Copied);
    docB_.setModified(true);
    ASSERT_TRUE(docA_.save(pathA_).saved);
    ASSERT_TRUE(docB_.save(pathB_).saved);
    EXPECT_EQ(savedSampleOfB(), fixtures::patternBytes(24, 2));
}

TEST_F(PasteOrigin, ASourceChangedOutsideTheEditorIsRefusedAtSave) {
    pasteAIntoB();
    const Bytes before = fixtures::readBytes(pathB_);
    // Another program rewrites A with its samples in another order.
    fixtures::BankSpec other;
    other.resources = {sample(2, fixtures::patternBytes(24, 9), "A2.WAV"), sample(1, fixtures::patternBytes(40, 8), "A1.WAV")};
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fixtures::writeBytes(pathA_, fixtures::buildBank(other));

    const auto result = docB_.save(pathB_);
    EXPECT_FALSE(result.saved);
    ASSERT_TRUE(result.report);
    EXPECT_EQ(result.report->problem, DocumentProblem::PasteSourceChanged);
    EXPECT_EQ(result.report->path, pathA_);
    EXPECT_NE(result.report->text(strings_, InterfaceLanguage::English).utf8().find("a.bnm"), std::string::npos);
    EXPECT_TRUE(docB_.isModified());
    EXPECT_EQ(fixtures::readBytes(pathB_), before);
}

TEST_F(PasteOrigin, ASourceSampleReplacedAndSavedCannotBeFollowed) {
    pasteAIntoB();
    const std::string wav = dir_ / "other.wav";
    fixtures::writeBytes(wav, fixtures::simpleWav(fixtures::patternBytes(24, 6)));
    docA_.bank().resourceAt(1)->setReplacement(true, 24, wav);
    ASSERT_TRUE(docA_.save(pathA_).saved);
    const auto result = docB_.save(pathB_);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.report->problem, DocumentProblem::PasteSourceChanged);
    // Pasting again from the saved bank lets B save.
    pasteAIntoB();
    ASSERT_TRUE(docB_.save(pathB_).saved);
    EXPECT_EQ(savedSampleOfB(), fixtures::patternBytes(24, 6));
}

}  // namespace
}  // namespace calyx::editor
