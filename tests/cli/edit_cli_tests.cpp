// calyx-cli export, import, volume, copy and play, run as the real program.
#include <gtest/gtest.h>

#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "batch_cli_runner.h"
#include "editor/edit_test_support.h"
#include "fixtures/wav_builder.h"
#include "fixtures/wine_prefix.h"

extern char** environ;

namespace calyx::cli {
namespace {

using namespace editor::test;
using fixtures::patternBytes;
using testing::runCli;

class EditCliTest : public ::testing::Test {
protected:
    EditCliTest() {
        fixtures::BankSpec a = twoSamplesAndACdTrack("a.bnm", true);
        fixtures::BankSpec b;
        b.resources = {sample(11, patternBytes(12, 11), "B1.WAV")};
        bankA = writeBank(dir, "a.bnm", a);
        bankB = writeBank(dir, "b.bnm", b);
    }

    fixtures::WinePrefix prefix;  // empty: the machine's own ~/.wine is never read
    fixtures::TempDir dir;
    std::string bankA, bankB;
};

TEST_F(EditCliTest, ExportThenImportIntoAnotherResourceSavesTheSameBytes) {
    const std::string out = dir / "one.wav";
    auto run = runCli({"export", bankA, "0", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto wav = fixtures::readBytes(out);
    ASSERT_EQ(wav.size(), 44u + 40u);
    EXPECT_EQ(Bytes(wav.begin() + 44, wav.end()), patternBytes(40, 1));

    const std::string saved = dir / "saved.bnm";
    run = runCli({"import", bankA, "1", out, "-o", saved});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto bank = openBankFile(saved);
    EXPECT_EQ(storedSample(*bank, 1), patternBytes(40, 1));
    EXPECT_EQ(storedSample(*bank, 2), patternBytes(16, 3));
    EXPECT_EQ(storedSample(*openBankFile(bankA), 1), patternBytes(24, 2));  // -o leaves the bank as it was
}

TEST_F(EditCliTest, ImportRefusalsUseTheEditorsMessagesAndLeaveTheBank) {
    const auto before = fixtures::readBytes(bankA);
    fixtures::PcmFormat stereo;
    stereo.channels = 2;
    const std::string file = dir / "stereo.wav";
    fixtures::writeBytes(file, fixtures::simpleWav(patternBytes(8, 1), stereo));
    auto run = runCli({"import", bankA, "0", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("WAV format not supported (it must be 22 kHz, mono, 16-bit)"), std::string::npos) << run.err;
    run = runCli({"import", bankA, "0", dir / "missing.wav"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("the file does not exist"), std::string::npos) << run.err;
    run = runCli({"import", bankA, "3", dir / "stereo.wav"});
    EXPECT_EQ(run.exitCode, 1);  // a CD track opens no dialog
    run = runCli({"import", bankA, "9", dir / "stereo.wav"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(fixtures::readBytes(bankA), before);
}

TEST_F(EditCliTest, VolumeTakesZeroTo127Only) {
    for (const char* bad : {"128", "-1", "abc", "12.5"}) EXPECT_EQ(runCli({"volume", bankA, "1", bad}).exitCode, 2) << bad;
    auto run = runCli({"volume", bankA, "1", "55"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto bank = openBankFile(bankA);
    EXPECT_EQ(bank->resourceAt(1)->volume(), 55);
    EXPECT_EQ(bank->resourceAt(0)->volume(), 100);
    EXPECT_EQ(storedSample(*bank, 1), patternBytes(24, 2));
}

TEST_F(EditCliTest, CopyAcrossBanksWithinOneAndItsRefusals) {
    auto run = runCli({"copy", bankB, "0", bankA, "0"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The same bank named twice (once through another spelling) is one bank.
    run = runCli({"copy", bankA, "2", dir / "./a.bnm", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto bank = openBankFile(bankA);
    EXPECT_EQ(storedSample(*bank, 0), patternBytes(12, 11));
    EXPECT_EQ(storedSample(*bank, 1), patternBytes(16, 3));
    EXPECT_EQ(storedSample(*bank, 2), patternBytes(16, 3));

    const auto before = fixtures::readBytes(bankA);
    run = runCli({"copy", bankA, "1", bankA, "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("onto itself"), std::string::npos) << run.err;
    EXPECT_EQ(runCli({"copy", bankA, "3", bankA, "1"}).exitCode, 1);
    EXPECT_EQ(runCli({"copy", bankA, "0", bankB, "5"}).exitCode, 2);
    EXPECT_EQ(fixtures::readBytes(bankA), before);
}

class PlayCliTest : public EditCliTest {
protected:
    PlayCliTest() : driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", dir / "played.raw") {}
    void SetUp() override { CALYX_SKIP_FOR_WINDOWS_PROGRAMS("playback is recorded through SDL's disk driver"); }
    fixtures::ScopedEnv driver, file;
};

TEST_F(PlayCliTest, PlaysTheSampleOnceAndReturns) {
    fixtures::BankSpec spec;
    spec.resources = {sample(1, Bytes(2205 * 2, 0x40), "TONE.WAV")};  // a tenth of a second
    spec.resources[0].volume = 127;
    const std::string path = writeBank(dir, "tone.bnm", spec);
    const auto started = std::chrono::steady_clock::now();
    auto run = runCli({"play", path, "0"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    const auto played = fixtures::readBytes(dir / "played.raw");
    EXPECT_GE(played.size(), 2205u * 2);
    EXPECT_NE(std::count(played.begin(), played.end(), 0), static_cast<std::ptrdiff_t>(played.size()));
}

TEST_F(PlayCliTest, WithoutASoundDeviceItSaysSoAndFails) {
    fixtures::ScopedEnv none("SDL_AUDIODRIVER", "no-such-driver");
    const auto run = runCli({"play", bankA, "0"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("the sound driver cannot be initialised"), std::string::npos) << run.err;
}

TEST_F(PlayCliTest, ALoopingSamplePlaysUntilInterrupted) {
    fixtures::BankSpec spec;
    spec.resources = {sample(1, Bytes(2205 * 2, 0x40), "LOOP.WAV")};
    spec.resources[0].looping = true;
    const std::string path = writeBank(dir, "loop.bnm", spec);
    const std::string program = testing::binDir() + "/calyx-cli";
    std::vector<std::string> words = {program, "play", path, "0"};
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    // Wait until it has played the sample through more than once (a slow
    // start, as under the sanitizers, must not count as a stop).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    auto playedBytes = [this] {
        std::error_code ec;
        const auto size = std::filesystem::file_size(dir / "played.raw", ec);
        return ec ? std::uintmax_t{0} : size;
    };
    while (std::chrono::steady_clock::now() < deadline && playedBytes() < 2 * 2205 * 2 + 2205)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0);
    kill(pid, SIGINT);
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace calyx::cli

namespace calyx::cli {
namespace {

// Banks that do not open give the editor's reason, in English, and change nothing.
TEST_F(EditCliTest, BanksThatDoNotOpenSayWhyAndStayAsTheyWere) {
    const auto bytes = fixtures::readBytes(bankA);
    fixtures::writeBytes(dir / "cut.bnm", {bytes.begin(), bytes.begin() + 40});
    fixtures::writeBytes(dir / "named.bnk", bytes);
    fixtures::makeDirs(dir / "folder.bnm");
    const std::pair<std::string, std::string> cases[] = {
        {"cut.bnm", "cut.bnm: not a complete sound bank"},
        {"named.bnk", "named.bnk: not a sound bank (a bank's name ends in .bnm)"},
        {"folder.bnm", "folder.bnm: a folder, not a sound bank"},
    };
    for (const auto& [name, message] : cases) {
        const auto run = runCli({"volume", dir / name, "0", "3"});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(fixtures::readBytes(dir / "cut.bnm").size(), 40u);
}

}  // namespace
}  // namespace calyx::cli
