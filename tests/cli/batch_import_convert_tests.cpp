// `calyx-cli import --convert`: a WAV file of another format is converted,
// imported under its own file name, and saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "batch_cli_runner.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"
#include "fixtures/wine_prefix.h"

namespace calyx::cli {
namespace {

using nlohmann::json;
using testing::runCli;

TEST(BatchImportConvert, ConvertsIntoAPrivateCopyThatKeepsTheFileName) {
    fixtures::WinePrefix prefix;
    fixtures::TempDir dir, temp;
    fixtures::ScopedEnv tmpdir("TMPDIR", temp.path());
    fixtures::BankSpec spec;
    fixtures::ResourceSpec horn;
    horn.id = 7;
    horn.data = fixtures::patternBytes(400, 1);
    horn.fileName = "HORN.WAV";
    spec.resources = {horn};
    const std::string bank = dir / "Snd.bnm";
    fixtures::writeBytes(bank, fixtures::buildBank(spec));
    fixtures::writeFile(dir / "Snd.bns", fixtures::companionText({{7, "Horn", ""}}));
    // 0.1 s of 44100 Hz stereo: 2205 frames once converted.
    std::vector<std::int16_t> frames;
    for (int i = 0; i < 4410; ++i) {
        frames.push_back(static_cast<std::int16_t>(i % 100 * 100));
        frames.push_back(static_cast<std::int16_t>(-(i % 100) * 100));
    }
    const std::string input = dir / "NewHorn.wav";
    fixtures::writeBytes(input, fixtures::simpleWav(fixtures::pcm16(frames), {1, 2, 44100, 176400, 4, 16}));

    auto run = runCli({"import", bank, "0", input});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("it must be 22 kHz, mono, 16-bit"), std::string::npos) << run.err;  // the editor's refusal

    run = runCli({"import", "--convert", bank, "0", input});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("converted " + input + " from 44100 Hz, stereo, 16-bit integer"), std::string::npos)
        << run.out;
    const json rows = json::parse(runCli({"list", "--json", bank}).out);
    EXPECT_EQ(rows[0]["fileName"], "NewHorn.wav");
    EXPECT_EQ(rows[0]["dataSize"], 4408);  // 2205 frames, cut to a multiple of 4 bytes
    // The converted copy is gone (calyx-cli.exe makes it in the Windows
    // temporary folder, and Wine keeps a folder of its own in TMPDIR).
    if (!fixtures::testingWindowsPrograms()) {
        EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
    }

    ASSERT_EQ(runCli({"export", bank, "0", dir / "back.wav"}).exitCode, 0);
    const auto back = fixtures::readBytes(dir / "back.wav");
    EXPECT_EQ(fixtures::u16At(back, 22), 1u);
    EXPECT_EQ(fixtures::u32At(back, 24), 22050u);
    EXPECT_EQ(fixtures::u32At(back, 40), 4408u);

    run = runCli({"import", "--convert", bank, "0", dir / "missing.wav"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("missing.wav: cannot be opened"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace calyx::cli
