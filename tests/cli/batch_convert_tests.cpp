// `calyx-cli convert`: what the user sees of a conversion.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "batch_cli_runner.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"
#include "fixtures/wine_prefix.h"

namespace calyx::cli {
namespace {

using testing::runCli;

TEST(BatchConvert, SaysWhatItConvertedFrom) {
    if (std::system("command -v sox >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
    fixtures::WinePrefix prefix;
    fixtures::TempDir dir;
    const std::string command = "sox -n -r 44100 -c 2 -b 24 '" + (dir / "in.wav") + "' synth 0.2 sine 440";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto run = runCli({"convert", dir / "in.wav", dir / "out.wav"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("converted from 44100 Hz, stereo, 24-bit integer to 22050 Hz, mono, 16-bit"),
              std::string::npos)
        << run.out;
    const auto out = fixtures::readBytes(dir / "out.wav");
    ASSERT_GE(out.size(), 44u);
    EXPECT_EQ(fixtures::u32At(out, 24), 22050u);
    EXPECT_EQ(fixtures::u16At(out, 22), 1u);
    EXPECT_NEAR(static_cast<double>(fixtures::u32At(out, 40)), 4410.0 * 2, 2.0);
}

TEST(BatchConvert, RefusalsAndUsage) {
    fixtures::WinePrefix prefix;
    fixtures::TempDir dir;
    fixtures::writeBytes(dir / "adpcm.wav", fixtures::simpleWav(fixtures::pcm16({1, 2}), {2, 1, 22050, 44100, 2, 16}));
    auto run = runCli({"convert", dir / "adpcm.wav", dir / "out.wav"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("adpcm.wav: not a WAV file of PCM or float samples"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.wav"));

    run = runCli({"convert", dir / "adpcm.wav", dir / "out.raw"});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    run = runCli({"convert", dir / "adpcm.wav"});
    EXPECT_EQ(run.exitCode, 2) << run.err;
}

}  // namespace
}  // namespace calyx::cli
