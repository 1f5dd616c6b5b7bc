// WAV files dropped from the file manager on a row: the question, the first
// file through the dialog's drop and OK, refusals that change nothing, and
// the offer to convert a file refused for its format.
#include <gtest/gtest.h>

#include <filesystem>

#include "audio/wav_convert.h"
#include "editor/core/converted_copies.h"
#include "editor/core/headless_dialog_view.h"
#include "editor/core/resource_edit_session.h"
#include "editor/core/wav_file_drop.h"
#include "edit_test_support.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using test::Bytes;

class WavFileDropTest : public ::testing::Test {
protected:
    fixtures::TempDir dir_;
    LinkTable links_;
    GameStrings strings_;
    HeadlessDialogView view_;
    std::vector<std::string> questions_;
    bool answer_ = true;
    std::unique_ptr<bank::SoundBank> bank_;

    void SetUp() override {
        bank_ = test::openBankFile(test::writeBank(dir_, "drop.bnm", test::twoSamplesAndACdTrack("THREE.WAV", false)));
    }
    std::string wav(const std::string& name, const Bytes& samples, const fixtures::PcmFormat& format = {}) {
        const std::string path = dir_ / name;
        fixtures::writeBytes(path, fixtures::simpleWav(samples, format));
        return path;
    }
    FileDropOutcome drop(std::size_t index, const std::vector<std::string>& paths, const ConversionOffer& offer = {}) {
        return dropWavFiles(*bank_, index, paths, links_, strings_,
                            [this](const UiText& question) {
                                questions_.push_back(question.utf8());
                                return answer_;
                            },
                            view_, offer);
    }
};

TEST_F(WavFileDropTest, TheFirstFileBecomesThePendingReplacementAfterThePastesQuestion) {
    const std::string first = wav("first.wav", fixtures::patternBytes(42, 7));
    const std::string second = wav("second.wav", fixtures::patternBytes(80, 8));
    EXPECT_EQ(drop(1, {first, second}), FileDropOutcome::Replaced);
    EXPECT_EQ(questions_, (std::vector<std::string>{"Voulez-vous remplacer res2 par le fichier first.wav ?"}));
    EXPECT_TRUE(view_.messages.empty());
    const bank::SoundResource& r = *bank_->resourceAt(1);
    EXPECT_TRUE(r.isReplaced());
    EXPECT_EQ(r.replacementPath(), first);
    EXPECT_EQ(r.currentSize(), 40u);  // whole 4-byte groups, as the dialog takes them
}

TEST_F(WavFileDropTest, ANameTooLongForTheRecordIsTakenWithAWordOfWarning) {
    const std::string longName = wav("listchunk.wav", fixtures::patternBytes(40, 3));
    EXPECT_EQ(drop(1, {longName}), FileDropOutcome::Replaced);
    EXPECT_EQ(view_.messages, (std::vector<std::string>{"La banque ne garde que 12 caractères du nom de fichier : "
                                                        "elle enregistrera « listchunk.wa »."}));
    view_.messages.clear();
    EXPECT_EQ(drop(0, {wav("twelve12.wav", fixtures::patternBytes(40, 3))}), FileDropOutcome::Replaced);
    EXPECT_TRUE(view_.messages.empty());
}

TEST_F(WavFileDropTest, RefusedFilesAndCancelLeaveTheResourceAsItWas) {
    const std::string text = dir_ / "notes.txt";
    fixtures::writeFile(text, "not a sound");
    const std::string stereo = wav("stereo.wav", fixtures::patternBytes(64, 1), {1, 2, 22050, 88200, 4, 16});
    const std::string good = wav("good.wav", fixtures::patternBytes(64, 2));

    EXPECT_EQ(drop(0, {text}), FileDropOutcome::NotTaken);
    EXPECT_EQ(drop(0, {stereo}), FileDropOutcome::NotTaken);
    EXPECT_EQ(drop(0, {(dir_ / "gone.wav")}), FileDropOutcome::NotTaken);
    EXPECT_EQ(view_.messages, (std::vector<std::string>{
                                  "Vous ne pouvez entrer que des fichiers .Wav",
                                  "format du .wav non supporté (doit être en 22 kHz mono 16 bits)",
                                  "Le fichier n'existe pas",
                              }));
    answer_ = false;
    EXPECT_EQ(drop(0, {good}), FileDropOutcome::Cancelled);
    EXPECT_FALSE(bank_->resourceAt(0)->isReplaced());
    EXPECT_EQ(bank_->resourceAt(0)->volumeOverride(), -1);  // not even the volume was touched

    // No question for what takes no file: the CD track, nothing dropped, a bank being saved.
    questions_.clear();
    EXPECT_EQ(drop(3, {good}), FileDropOutcome::Refused);
    EXPECT_EQ(drop(0, {}), FileDropOutcome::Refused);
    bank_->raiseSavesInProgress();
    EXPECT_EQ(drop(0, {good}), FileDropOutcome::Refused);
    bank_->lowerSavesInProgress();
    EXPECT_TRUE(questions_.empty());
}

TEST_F(WavFileDropTest, FilesOverTheListMeanAReplacementOnASampleAndBanksBesideTheRows) {
    EXPECT_EQ(fileDragMeaning(*bank_, bank_->resourceAt(0), "/sounds/horn.WAV"), FileDragMeaning::ReplaceSample);
    EXPECT_EQ(fileDragMeaning(*bank_, bank_->resourceAt(3), "/sounds/horn.wav"), FileDragMeaning::NoDrop);
    EXPECT_EQ(fileDragMeaning(*bank_, nullptr, "/banks/a.bnm"), FileDragMeaning::OpenAsBanks);
    // A file that is no WAV file by its name is refused at once, not after the question.
    EXPECT_EQ(fileDragMeaning(*bank_, bank_->resourceAt(0), "/notes/readme.txt"), FileDragMeaning::NoDrop);
}

TEST_F(WavFileDropTest, AFileRefusedForItsFormatIsConvertedOnlyWhenTheUserSaysYes) {
    Bytes stereo;
    for (int i = 0; i < 4410; ++i) {
        const auto value = static_cast<std::int16_t>((i % 100) * 300 - 15000);
        for (const std::int16_t s : {value, value}) {
            stereo.push_back(static_cast<std::uint8_t>(s & 0xFF));
            stereo.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
        }
    }
    const std::string original = wav("loud44k.wav", stereo, {1, 2, 44100, 176400, 4, 16});
    const Bytes originalBytes = fixtures::readBytes(original);
    ConvertedCopies copies(dir_ / "cache");
    std::vector<std::string> asked;
    bool yes = false;
    const ConversionOffer offer = makeConversionOffer(
        copies, InterfaceLanguage::English,
        [&](const UiText& question) {
            asked.push_back(question.utf8());
            return yes;
        },
        [this](const UiText& message) { view_.messages.push_back(message.utf8()); });

    // No: the refusal was in the question; nothing else is said or changed.
    EXPECT_EQ(drop(0, {original}, offer), FileDropOutcome::NotTaken);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "format du .wav non supporté (doit être en 22 kHz mono 16 bits)\n\n"
                        "Convert a copy of the file to 22 kHz mono 16 bits? The original file is not changed.");
    EXPECT_TRUE(view_.messages.empty());
    EXPECT_TRUE(copies.empty());
    EXPECT_FALSE(bank_->resourceAt(0)->isReplaced());

    // Yes: a private copy under the original's name replaces the sample.
    yes = true;
    EXPECT_EQ(drop(0, {original}, offer), FileDropOutcome::Replaced);
    const bank::SoundResource& r = *bank_->resourceAt(0);
    ASSERT_TRUE(r.replacementPath());
    const std::string copy = *r.replacementPath();
    EXPECT_NE(copy, original);
    EXPECT_EQ(std::filesystem::path(copy).filename(), "loud44k.wav");
    EXPECT_EQ(ConvertedCopies::originalOf(copy), original);
    audio::SampleFormat format;
    ASSERT_EQ(audio::readSampleFormat(copy, format), audio::ConvertResult::Ok);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.sampleRate, 22050u);
    EXPECT_EQ(r.currentSize(), (format.frames * 2) & ~std::uint64_t{3});
    EXPECT_EQ(fixtures::readBytes(original), originalBytes);

    // The copy lives until its owner lets go.
    copies.discardAll();
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(ConvertedCopies::originalOf(copy));
}

TEST_F(WavFileDropTest, OnlyWavFilesTheConverterReadsAreOffered) {
    const std::string broken = dir_ / "broken.wav";
    fixtures::writeBytes(broken, fixtures::WavBuilder().format({3, 1, 22050, 88200, 4, 32}).bytes());  // no data
    const std::string adpcm = wav("adpcm.wav", fixtures::patternBytes(64, 3), {2, 1, 22050, 11025, 512, 4});
    ConvertedCopies copies(dir_ / "cache");
    int asked = 0;
    const ConversionOffer offer =
        makeConversionOffer(copies, InterfaceLanguage::French, [&](const UiText&) { return ++asked, true; }, {});
    EXPECT_EQ(drop(0, {adpcm}, offer), FileDropOutcome::NotTaken);
    EXPECT_EQ(drop(0, {broken}, offer), FileDropOutcome::NotTaken);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(view_.messages.size(), 2u);  // the refusals, as without the offer
}

TEST_F(WavFileDropTest, APathTypedInTheDialogIsOfferedAtOkAndItsCopyCommitted) {
    const std::string mono8k = wav("slow.wav", fixtures::patternBytes(800, 4), {1, 1, 8000, 16000, 2, 16});
    ConvertedCopies copies(dir_ / "cache");
    const ConversionOffer offer =
        makeConversionOffer(copies, InterfaceLanguage::French, [](const UiText&) { return true; }, {});
    ResourceEditSession session(view_, links_, strings_);
    session.setConversionOffer(offer);
    session.bind(*bank_->resourceAt(0), *bank_, nullptr);
    ASSERT_TRUE(session.initialise());
    view_.fileName = mono8k;
    EXPECT_TRUE(session.ok());
    EXPECT_TRUE(view_.messages.empty());
    const bank::SoundResource& r = *bank_->resourceAt(0);
    ASSERT_TRUE(r.replacementPath());
    EXPECT_EQ(ConvertedCopies::originalOf(*r.replacementPath()), mono8k);
    // The box shows the user's file, not the private copy that OK took.
    EXPECT_EQ(view_.fileName, mono8k);

    // Opened again, the dialog shows the user's file, and OK keeps the copy
    // without asking again.
    int asked = 0;
    ResourceEditSession again(view_, links_, strings_);
    again.setConversionOffer(
        makeConversionOffer(copies, InterfaceLanguage::French, [&asked](const UiText&) { return ++asked, true; }, {}));
    again.bind(*bank_->resourceAt(0), *bank_, nullptr);
    ASSERT_TRUE(again.initialise());
    EXPECT_EQ(view_.fileName, mono8k);
    const std::string copy = *r.replacementPath();
    EXPECT_TRUE(again.ok());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(r.replacementPath(), copy);
}

}  // namespace
}  // namespace calyx::editor
