// Which file of a folder goes to which resource, and what a WAV file holds.
#include "editor/core/folder_import.h"

#include <gtest/gtest.h>

#include "fixtures/bank_builder.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"

namespace calyx::editor {
namespace {

TEST(FolderImport, NamesAsExportAllWritesThemGiveTheirIndex) {
    EXPECT_EQ(exportedIndexOf("12_Horn.wav"), 12u);
    EXPECT_EQ(exportedIndexOf("0_EngineIdle.WAV"), 0u);
    EXPECT_EQ(exportedIndexOf("7.wav"), 7u);
    EXPECT_EQ(exportedIndexOf("007_x_y.wav"), 7u);
    for (const char* other : {"Horn.wav", "12Horn.wav", "_12.wav", "12_Horn.wa", "12", ".wav", "1234567890_big.wav"})
        EXPECT_EQ(exportedIndexOf(other), std::nullopt) << other;
}

TEST(FolderImport, TheFolderIsReadInIndexOrderWithOtherFilesLast) {
    fixtures::TempDir dir;
    // A file named just ".wav" is no WAV file, as everywhere in the editor.
    for (const char* name : {"10_b.wav", "2_a.WAV", "notes.txt", "zz.wav", "2.wav", "a.wav", ".wav"})
        fixtures::writeFile(dir / name, "x");
    fixtures::makeDirs(dir / "3_folder.wav");
    const auto files = wavFilesIn(dir.path());
    ASSERT_TRUE(files);
    std::vector<std::string> names;
    for (const auto& f : *files) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"2.wav", "2_a.WAV", "10_b.wav", "a.wav", "zz.wav"}));
    EXPECT_FALSE(wavFilesIn(dir / "missing"));
}

TEST(FolderImport, TheSoundOfAFileIsItsWholeDataChunk) {
    fixtures::TempDir dir;
    const fixtures::Bytes sound = fixtures::patternBytes(100, 3);
    const auto bytes = fixtures::WavBuilder().format().data(sound).bytes();
    fixtures::writeBytes(dir / "ok.wav", bytes);
    EXPECT_EQ(soundBytesOf(dir / "ok.wav", 1000), sound);
    // Cut short, larger than allowed, or no WAV at all: nothing.
    fixtures::writeBytes(dir / "cut.wav", fixtures::Bytes(bytes.begin(), bytes.end() - 10));
    EXPECT_FALSE(soundBytesOf(dir / "cut.wav", 1000));
    EXPECT_FALSE(soundBytesOf(dir / "ok.wav", 99));
    fixtures::writeFile(dir / "text.wav", "hello, not a sound");
    EXPECT_FALSE(soundBytesOf(dir / "text.wav", 1000));
    EXPECT_FALSE(soundBytesOf(dir / "missing.wav", 1000));
}

TEST(FolderImport, TheSummaryCountsEachOutcome) {
    FolderImportCounts counts;
    for (auto o : {FolderImportOutcome::Replaced, FolderImportOutcome::Replaced, FolderImportOutcome::Skipped,
                   FolderImportOutcome::Refused})
        counts.add(o);
    EXPECT_EQ(folderImportSummary(counts), "replaced 2, unchanged 0, skipped 1, refused 1");
    EXPECT_EQ(folderImportWord(FolderImportOutcome::Replaced, true), "would replace");
}

}  // namespace
}  // namespace calyx::editor
