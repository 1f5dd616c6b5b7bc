// The bank model: accessors per kind, sizes, volumes, errors, names, and the
// search for script and sample files in the game tree.
#include <gtest/gtest.h>

#include "bank/sound_bank.h"
#include "bank_files.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"

namespace calyx {
namespace {

using bank::SoundResource;
using fixtures::BankSpec;
using fixtures::ResourceSpec;
using fixtures::TempDir;
using testing::writeAndLoad;

using testing::sample;

TEST(ResourceAccessors, AnswerPerKind) {
    TempDir dir;
    BankSpec spec;
    ResourceSpec cd;
    cd.id = 7;
    cd.kind = 3;
    cd.stored = 0;
    cd.fileName = "TRACK02";
    cd.dataSize = 1234;
    ResourceSpec empty;
    empty.id = 9;
    empty.kind = 0;
    empty.stored = 0;
    spec.resources = {sample(1, 16, "xxxxxxxxxxxx"), cd, empty, sample(4, 8, "HORN.WAV")};
    auto loaded = writeAndLoad(dir, "a.bnm", spec);
    ASSERT_EQ(loaded.result, bank::LoadResult::Loaded);
    auto& b = *loaded.bank;

    const SoundResource& noFile = *b.resourceAt(0);
    EXPECT_EQ(noFile.displayFileName(), "");
    EXPECT_EQ(noFile.listFileName(), "");
    EXPECT_EQ(noFile.dataSize(), 16u);

    const SoundResource& track = *b.resourceAt(1);
    EXPECT_EQ(track.listFileName(), "<CD audio>");
    EXPECT_EQ(track.dataSize(), 0u);
    EXPECT_EQ(track.storedSize(), 0u);
    EXPECT_FALSE(track.isStored());
    EXPECT_EQ(track.idOrNone(), 7);

    const SoundResource& slot = *b.resourceAt(2);
    EXPECT_EQ(slot.volumeText(), "-");
    EXPECT_EQ(slot.volume(), -1);
    EXPECT_EQ(slot.idOrNone(), -1);
    EXPECT_EQ(slot.listFileName(), "");

    EXPECT_EQ(b.fileNameAt(3), "HORN.WAV");
    EXPECT_EQ(b.volumeTextAt(3), "100");
    EXPECT_EQ(b.volumeAt(99), -1);
    EXPECT_EQ(b.volumeTextAt(99), "");
    EXPECT_EQ(b.resourceAt(99), nullptr);
    EXPECT_EQ(b.indexOfResource(b.resourceAt(3)), 3);
    EXPECT_EQ(b.indexOfResource(&noFile + 1000), -1);
}

TEST(ResourceSizes, PaddedSizeFollowsPadMode) {
    struct Case {
        std::uint32_t padMode, size, padded;
    };
    for (const Case c : {Case{2, 0, 8}, Case{2, 16, 24}, Case{2, 17, 24}, Case{0, 0, 0}, Case{0, 5, 8},
                         Case{0, 16, 16}, Case{1, 17, 20}, Case{0, 18, 20}}) {
        SoundResource r;
        r.record().setWord(bank::ResourceRecord::kindAt, 1);
        r.record().setWord(bank::ResourceRecord::padModeAt, c.padMode);
        r.record().setWord(bank::ResourceRecord::dataSizeAt, c.size);
        EXPECT_EQ(r.paddedSize(), c.padded) << "pad mode " << c.padMode << " size " << c.size;
        EXPECT_EQ(r.currentSize(), c.padded);
        EXPECT_EQ(r.padBytes(), static_cast<std::int32_t>(c.padded - c.size));
    }
}

TEST(ResourceChanges, VolumeNotifiesOnlyOnChangeAndErrorsKeepTheFirst) {
    bank::SoundBank b;
    auto resource = std::make_unique<SoundResource>();
    resource->record().setWord(bank::ResourceRecord::kindAt, 1);
    resource->record().bytes[bank::ResourceRecord::volumeAt] = 90;
    SoundResource* r = resource.get();
    b.appendResourceForTest(std::move(resource));
    int calls = 0;
    b.addChangeListener([&calls](SoundResource&) { ++calls; });

    EXPECT_EQ(r->volume(), 90);
    r->setVolume(64);
    r->setVolume(64);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(r->volume(), 64);
    EXPECT_EQ(r->record().volume(), 90);

    b.recordError(bank::BankError::NoMemory);
    b.recordError(bank::BankError::SourceMissing);
    bank::BankError code = bank::BankError::None;
    EXPECT_TRUE(b.takeError(code));
    EXPECT_EQ(code, bank::BankError::NoMemory);
    EXPECT_FALSE(b.takeError(code));
    EXPECT_EQ(code, bank::BankError::None);
}

TEST(ResourceNames, AreCutToTheirFields) {
    SoundResource r;
    r.setNames(std::string(40, 'n'), std::string(200, 'c'));
    EXPECT_EQ(r.name().size(), 19u);
    EXPECT_EQ(r.comment().size(), 99u);
}

TEST(CandidateDirectory, CutsAtTheDataFolder) {
    TempDir dir;
    fixtures::makeDirs(dir / "Jeux/VLM2/Datab/Resson");
    BankSpec spec;
    spec.resources = {sample(1, 4)};
    fixtures::writeBytes(dir / "Jeux/VLM2/Datab/Resson/bnk.bnm", fixtures::buildBank(spec));
    auto loaded = testing::loadBankFile(dir / "Jeux/VLM2/Datab/Resson/bnk.bnm", "C:\\Jeux\\K7\\",
                                        "C:\\Jeux\\VLM2\\", "English");
    auto& b = *loaded.bank;
    // The bank's own path, a host path, names the game root.
    EXPECT_EQ(b.candidateDirectory(1, bank::scriptMark), dir / "Jeux/VLM2/");
    // An installation directory holds no data folder: no candidate.
    EXPECT_EQ(b.candidateDirectory(0, bank::scriptMark), "");
    // The grave accent asks for the first game's data folder of the second game's bank.
    EXPECT_EQ(b.candidateDirectory(0, bank::graveMark), "C:\\Jeux\\K7\\");
    EXPECT_EQ(b.candidateDirectory(2, bank::scriptMark), "");
    bool oneLess = true;
    EXPECT_EQ(b.candidateDirectory(0, 'a', &oneLess), "C:\\");
    EXPECT_FALSE(oneLess);
}

TEST(CandidateDirectory, NeedsASeparatorBeforeTheDataFolder) {
    TempDir dir;
    fixtures::makeDirs(dir / "gamedatab/Resson");
    BankSpec spec;
    spec.k7 = true;
    spec.resources = {sample(1, 4)};
    fixtures::writeBytes(dir / "gamedatab/Resson/x.bnm", fixtures::buildBank(spec));
    auto loaded = testing::loadBankFile(dir / "gamedatab/Resson/x.bnm", "D:\\K7\\");
    EXPECT_EQ(loaded.bank->candidateDirectory(1, bank::scriptMark), "");
    EXPECT_EQ(loaded.bank->candidateDirectory(0, bank::graveMark), "D:\\K7\\");
    bool oneLess = false;
    loaded.bank->candidateDirectory(0, 'a', &oneLess);
    EXPECT_TRUE(oneLess);
}

class FindFile : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = dir_ / "game/";
        fixtures::makeDirs(root_ + "K7datab/Resson/English");
        fixtures::makeDirs(root_ + "datab/Resson/English");
        BankSpec spec;
        spec.k7 = true;
        spec.resources = {sample(1, 4)};
        fixtures::writeBytes(root_ + "K7datab/Resson/k.bnm", fixtures::buildBank(spec));
        loaded_ = testing::loadBankFile(root_ + "K7datab/Resson/k.bnm", "", "", "English");
    }
    void put(const std::string& relative) { fixtures::writeFile(root_ + relative, "x"); }
    std::string found(unsigned char mark) {
        auto path = loaded_.bank->findFile("S.WAV", root_, mark);
        return path ? *path : std::string("<none>");
    }

    TempDir dir_;
    std::string root_;
    testing::Loaded loaded_;
    fixtures::ScopedCwd cwd_{dir_.path()};
};

TEST_F(FindFile, TriesTheLanguageFolderFirstThenTheSoundFolderThenTheDataFolder) {
    put("K7datab/Resson/S.WAV");
    put("K7datab/S.WAV");
    EXPECT_EQ(found(bank::graveMark), root_ + "K7datab\\Resson\\S.WAV");
    put("K7datab/Resson/English/S.WAV");
    EXPECT_EQ(found(bank::graveMark), root_ + "K7datab\\Resson\\English\\S.WAV");
}

TEST_F(FindFile, SwitchesToTheOtherGamesWordAfterTheRootAttempt) {
    // Only the second game's folder holds the file: the first round looks
    // under K7datab, the root attempt switches the word, the second round
    // finds it under datab.
    put("datab/Resson/S.WAV");
    EXPECT_EQ(found(bank::graveMark), root_ + "datab\\Resson\\S.WAV");
    // The current directory comes before the switch.
    fixtures::writeFile(dir_ / "S.WAV", "x");
    EXPECT_EQ(found(bank::graveMark), ".\\S.WAV");
}

TEST_F(FindFile, NamesNothingWhenNoAttemptOpens) {
    EXPECT_EQ(found(bank::scriptMark), "<none>");
}

TEST(BankNames, ComeFromTheCompanionOfASecondGameBank) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(0x10005, 4), sample(6, 4)};
    ResourceSpec empty;
    empty.kind = 0;
    empty.id = 5;
    spec.resources.push_back(empty);
    fixtures::writeBytes(dir / "b.bnm", fixtures::buildBank(spec));
    fixtures::writeFile(dir / "b.bns", fixtures::companionText({{5, "Engine", "Idle loop"}}));
    auto loaded = testing::loadBankFile(dir / "b.bnm");
    auto& b = *loaded.bank;
    bank::BankError code = bank::BankError::None;
    EXPECT_FALSE(b.takeError(code));
    // The low 16 bits of the id key the table.
    EXPECT_EQ(b.nameAt(0), "Engine");
    EXPECT_EQ(b.commentAt(0), "Idle loop");
    EXPECT_EQ(b.nameAt(1), "");
    EXPECT_EQ(b.nameAt(2), "");
    EXPECT_EQ(b.nameTable().size(), 0u);
}

TEST(BankNames, AMissingCompanionIsAWarningAndAMissingScriptIsNot) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 4)};
    fixtures::writeBytes(dir / "b.bnm", fixtures::buildBank(spec));
    auto tq2 = testing::loadBankFile(dir / "b.bnm");
    EXPECT_EQ(tq2.result, bank::LoadResult::Loaded);
    EXPECT_EQ(tq2.bank->errorCode(), bank::BankError::CompanionUnreadable);

    spec.k7 = true;
    fixtures::writeBytes(dir / "k.bnm", fixtures::buildBank(spec));
    auto k7 = testing::loadBankFile(dir / "k.bnm");
    EXPECT_EQ(k7.bank->errorCode(), bank::BankError::None);
}

TEST(BankNames, ComeFromTheFirstGamesScriptFoundInTheGameTree) {
    TempDir dir;
    fixtures::makeDirs(dir / "Jeux/K7/K7DATAB/RESSON");
    BankSpec spec;
    spec.k7 = true;
    spec.resources = {sample(12, 4)};
    fixtures::writeBytes(dir / "Jeux/K7/K7DATAB/RESSON/k.bnm", fixtures::buildBank(spec));
    // Folders in any letter case: the script lies in K7datab\Resson.
    fixtures::writeFile(dir / "Jeux/K7/K7DATAB/RESSON/K7.csb", fixtures::k7ScriptText({{12, "Horn", "Short horn"}}));
    fixtures::ScopedCwd cwd(dir.path());
    auto loaded = testing::loadBankFile(dir / "Jeux/K7/K7DATAB/RESSON/k.bnm");
    EXPECT_EQ(loaded.bank->nameAt(0), "Horn");
    EXPECT_EQ(loaded.bank->commentAt(0), "Short horn");
}

}  // namespace
}  // namespace calyx
