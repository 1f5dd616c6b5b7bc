// `calyx-cli import-all`: a folder exported by export-all, some files
// edited, put back; the rest of the bank as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "batch_cli_runner.h"
#include "fixtures/bank_builder.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"
#include "fixtures/wine_prefix.h"

namespace calyx::cli {
namespace {

using fixtures::Bytes;
using fixtures::sample;
using testing::runCli;

// The WAV files of a folder, by name.
std::map<std::string, Bytes> wavFilesOf(const std::string& folder) {
    std::map<std::string, Bytes> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename()] = fixtures::readBytes(entry.path().string());
    return files;
}

Bytes editorWav(const Bytes& sample) { return fixtures::WavBuilder().format().data(sample).bytes(); }

class ImportAll : public ::testing::TestWithParam<bool> {
protected:
    ImportAll() {
        fixtures::makeDirs(game_ / "Datab/Resson");
        fixtures::BankSpec spec;
        spec.k7 = GetParam();
        auto& r = spec.resources;
        r.push_back(sample(10, fixtures::patternBytes(1000, 1), "ENGINE.WAV"));
        r.push_back(sample(11, fixtures::patternBytes(202, 2), "HORN.WAV"));
        r.push_back(fixtures::cdTrack());
        r.push_back(sample(13, fixtures::patternBytes(300, 5), "SKID.WAV"));
        fixtures::writeBytes(bank(), fixtures::buildBank(spec));
        original_ = fixtures::readBytes(bank());
    }

    std::string bank() const { return game_ / "Datab/Resson/Snd.bnm"; }

    fixtures::WinePrefix prefix_;
    fixtures::TempDir game_;
    fixtures::TempDir out_;
    Bytes original_;
};

TEST_P(ImportAll, AnUneditedExportChangesNothingAndEditedFilesComeBackExactly) {
    const std::string folder = out_ / "sounds";
    ASSERT_EQ(runCli({"export-all", bank(), folder}).exitCode, 0);
    const auto exported = wavFilesOf(folder);
    ASSERT_EQ(exported.size(), 3u);

    // Nothing edited: nothing replaced, the bank byte for byte as it was.
    auto run = runCli({"import-all", bank(), folder});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("replaced 0, unchanged 3, skipped 0, refused 0"), std::string::npos) << run.out;
    EXPECT_EQ(fixtures::readBytes(bank()), original_);

    // Two files edited in an audio editor; a note and a stray file beside them.
    const std::string horn = folder + "/1_HORN.wav", skid = folder + "/3_SKID.wav";
    ASSERT_TRUE(exported.count("1_HORN.wav") && exported.count("3_SKID.wav"));
    fixtures::writeBytes(horn, editorWav(fixtures::patternBytes(500, 9)));
    fixtures::writeBytes(skid, editorWav(fixtures::patternBytes(40, 7)));
    fixtures::writeFile(folder + "/readme.wav", "not a sound");
    fixtures::writeBytes(folder + "/2.wav", editorWav(fixtures::patternBytes(40, 3)));
    const auto edited = wavFilesOf(folder);

    // A dry run says so and changes nothing.
    run = runCli({"import-all", bank(), folder, "--dry-run"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("would replace 1_HORN.wav (resource 1)"), std::string::npos) << run.out;
    EXPECT_EQ(fixtures::readBytes(bank()), original_);

    run = runCli({"import-all", bank(), folder});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("skipped 2.wav: resource 2 is not a sample"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("skipped readme.wav"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("replaced 2, unchanged 1, skipped 2, refused 0; saved"), std::string::npos) << run.out;

    // Exported again: exactly the edited files, under the names they had.
    const std::string again = out_ / "again";
    ASSERT_EQ(runCli({"export-all", bank(), again}).exitCode, 0);
    const auto back = wavFilesOf(again);
    ASSERT_EQ(back.size(), 3u);
    for (const auto& [name, bytes] : back) EXPECT_EQ(bytes, edited.at(name)) << name;
    // The records keep their own file names, not the export's working names.
    run = runCli({"list", bank()});
    EXPECT_NE(run.out.find("HORN.WAV"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("1_HORN"), std::string::npos) << run.out;
}

TEST_P(ImportAll, ARefusedFileStopsNoOtherAndFailsTheRun) {
    const std::string folder = out_ / "sounds";
    fixtures::makeDirs(folder);
    // 44.1 kHz stereo: refused by the WAV rule, taken with --convert.
    fixtures::writeBytes(folder + "/0_ENGINE.wav",
                         fixtures::WavBuilder().format({1, 2, 44100, 176400, 4, 16}).data(fixtures::patternBytes(400, 4)).bytes());
    fixtures::writeBytes(folder + "/1_HORN.wav", editorWav(fixtures::patternBytes(64, 8)));
    auto run = runCli({"import-all", bank(), folder});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("refused 0_ENGINE.wav"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("--convert converts it"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("replaced 1, unchanged 0, skipped 0, refused 1; saved"), std::string::npos) << run.out;
    EXPECT_NE(fixtures::readBytes(bank()), original_);

    run = runCli({"import-all", bank(), folder, "--convert"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("replaced 0_ENGINE.wav (resource 0)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("unchanged 1_HORN.wav"), std::string::npos) << run.out;

    EXPECT_EQ(runCli({"import-all", bank()}).exitCode, 2);
    EXPECT_EQ(runCli({"import-all", bank(), out_ / "no-such-folder"}).exitCode, 1);
}

TEST_P(ImportAll, ARecordedNameNeverLeadsOutOfThePrivateFolder) {
    // A bank whose record names a file up two folders: the copy it is
    // taken from stays in the private folder, under the plain name.
    fixtures::BankSpec spec;
    spec.k7 = GetParam();
    spec.resources.push_back(sample(10, fixtures::patternBytes(100, 1), "..\\..\\Q7Z.WAV"));
    fixtures::writeBytes(bank(), fixtures::buildBank(spec));
    const std::string folder = out_ / "sounds";
    fixtures::makeDirs(folder);
    fixtures::writeBytes(folder + "/0_x.wav", editorWav(fixtures::patternBytes(64, 8)));
    const auto run = runCli({"import-all", bank(), folder});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("replaced 0_x.wav"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() / "Q7Z.WAV"));
    EXPECT_NE(runCli({"list", bank()}).out.find("Q7Z.WAV"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothGames, ImportAll, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? std::string("FirstGame") : std::string("SecondGame"); });

}  // namespace
}  // namespace calyx::cli
