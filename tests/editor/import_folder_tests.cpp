// File > Import folder... without its windows: a folder exported by export
// all, some files edited, taken back into the open document as one undo
// step; files in another format converted after one question; the summary.
#include <gtest/gtest.h>

#include "edit_test_support.h"
#include "editor/core/bank_document.h"
#include "editor/core/export_all.h"
#include "editor/core/folder_importer.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

using namespace test;
using fixtures::patternBytes;

class ImportFolderTest : public ::testing::Test {
protected:
    ImportFolderTest() {
        fixtures::BankSpec spec;
        spec.resources = {sample(1, patternBytes(40, 1), "ONE.WAV"), sample(2, patternBytes(24, 2), "TWO.WAV"),
                          sample(3, patternBytes(16, 3), "THREE.WAV")};
        path = writeBank(dir, "bank.bnm", spec);
        EXPECT_TRUE(doc.open(path, InstallInfo{}).opened);
        doc.convertedCopies().setBaseFolder(dir / "cache");
        fixtures::makeDirs(folder);
        EXPECT_EQ(exportAllSamples(doc.bank(), folder).exported, 3u);
    }
    FolderImportReport import(bool convert = false) {
        return importFolder(doc, folder, strings, InterfaceLanguage::English, [this, convert](std::size_t count) {
            questions.push_back(count);
            return convert;
        });
    }
    fixtures::Bytes stereo() const {
        std::vector<std::int16_t> frames;
        for (int i = 0; i < 400; ++i) frames.insert(frames.end(), 2, static_cast<std::int16_t>(i * 31 - 6000));
        return fixtures::simpleWav(fixtures::pcm16(frames), {1, 2, 44100, 176400, 4, 16});
    }

    fixtures::TempDir dir;
    std::string path;
    std::string folder = dir / "wavs";
    LinkTable links;
    GameStrings strings;
    BankDocument doc{links};
    std::vector<std::size_t> questions;
};

TEST_F(ImportFolderTest, AnEditedFileComesBackAsOneStepAndTheRestIsLeftAlone) {
    // An unedited export changes nothing: no step, no mark.
    FolderImportReport report = import();
    EXPECT_EQ(folderImportSummary(report.counts), "replaced 0, unchanged 3, skipped 0, refused 0");
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(doc.history().canUndo());

    const fixtures::Bytes edited = patternBytes(60, 9);
    fixtures::writeBytes(dir / "wavs/1_res2.wav", fixtures::simpleWav(edited));
    fixtures::writeBytes(dir / "wavs/2_res3.wav", fixtures::simpleWav(patternBytes(8, 4)));
    fixtures::writeFile(dir / "wavs/notes.wav", "x");
    fixtures::writeFile(dir / "wavs/7_none.wav", "x");
    report = import();
    EXPECT_EQ(folderImportSummary(report.counts), "replaced 2, unchanged 1, skipped 2, refused 0");
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(doc.isModified());
    ASSERT_EQ(doc.history().stepCount(), 1u);
    EXPECT_EQ(undoItemText(*doc.history().undoName(), InterfaceLanguage::English), "&Undo import of folder wavs");

    ASSERT_TRUE(doc.save(path).saved);
    auto saved = openBankFile(path);
    EXPECT_EQ(storedSample(*saved, 0), patternBytes(40, 1));
    EXPECT_EQ(storedSample(*saved, 1), edited);
    EXPECT_EQ(storedSample(*saved, 2), patternBytes(8, 4));
    // Each resource keeps the file name its record holds.
    EXPECT_EQ(saved->resourceAt(1)->listFileName(), "TWO.WAV");

    // One undo takes the whole folder back, after the save too.
    ASSERT_TRUE(doc.undo());
    ASSERT_TRUE(doc.save(path).saved);
    saved = openBankFile(path);
    EXPECT_EQ(storedSample(*saved, 1), patternBytes(24, 2));
    EXPECT_EQ(storedSample(*saved, 2), patternBytes(16, 3));
}

TEST_F(ImportFolderTest, FilesInAnotherFormatAreOfferedForConversionOnceForTheWholeFolder) {
    fixtures::writeBytes(dir / "wavs/0_res1.wav", stereo());
    fixtures::writeBytes(dir / "wavs/1_res2.wav", stereo());
    fixtures::writeFile(dir / "wavs/2_res3.wav", "not a wav file");
    FolderImportReport report = import(false);
    EXPECT_EQ(questions, std::vector<std::size_t>{2});
    EXPECT_EQ(folderImportSummary(report.counts), "replaced 0, unchanged 0, skipped 0, refused 3");
    EXPECT_FALSE(doc.isModified()) << "nothing was replaced";
    const std::string french = folderImportMessage(report, folder, InterfaceLanguage::French);
    EXPECT_EQ(french.substr(0, french.find('\n')), "remplacés 0, inchangés 0, ignorés 0, refusés 3");
    EXPECT_NE(french.find("\n0_res1.wav: "), std::string::npos) << french;
    EXPECT_NE(french.find("\n2_res3.wav: "), std::string::npos) << french;

    questions.clear();
    report = import(true);
    EXPECT_EQ(questions, std::vector<std::size_t>{2});
    EXPECT_EQ(folderImportSummary(report.counts), "replaced 2, unchanged 0, skipped 0, refused 1");
    ASSERT_EQ(report.refused.size(), 1u);
    EXPECT_EQ(report.refused.front().first, "2_res3.wav");
    // The list names the user's files, not the converted copies.
    EXPECT_EQ(*ConvertedCopies::originalOf(*doc.bank().resourceAt(0)->replacementPath()), dir / "wavs/0_res1.wav");
    ASSERT_TRUE(doc.save(path).saved);
    EXPECT_FALSE(storedSample(*openBankFile(path), 0).empty());
}

TEST(ImportFolderMessage, AFolderThatCannotBeReadIsSaid) {
    FolderImportReport report;
    report.folderRead = false;
    EXPECT_EQ(folderImportMessage(report, "/x/y", InterfaceLanguage::English), "The folder /x/y cannot be read.");
}

}  // namespace
}  // namespace calyx::editor
