// `calyx-cli export-all`: every sample with data, as a WAV file named after
// the resource, holding the sample's bytes unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "batch_cli_runner.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"
#include "fixtures/wine_prefix.h"

namespace calyx::cli {
namespace {

using fixtures::Bytes;
using fixtures::sample;
using testing::runCli;

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// The canonical 44-byte header of the editor's format followed by `sample`.
Bytes exportedWav(const Bytes& sample) {
    Bytes expected = fixtures::WavBuilder().format().data(sample).bytes();
    expected.resize(44 + sample.size());  // no pad byte after an odd sample
    return expected;
}

class BatchExport : public ::testing::Test {
protected:
    BatchExport() {
        fixtures::makeDirs(game_ / "Datab/Resson");
        fixtures::BankSpec spec;
        auto& r = spec.resources;
        r.push_back(sample(10, fixtures::patternBytes(1000, 1), "ENGINE.WAV"));
        r.push_back(sample(11, fixtures::patternBytes(202, 2), "HORN.WAV"));
        r.push_back(fixtures::cdTrack());
        fixtures::ResourceSpec empty;
        empty.kind = 0;
        empty.stored = 0;
        r.push_back(empty);
        r.push_back(sample(14, fixtures::patternBytes(64, 4), "xxxxxxxxxxxx"));
        r.push_back(sample(15, fixtures::patternBytes(300, 5), "CROWD.WAV", true));
        for (const auto& resource : r) samples_.push_back(resource.data);
        fixtures::writeBytes(bank(), fixtures::buildBank(spec));
        // Resource 11 and 14 have no name: the file name, then nothing, stands in.
        fixtures::writeFile(game_ / "Datab/Resson/Snd.bns",
                            fixtures::companionText({{10, "Engine idle/1", "loop"}, {15, "Crowd", ""}}));
    }

    std::string bank() const { return game_ / "Datab/Resson/Snd.bnm"; }

    fixtures::WinePrefix prefix_;
    fixtures::TempDir game_;
    fixtures::TempDir out_;
    std::vector<Bytes> samples_;
};

TEST_F(BatchExport, WritesEverySampleWithDataUnderASafeName) {
    const std::string folder = out_ / "new/samples";  // made when missing
    const auto run = runCli({"export-all", bank(), folder});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"0_Engine_idle_1.wav", "1_HORN.wav", "4.wav", "5_Crowd.wav"}));
    EXPECT_EQ(fixtures::readBytes(folder + "/0_Engine_idle_1.wav"), exportedWav(samples_[0]));
    EXPECT_EQ(fixtures::readBytes(folder + "/1_HORN.wav"), exportedWav(samples_[1]));
    EXPECT_EQ(fixtures::readBytes(folder + "/4.wav"), exportedWav(samples_[4]));
    EXPECT_EQ(fixtures::readBytes(folder + "/5_Crowd.wav"), exportedWav(samples_[5]));  // external area
    EXPECT_NE(run.out.find(fixtures::shownPath(folder + "/1_HORN.wav") + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("exported 4 samples"), std::string::npos) << run.err;
}

TEST_F(BatchExport, ReplacesEarlierExportsWholeAndLeavesNoTemporaryFile) {
    const std::string folder = out_.path();
    fixtures::writeFile(folder + "/1_HORN.wav", std::string(5000, 'x'));
    const auto run = runCli({"export-all", bank(), folder});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(fixtures::readBytes(folder + "/1_HORN.wav"), exportedWav(samples_[1]));
    EXPECT_EQ(filesIn(folder).size(), 4u);
}

TEST_F(BatchExport, FailuresAndUsageErrorsHaveTheirExitCodes) {
    auto run = runCli({"export-all", game_ / "Datab/Resson/None.bnm", out_.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("None.bnm: no such sound bank"), std::string::npos) << run.err;

    fixtures::writeFile(out_ / "plain", "a file where the folder should be");
    run = runCli({"export-all", bank(), out_ / "plain"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot be created"), std::string::npos) << run.err;

    run = runCli({"export-all", bank()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("FOLDER"), std::string::npos) << run.err;
}

// A sample of the first game kept in a file of its own is read from the
// game folders; one whose file is missing is reported and the rest go on.
TEST(BatchExportOwnFiles, SamplesOutsideTheBankComeFromTheGameFolders) {
    fixtures::WinePrefix prefix;
    fixtures::TempDir game, out;
    fixtures::makeDirs(game / "K7/K7datab/Resson");
    const Bytes own = fixtures::patternBytes(400, 9);
    fixtures::writeBytes(game / "K7/K7datab/Resson/SKID.RAW", own);
    fixtures::BankSpec spec;
    spec.k7 = true;
    auto skid = sample(1, {}, "SKID.RAW", true);
    skid.dataSize = static_cast<std::uint32_t>(own.size());
    auto gone = sample(2, {}, "GONE.RAW", true);
    gone.dataSize = 100;
    spec.resources = {skid, gone, sample(3, fixtures::patternBytes(50, 3), "BEEP.WAV")};
    const std::string bank = game / "K7/K7datab/Resson/K7.bnm";
    fixtures::writeBytes(bank, fixtures::buildBank(spec));

    const auto run = runCli({"export-all", bank, out.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("resource 1: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("(no sample data: its file \"GONE.RAW\" is not in the game folders)"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("1 sample(s) could not be exported"), std::string::npos) << run.err;
    EXPECT_EQ(filesIn(out.path()), (std::set<std::string>{"0_SKID.RAW.wav", "2_BEEP.wav"}));
    EXPECT_EQ(fixtures::readBytes(out / "0_SKID.RAW.wav"), exportedWav(own));
}

}  // namespace
}  // namespace calyx::cli
