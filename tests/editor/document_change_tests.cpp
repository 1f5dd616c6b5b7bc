// What a bank document announces: each changed resource by its index, then
// the modified state when it changes, each exactly once; a save unmarks the
// document without marking it on the way, a failed one announces nothing.
#include <utility>
#include <vector>

#include "edit_test_support.h"
#include "editor/core/bank_document.h"
#include "editor/core/resource_drop.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using Change = DocumentChange;

class DocumentChanges : public ::testing::Test {
protected:
    DocumentChanges() {
        fixtures::BankSpec spec;
        spec.resources = {test::sample(1, fixtures::patternBytes(40, 1), "A.WAV"),
                          test::sample(2, fixtures::patternBytes(24, 2), "B.WAV")};
        path_ = test::writeBank(dir_, "bank.bnm", spec);
        EXPECT_TRUE(doc_.open(path_, InstallInfo{}).opened);
        doc_.addListener([this](const Change& change) { heard_.push_back(change); });
    }
    std::vector<Change> takeHeard() { return std::exchange(heard_, {}); }
    std::string wavFile(const std::string& name, std::size_t bytes) {
        fixtures::writeBytes(dir_ / name, fixtures::simpleWav(fixtures::patternBytes(bytes, 7)));
        return dir_ / name;
    }

    fixtures::TempDir dir_;
    std::string path_;
    LinkTable links_;
    BankDocument doc_{links_};
    std::vector<Change> heard_;
};

TEST_F(DocumentChanges, AVolumeChangeNamesItsResourceAndMarksTheDocumentOnce) {
    doc_.bank().resourceAt(1)->setVolume(12);
    EXPECT_EQ(takeHeard(), (std::vector{Change::ofResource(1), Change::ofModified(true)}));
    EXPECT_TRUE(doc_.isModified());
    // The same volume again is no change; another resource is one, but the
    // document is modified already.
    doc_.bank().resourceAt(1)->setVolume(12);
    doc_.bank().resourceAt(0)->setVolume(3);
    EXPECT_EQ(takeHeard(), (std::vector{Change::ofResource(0)}));
}

TEST_F(DocumentChanges, AReplacementAndAPasteAreAnnouncedByTheirTargetOnly) {
    doc_.bank().resourceAt(0)->setReplacement(true, 64, wavFile("mine.wav", 64));
    EXPECT_EQ(takeHeard(), (std::vector{Change::ofResource(0), Change::ofModified(true)}));

    fixtures::BankSpec otherSpec;
    otherSpec.resources = {test::sample(5, fixtures::patternBytes(8, 5), "C.WAV")};
    BankDocument other(links_);
    ASSERT_TRUE(other.open(test::writeBank(dir_, "other.bnm", otherSpec), InstallInfo{}).opened);
    std::vector<Change> otherHeard;
    other.addListener([&otherHeard](const Change& change) { otherHeard.push_back(change); });
    const auto outcome = dropResource(doc_.bank(), 1, other.bank(), 0, links_, GameStrings{},
                                      [](const UiText&) { return true; });
    ASSERT_EQ(outcome, DropOutcome::Copied);
    EXPECT_EQ(otherHeard, (std::vector{Change::ofResource(0), Change::ofModified(true)}));
    EXPECT_TRUE(takeHeard().empty());
}

TEST_F(DocumentChanges, ASaveUnmarksTheDocumentWithoutMarkingItOnTheWay) {
    doc_.bank().resourceAt(0)->setReplacement(true, 64, wavFile("mine.wav", 64));
    takeHeard();
    ASSERT_TRUE(doc_.save(path_).saved);
    // The save writes the replacement's file name into the record: its row
    // shows it.
    EXPECT_EQ(takeHeard(), (std::vector{Change::ofResource(0), Change::ofModified(false)}));
    EXPECT_FALSE(doc_.isModified());
    // Saving an unmodified document says nothing.
    ASSERT_TRUE(doc_.save(path_).saved);
    EXPECT_TRUE(takeHeard().empty());
}

TEST_F(DocumentChanges, AFailedSaveLeavesTheDocumentMarkedAndSaysNothing) {
    doc_.bank().resourceAt(1)->setReplacement(true, 64, wavFile("mine.wav", 64));
    takeHeard();
    EXPECT_FALSE(doc_.save(dir_ / "missing/bank.bnm").saved);
    EXPECT_TRUE(takeHeard().empty());
    EXPECT_TRUE(doc_.isModified());
}

TEST_F(DocumentChanges, AListenerThatLeftHearsNothingMore) {
    int calls = 0;
    const int handle = doc_.addListener([&calls](const Change&) { ++calls; });
    doc_.setModified(true);
    doc_.removeListener(handle);
    doc_.bank().resourceAt(0)->setVolume(3);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(takeHeard(), (std::vector{Change::ofModified(true), Change::ofResource(0)}));
}

}  // namespace
}  // namespace calyx::editor
