// The edit dialog's procedures: the pending replacement, the volume box,
// tests on the device, export, OK and Cancel.
#include <gtest/gtest.h>

#include "audio/playback.h"
#include "audio/recording_wave_out.h"
#include "audio/wave_device_owner.h"
#include "editor/core/resource_drop.h"
#include "editor/core/resource_edit_session.h"
#include "edit_test_support.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using namespace test;
using fixtures::patternBytes;
using fixtures::simpleWav;
using Names = std::vector<std::string>;

class EditSessionTest : public ::testing::Test {
protected:
    EditSessionTest()
        : owner([](int, const char*) {}, [this] { return std::make_unique<audio::RecordingWaveOut>(log); }),
          link(owner.makeLink()) {
        fixtures::BankSpec spec;
        spec.resources = {sample(1, patternBytes(40, 1), "ONE.WAV"), sample(2, patternBytes(24, 2), "TWO.WAV")};
        spec.resources[1].looping = true;
        spec.resources[0].volume = 90;
        bankPath = writeBank(dir, "a.bnm", spec);
        bankA = openBankFile(bankPath);
        useLinkTable(*bankA, links);
        for (std::size_t i = 0; i < bankA->resourceCount(); ++i) bankA->resourceAt(i)->setOwner(&link);
    }

    std::unique_ptr<ResourceEditSession> open(std::size_t index) {
        auto s = std::make_unique<ResourceEditSession>(view, links, strings);
        bank::SoundResource& r = *bankA->resourceAt(index);
        s->bind(r, *bankA, r.owner());
        EXPECT_TRUE(s->initialise());
        return s;
    }

    std::string wav(const std::string& name, const Bytes& samples, const fixtures::PcmFormat& format = {}) {
        const std::string path = dir / name;
        fixtures::writeBytes(path, simpleWav(samples, format));
        return path;
    }

    fixtures::TempDir dir;
    std::shared_ptr<audio::DeviceLog> log = std::make_shared<audio::DeviceLog>();
    audio::WaveDeviceOwner owner;
    audio::WaveDeviceLink link;
    std::string bankPath;
    std::unique_ptr<bank::SoundBank> bankA;
    LinkTable links;
    GameStrings strings;
    HeadlessDialogView view = dialogView();
};

TEST_F(EditSessionTest, OpeningShowsTheResourceAndResetReturnsToTheBanksSample) {
    auto s = open(1);
    EXPECT_EQ(view.fileName, "TWO.WAV");
    EXPECT_EQ(view.sizeLine.utf8(), "Taille: 24 octets");
    EXPECT_EQ(view.loopingLine.utf8(), "Son bouclant");
    EXPECT_EQ(view.volume, "100");
    const std::string file = wav("new.wav", patternBytes(16, 7));
    s->browse(file);
    EXPECT_EQ(view.fileName, file);
    EXPECT_EQ(view.sizeLine.utf8(), "Size: 16 bytes");
    ASSERT_TRUE(s->ok());
    EXPECT_EQ(bankA->resourceAt(1)->replacementPath(), file);

    // Opened again on the pending replacement: its path and size.
    s = open(1);
    EXPECT_EQ(view.fileName, file);
    EXPECT_EQ(view.sizeLine.utf8(), "Taille: 16 octets");
    view.volume = "5";
    s->reset();
    EXPECT_EQ(view.fileName, "TWO.WAV");
    EXPECT_EQ(view.sizeLine.utf8(), "Taille: 24 octets");
    EXPECT_EQ(view.volume, "100");  // the stored volume
    ASSERT_TRUE(s->ok());
    const auto& r = *bankA->resourceAt(1);
    EXPECT_FALSE(r.isReplaced());
    EXPECT_EQ(r.dataSize(), 24u);
    EXPECT_EQ(r.linkFlags(), 0u);
}

TEST_F(EditSessionTest, ImportChecksTheNameAndKeepsThePreviousReplacementOnFailure) {
    auto s = open(0);
    const Bytes ten = patternBytes(10, 3);
    EXPECT_EQ(s->importWav(wav("a.WaV", ten), false), ImportResult::Taken);
    EXPECT_EQ(s->state().pendingSize, 8u);  // whole 4-byte groups
    const std::string kept = *s->state().pendingPath;
    EXPECT_EQ(s->importWav(wav("b.wave", ten), false), ImportResult::NotWavName);
    EXPECT_EQ(s->importWav(".wav", false), ImportResult::NotWavName);
    EXPECT_EQ(s->importWav(wav("three.wav", patternBytes(3, 1)), true), ImportResult::NotStored);
    EXPECT_EQ(s->state().pendingPath, kept);
    EXPECT_EQ(s->state().pendingSize, 8u);
    EXPECT_TRUE(s->state().pendingReplaced);
    fixtures::PcmFormat stereo;
    stereo.channels = 2;
    EXPECT_EQ(s->importWav(wav("stereo.wav", ten, stereo), false), ImportResult::FormatNotSupported);
    // A data chunk claiming more than the file holds cannot be copied later.
    const std::string liar = dir / "liar.wav";
    fixtures::writeBytes(liar, fixtures::WavBuilder().format().chunkClaiming("data", 1000000, ten).bytes());
    EXPECT_EQ(s->importWav(liar, false), ImportResult::CannotOpenOrRead);
    EXPECT_EQ(s->state().pendingPath, kept);

    // A first-time failure leaves nothing pending.
    auto fresh = open(1);
    EXPECT_EQ(fresh->importWav(wav("three.wav", patternBytes(3, 1)), false), ImportResult::NotStored);
    EXPECT_FALSE(fresh->state().pendingReplaced);
    EXPECT_EQ(fresh->state().pendingSize, 0u);
}

TEST_F(EditSessionTest, AMissingFileIsMissingThroughImportButUnopenableThroughTest) {
    auto s = open(0);
    const std::string missing = dir / "gone.wav";
    s->browse(missing);
    s->dropFile(dir / "notes.txt");
    s->testFile(missing, s->beginTest());
    EXPECT_EQ(view.messages, (Names{"Le fichier n'existe pas", "Vous ne pouvez entrer que des fichiers .Wav",
                                    "Erreur d'ouverture du .wav"}));
    EXPECT_TRUE(log->calls.empty());
}

TEST_F(EditSessionTest, ASecondTestCurrentStopsAndFreesTheFirstBufferBeforeQueueing) {
    auto s = open(1);
    view.volume = "64";
    s->testCurrent();
    ASSERT_TRUE(s->state().playBuffer);
    EXPECT_EQ(*s->state().playBuffer, patternBytes(24, 2));
    EXPECT_EQ(log->names(), (Names{"open", "prepare", "setVolume", "write"}));
    EXPECT_EQ(log->calls[2].volumeWord, audio::volumeWord(64));
    EXPECT_EQ(log->calls[3].headerSeen.flags & audio::header_flag::beginLoop, audio::header_flag::beginLoop);
    log->clear();
    s->testCurrent();
    EXPECT_EQ(log->names(), (Names{"reset", "unprepare", "prepare", "setVolume", "write"}));
    EXPECT_EQ(log->calls[2].headerSeen.data, s->state().playBuffer->data());
    log->clear();
    s->cancel();
    EXPECT_EQ(log->names(), (Names{"reset", "unprepare"}));
    EXPECT_FALSE(s->state().playBuffer);
    s->cancel();  // nothing queued: the device is not touched
    EXPECT_EQ(log->names().size(), 2u);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(EditSessionTest, ExportWritesTheBankSampleOrTheNewlyChosenFileWithItsOwnFormat) {
    auto s = open(0);
    const std::string out = dir / "out.wav";
    EXPECT_EQ(s->exportWav(out), WavError::None);
    const auto bytes = fixtures::readBytes(out);
    ASSERT_EQ(bytes.size(), 44u + 40u);
    const Bytes b(bytes.begin(), bytes.end());
    EXPECT_EQ(fixtures::u32At(b, 4), 40u + 36u);
    EXPECT_EQ(fixtures::u16At(b, 20), 1u);
    EXPECT_EQ(fixtures::u16At(b, 22), 1u);
    EXPECT_EQ(fixtures::u32At(b, 24), 22050u);
    EXPECT_EQ(fixtures::u32At(b, 28), 44100u);
    EXPECT_EQ(fixtures::u16At(b, 32), 2u);
    EXPECT_EQ(fixtures::u16At(b, 34), 16u);
    EXPECT_EQ(Bytes(b.begin() + 44, b.end()), patternBytes(40, 1));

    // A new file typed in the box: its data and format block, other chunks dropped.
    fixtures::PcmFormat odd;
    odd.avgBytesPerSec = 12345;
    odd.blockAlign = 7;
    const std::string chosen = dir / "chosen.wav";
    fixtures::writeBytes(chosen, fixtures::WavBuilder()
                                     .chunk("LIST", patternBytes(5, 9))
                                     .format(odd)
                                     .chunk("fact", patternBytes(4, 1))
                                     .data(patternBytes(10, 5))
                                     .bytes());
    view.fileName = chosen;
    EXPECT_EQ(s->exportWav(out), WavError::None);
    const auto again = fixtures::readBytes(out);
    const Bytes a(again.begin(), again.end());
    ASSERT_EQ(a.size(), 44u + 10u);
    EXPECT_EQ(fixtures::u32At(a, 28), 12345u);
    EXPECT_EQ(fixtures::u16At(a, 32), 7u);
    EXPECT_EQ(Bytes(a.begin() + 44, a.end()), patternBytes(10, 5));
    EXPECT_EQ(s->state().pendingPath, chosen);  // the import's checks ran

    view.fileName = dir / "stereo.wav";
    fixtures::PcmFormat stereo;
    stereo.channels = 2;
    wav("stereo.wav", patternBytes(8, 1), stereo);
    s->exportButton(out);
    EXPECT_EQ(view.messages, Names{"Format de .wav non supporté"});
}

TEST_F(EditSessionTest, TheVolumeBoxReadsDigitsUpToASpace) {
    auto s = open(0);
    view.volume = " 300";
    EXPECT_EQ(s->readVolumeField(), 0);
    EXPECT_EQ(view.trackbar, 0);
    view.volume = "300";
    EXPECT_EQ(s->readVolumeField(), 127);
    EXPECT_EQ(view.trackbar, 127);
    EXPECT_EQ(view.volume, "300");  // kept as typed
    view.volume = "12 a";
    EXPECT_EQ(s->readVolumeField(), 12);
    view.volume = "999999999999";
    EXPECT_EQ(s->readVolumeField(), 127);
    view.trackbar = 33;
    for (const char* bad : {"abc", "", "4x"}) {
        view.volume = bad;
        EXPECT_EQ(s->readVolumeField(), 33) << bad;
        EXPECT_EQ(view.volume, "33");
    }
    view.trackbar.reset();
    view.volume = "x";
    EXPECT_EQ(s->readVolumeField(), 90);  // the resource's volume
    EXPECT_EQ(view.trackbar, 90);
}

TEST_F(EditSessionTest, OkWithTheSameFileStoresOnlyTheVolumeAndCancelNothing) {
    int changes = 0;
    bankA->addChangeListener([&](bank::SoundResource&) { ++changes; });
    auto s = open(0);
    view.volume = "77";
    s->cancel();
    EXPECT_EQ(bankA->resourceAt(0)->volume(), 90);
    EXPECT_EQ(changes, 0);
    s = open(0);
    ASSERT_TRUE(s->ok());
    EXPECT_EQ(bankA->resourceAt(0)->volumeOverride(), 90);  // the shown volume becomes the editor's
    EXPECT_EQ(changes, 1);
    s = open(0);
    view.fileName = "  one.wav ";
    ASSERT_TRUE(s->ok());
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(bankA->resourceAt(0)->isReplaced());
}

TEST_F(EditSessionTest, OkWithATypedFileChecksItAndCommitsIt) {
    auto s = open(0);
    fixtures::PcmFormat stereo;
    stereo.channels = 2;
    view.fileName = wav("stereo.wav", patternBytes(8, 1), stereo);
    EXPECT_FALSE(s->ok());
    EXPECT_EQ(view.messages, Names{"Format de .wav non supporté"});
    EXPECT_FALSE(bankA->resourceAt(0)->isReplaced());

    const std::string file = wav("typed.wav", patternBytes(22, 4));
    view.fileName = file;
    ASSERT_TRUE(s->ok());
    const auto& r = *bankA->resourceAt(0);
    EXPECT_TRUE(r.isReplaced());
    EXPECT_EQ(r.dataSize(), 20u);
    EXPECT_EQ(r.replacementPath(), file);

    // Opened on that replacement, browsing, then typing the bank's own name
    // back commits the browsed file; on a fresh resource the same box is
    // simply not edited.
    auto t = open(0);
    const std::string browsed = wav("browsed.wav", patternBytes(12, 4));
    t->browse(browsed);
    view.fileName = "one.wav";
    ASSERT_TRUE(t->ok());
    EXPECT_EQ(bankA->resourceAt(0)->replacementPath(), browsed);
    EXPECT_EQ(bankA->resourceAt(0)->dataSize(), 12u);
    auto u = open(1);
    u->browse(browsed);
    view.fileName = "two.wav";
    ASSERT_TRUE(u->ok());
    EXPECT_FALSE(bankA->resourceAt(1)->isReplaced());
}

TEST_F(EditSessionTest, ANewFileForAPastedResourceDropsItsLink) {
    fixtures::BankSpec other;
    other.resources = {sample(9, patternBytes(16, 9), "NINE.WAV")};
    auto bankB = openBankFile(writeBank(dir, "b.bnm", other));
    const auto yes = [](const UiText&) { return true; };
    // From another bank: the import branch; the key is released.
    ASSERT_EQ(dropResource(*bankB, 0, *bankA, 0, links, strings, yes), DropOutcome::Copied);
    const auto key = bankA->resourceAt(0)->linkKey();
    auto s = open(0);
    view.fileName = wav("mine.wav", patternBytes(8, 2));
    ASSERT_TRUE(s->ok());
    EXPECT_EQ(bankA->resourceAt(0)->linkFlags(), 0u);
    EXPECT_EQ(links.pathOf(key), std::nullopt);
    EXPECT_EQ(bankA->resourceAt(0)->dataSize(), 8u);

    // Within the bank (pasted, not from another bank): the file alone counts.
    ASSERT_EQ(dropResource(*bankA, 0, *bankA, 1, links, strings, yes), DropOutcome::Copied);
    EXPECT_EQ(bankA->resourceAt(1)->linkFlags(), static_cast<std::uint32_t>(bank::pasted | bank::sourceIsPlainFile));
    auto t = open(1);
    view.fileName = wav("yours.wav", patternBytes(12, 3));
    ASSERT_TRUE(t->ok());
    EXPECT_EQ(bankA->resourceAt(1)->linkFlags(), 0u);
    EXPECT_EQ(bankA->resourceAt(1)->dataSize(), 12u);
    EXPECT_EQ(links.size(), 0u);  // its key went with the paste

    // "Reset" and OK give a paste up as well, key included.
    ASSERT_EQ(dropResource(*bankB, 0, *bankA, 1, links, strings, yes), DropOutcome::Copied);
    auto u = open(1);
    u->reset();
    ASSERT_TRUE(u->ok());
    EXPECT_EQ(bankA->resourceAt(1)->linkFlags(), 0u);
    EXPECT_EQ(links.size(), 0u);
}

TEST_F(EditSessionTest, TheResourcesOwnSampleIsWhatOkWouldLeaveWhereverItLies) {
    const auto exported = [&](std::size_t index) {
        auto s = open(index);
        const std::string out = dir / "out.wav";
        EXPECT_EQ(s->exportWav(out), WavError::None);
        const auto bytes = fixtures::readBytes(out);
        return bytes.size() < 44 ? Bytes{} : Bytes(bytes.begin() + 44, bytes.end());
    };
    // A WAV file chosen in an earlier dialog and not yet saved.
    {
        auto s = open(0);
        s->browse(wav("pending.wav", patternBytes(14, 6)));
        ASSERT_TRUE(s->ok());
    }
    EXPECT_EQ(exported(0), patternBytes(12, 6));
    // Pasted from another bank's external area, then that paste pasted on.
    fixtures::BankSpec other;
    other.resources = {sample(8, patternBytes(4, 8), "E.WAV"), sample(9, patternBytes(20, 9), "b.bnm", true)};
    auto bankB = openBankFile(writeBank(dir, "b.bnm", other));
    const auto yes = [](const UiText&) { return true; };
    ASSERT_EQ(dropResource(*bankB, 1, *bankA, 1, links, strings, yes), DropOutcome::Copied);
    EXPECT_EQ(exported(1), patternBytes(20, 9));
    // Pasted from the pending WAV file of another resource.
    ASSERT_EQ(dropResource(*bankA, 0, *bankA, 1, links, strings, yes), DropOutcome::Copied);
    EXPECT_EQ(exported(1), patternBytes(12, 6));
    // "Reset": the bank's own bytes again, before OK.
    auto s = open(1);
    s->reset();
    const std::string out = dir / "reset.wav";
    EXPECT_EQ(s->exportWav(out), WavError::None);
    const auto bytes = fixtures::readBytes(out);
    EXPECT_EQ(Bytes(bytes.begin() + 44, bytes.end()), patternBytes(24, 2));
}

TEST_F(EditSessionTest, NoSourceFileFoundMeansNoSampleData) {
    fixtures::BankSpec k7;
    k7.k7 = true;
    k7.resources = {sample(1, {}, "K2.RAW", true)};
    k7.resources[0].stored = 0;
    k7.resources[0].dataSize = 64;
    auto bank = openBankFile(writeBank(dir, "k.bnm", k7));
    ResourceEditSession s(view, links, strings);
    s.bind(*bank->resourceAt(0), *bank, &link);
    ASSERT_TRUE(s.initialise());
    s.exportButton(dir / "x.wav");
    s.testCurrent();
    EXPECT_EQ(view.messages, (Names{"Son trop volumineux", "Son trop volumineux"}));
    EXPECT_TRUE(log->calls.empty());
}

TEST_F(EditSessionTest, OnlySamplesNamingAFileOpenTheDialog) {
    bank::SoundResource cd;
    cd.record().setWord(bank::ResourceRecord::kindAt, 3);
    EXPECT_FALSE(ResourceEditSession::opensDialogFor(cd));
    bank::SoundResource none;
    none.record().setWord(bank::ResourceRecord::kindAt, 1);
    none.record().setFileName("xxxxxxxxxxxx");
    EXPECT_FALSE(ResourceEditSession::opensDialogFor(none));
    EXPECT_TRUE(ResourceEditSession::opensDialogFor(*bankA->resourceAt(0)));
    ResourceEditSession unbound(view, links, strings);
    EXPECT_FALSE(unbound.initialise());
    EXPECT_FALSE(unbound.ok());
}

}  // namespace
}  // namespace calyx::editor
