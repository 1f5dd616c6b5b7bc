// What calyx-cli says: one language per run, the file a message is about
// and the system's reason, and the usage when asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "batch_cli_runner.h"
#include "editor/edit_test_support.h"
#include "fixtures/wav_builder.h"
#include "fixtures/wine_prefix.h"

namespace calyx::cli {
namespace {

namespace fs = std::filesystem;
using namespace editor::test;
using fixtures::patternBytes;
using testing::runCli;

class CliMessages : public ::testing::Test {
protected:
    CliMessages() {
        bank = writeBank(dir, "bank.bnm", twoSamplesAndACdTrack("THREE.WAV", false));
        original = fixtures::readBytes(bank);
        fixtures::PcmFormat stereo;
        stereo.channels = 2;
        fixtures::writeBytes(stereoWav, fixtures::WavBuilder().format(stereo).data(patternBytes(64, 9)).bytes());
    }

    fixtures::WinePrefix prefix;  // no game installed: no game texts
    fixtures::TempDir dir;
    std::string bank;
    std::vector<unsigned char> original;
    std::string stereoWav = dir / "stereo.wav";
};

TEST_F(CliMessages, WithoutTheGamesTextsEveryLineIsEnglish) {
    // A refused format, a missing file, a sample that cannot be read: each
    // names its file and says it in English, never in the editor's French.
    const auto format = runCli({"import", bank, "1", stereoWav});
    EXPECT_EQ(format.exitCode, 1);
    EXPECT_EQ(format.err, "calyx-cli: " + stereoWav +
                              ": WAV format not supported (it must be 22 kHz, mono, 16-bit); import --convert "
                              "converts it first (any PCM or float WAV file)\n");
    const auto missing = runCli({"import", bank, "1", dir / "none.wav"});
    EXPECT_EQ(missing.err, "calyx-cli: " + dir / "none.wav" + ": the file does not exist\n");

    fixtures::ScopedEnv driver("SDL_AUDIODRIVER", "none-such");
    const auto play = runCli({"play", bank, "0"});
    EXPECT_EQ(play.exitCode, 1);
    EXPECT_NE(play.err.find("calyx-cli: " + bank + ": the sound driver cannot be initialised\n"), std::string::npos)
        << play.err;
    for (const auto& run : {format, missing, play})
        for (const char* french : {"Format de", "fichier", "impossible", "Erreur"})
            EXPECT_EQ(run.err.find(french), std::string::npos) << run.err;
    EXPECT_EQ(fixtures::readBytes(bank), original);
}

TEST_F(CliMessages, WithTheGamesTextsTheGameSpeaks) {
    fixtures::TempDir demo;
    fixtures::ScopedEnv env("WINEPREFIX", demo / "prefix");
    ASSERT_EQ(testing::runProgram("calyx-make-demo", {demo / "prefix"}).exitCode, 0);
    const auto format = runCli({"import", bank, "1", stereoWav});
    EXPECT_EQ(format.err, "calyx-cli: " + stereoWav +
                              ": Unsupported WAV format (must be 22 kHz mono 16-bit); import --convert converts it "
                              "first (any PCM or float WAV file)\n");
}

TEST_F(CliMessages, SaveFailuresNameTheFileAndTheReason) {
    // A folder that the user may not write in (as an unprivileged user: the
    // tests run as root).
    const std::string folder = dir / "readonly";
    fixtures::makeDirs(folder);
    fs::copy_file(bank, folder + "/bank.bnm");
    fs::copy_file(dir / "bank.bns", folder + "/bank.bns");
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec | fs::perms::group_read | fs::perms::group_exec);
    const auto denied = testing::runCliUnprivileged({"volume", folder + "/bank.bnm", "1", "5"});
    EXPECT_EQ(denied.exitCode, 1);
    EXPECT_EQ(denied.err, "calyx-cli: " + folder + "/bank.bnm: the bank cannot be saved: no temporary file can be "
                          "created in " + folder + " (Permission denied); the file is unchanged\n");
    EXPECT_EQ(fixtures::readBytes(folder + "/bank.bnm"), original);
    // Saved into a folder the user may write in, the bank makes its
    // temporary file there: the save succeeds and leaves only the bank and
    // its companion.
    const std::string mods = dir / "mods";
    fixtures::makeDirs(mods);
    fs::permissions(mods, fs::perms::all);
    const auto elsewhere =
        testing::runCliUnprivileged({"volume", folder + "/bank.bnm", "1", "5", "-o", mods + "/bank.bnm"});
    EXPECT_EQ(elsewhere.exitCode, 0) << elsewhere.err;
    EXPECT_EQ(fixtures::readBytes(folder + "/bank.bnm"), original);
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(mods)) written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"bank.bnm", "bank.bns"}));

    // A folder that does not exist.
    const auto noFolder = runCli({"volume", bank, "1", "5", "-o", dir / "missing/new.bnm"});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_EQ(noFolder.err, "calyx-cli: " + fixtures::shownPath(dir / "missing/new.bnm") + ": the folder " +
                                fixtures::shownPath(dir / "missing") + " does not exist; nothing was written\n");
    EXPECT_EQ(fixtures::readBytes(bank), original);

    // A source bank that ends before a sample's data is the source's fault.
    const std::string source = dir / "short.bnm";
    fs::copy_file(bank, source);
    fs::copy_file(dir / "bank.bns", dir / "short.bns");
    fs::resize_file(source, fs::file_size(source) - 8);
    const auto truncated = runCli({"copy", source, "2", bank, "1", "-o", dir / "out.bnm"});
    EXPECT_EQ(truncated.exitCode, 1);
    // Said at the open (which sounds the file ends before), then the refusal,
    // in words of the bank's data, not of a WAV file.
    EXPECT_EQ(truncated.err.rfind(
                  "calyx-cli: warning: " + fixtures::shownPath(source) + ": the file ends before the data of these sounds", 0),
              0u)
        << truncated.err;
    EXPECT_NE(truncated.err.find("calyx-cli: " + source + ": resource 2: its "), std::string::npos) << truncated.err;
    EXPECT_NE(truncated.err.find(" bytes in the bank cannot be read"), std::string::npos) << truncated.err;
    EXPECT_FALSE(fs::exists(dir / "out.bnm"));
}

TEST(CliUsage, NoArgumentsHelpAndVersion) {
    const auto bare = runCli({});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_EQ(bare.err.rfind("calyx-cli: list, check, export", 0), 0u) << bare.err;
    const auto help = runCli({"help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, bare.err);
    const auto command = runCli({"help", "export"});
    EXPECT_EQ(command.exitCode, 0);
    EXPECT_NE(command.out.find("Usage: calyx-cli export [OPTIONS] BANK INDEX OUT"), std::string::npos) << command.out;
    EXPECT_EQ(runCli({"help", "nonsense"}).exitCode, 2);
    const auto version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("calyx-cli ", 0), 0u) << version.out;
}

}  // namespace
}  // namespace calyx::cli
