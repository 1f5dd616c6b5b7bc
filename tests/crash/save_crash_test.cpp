// Kills saves at random moments and checks what they leave.
//
//   save_crash_test CALYX_CLI [RUNS [MEGABYTES]]
//
// A second-game bank of MEGABYTES (64) of sample data is saved onto itself
// RUNS (200) times by `calyx-cli volume`, each save killed with SIGKILL at a
// random moment of its run. After each, the bank must be byte for byte the
// bank before the save or the complete new one, and nothing else may be left
// in its folder; a kill between the naming of the finished new bank and its
// rename may leave that one file, counted apart. One line of counts is
// printed; the exit status is 1 when a bank was corrupt, when anything else
// was left, or when more than one run in 200 left the finished new bank.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bank/resource_record.h"
#include "fixtures/bank_builder.h"
#include "fixtures/temp_dir.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
namespace fixtures = calyx::fixtures;

constexpr std::size_t sampleCount = 2000;
// The second game's header is 11 words; no 32-byte records follow it here.
constexpr std::size_t headerBytes = 44;
constexpr std::size_t firstVolumeAt = headerBytes + calyx::bank::ResourceRecord::volumeAt;

// Samples of sizes that need no padding, each under a name of its own, a
// quarter of them in the external area.
Bytes makeBank(std::size_t megabytes) {
    fixtures::BankSpec spec;
    const std::size_t sampleSize = ((megabytes << 20) / sampleCount) & ~std::size_t{7};
    for (std::size_t i = 0; i < sampleCount; ++i) {
        fixtures::ResourceSpec r;
        r.id = static_cast<std::uint32_t>(i);
        r.fileName = "S" + std::to_string(i) + ".WAV";
        r.data = fixtures::patternBytes(sampleSize, static_cast<std::uint8_t>(i));
        r.external = i % 4 == 1;
        spec.resources.push_back(std::move(r));
    }
    return fixtures::buildBank(spec);
}

// Starts `calyx-cli volume BANK 0 VALUE`, its outputs thrown away.
pid_t startSave(const std::string& cli, const std::string& bank, int volume) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr)) ::_exit(126);
        const std::string value = std::to_string(volume);
        ::execl(cli.c_str(), cli.c_str(), "volume", bank.c_str(), "0", value.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

// Waits for the save; true when it ran to a successful end.
bool succeeded(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The whole file, read in large blocks (the banks are large and read after
// every run).
Bytes readWhole(const std::string& path) {
    Bytes bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    std::size_t n = 0;
    do {
        const std::size_t at = bytes.size();
        bytes.resize(at + (4u << 20));
        n = std::fread(bytes.data() + at, 1, 4u << 20, file);
        bytes.resize(at + n);
    } while (n > 0);
    std::fclose(file);
    return bytes;
}

Bytes withVolume(Bytes bank, int volume) {
    bank[firstVolumeAt] = static_cast<unsigned char>(volume);
    return bank;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CALYX_CLI [RUNS [MEGABYTES]]\n", argv[0]);
        return 2;
    }
    const std::string cli = fs::absolute(argv[1]).string();
    const int runs = argc > 2 ? std::atoi(argv[2]) : 200;
    const std::size_t megabytes = argc > 3 ? static_cast<std::size_t>(std::atoi(argv[3])) : 64;

    fixtures::TempDir dir;
    const std::string bank = dir / "crash.bnm";
    fixtures::writeBytes(bank, makeBank(megabytes));
    fixtures::writeFile(dir / "crash.bns", "[HEADER]\nRes = 0\n");

    // The first save records the external samples under the bank's name;
    // from the second on a save changes only the edited byte. The second
    // save's time sets the span in which the kills fall.
    if (!succeeded(startSave(cli, bank, 1))) {
        std::fprintf(stderr, "save_crash_test: an uninterrupted save failed\n");
        return 1;
    }
    Bytes current = readWhole(bank);
    const auto start = Clock::now();
    const bool secondSaved = succeeded(startSave(cli, bank, 2));
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    if (!secondSaved || readWhole(bank) != withVolume(current, 2)) {
        std::fprintf(stderr, "save_crash_test: an uninterrupted save did not write the expected bank\n");
        return 1;
    }
    current = withVolume(current, 2);

    std::mt19937_64 random(std::random_device{}());
    std::uniform_int_distribution<long long> moment(0, span.count() * 11 / 10);
    int kills = 0, completed = 0, corrupt = 0, finishedLeft = 0, otherLeft = 0;
    for (int run = 0; run < runs; ++run) {
        const int volume = 3 + run % 120;
        const Bytes saved = withVolume(current, volume);
        const pid_t pid = startSave(cli, bank, volume);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        // A save that has ended already is not killed.
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            if (WIFSIGNALED(status)) ++kills;
        }

        const Bytes after = readWhole(bank);
        if (after == saved) {
            ++completed;
            current = saved;
        } else if (after != current) {
            ++corrupt;
            std::fprintf(stderr, "save_crash_test: run %d: the bank is neither the old one nor the new one\n", run);
            fixtures::writeBytes(bank, current);
        }
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name == "crash.bnm" || name == "crash.bns") continue;
            const bool finished = entry.is_regular_file() && readWhole(entry.path().string()) == saved;
            ++(finished ? finishedLeft : otherLeft);
            std::fprintf(stderr, "save_crash_test: run %d left %s%s\n", run, name.c_str(),
                         finished ? " (the finished new bank)" : "");
            fs::remove_all(entry.path());
        }
    }
    std::printf("crash test: %d runs, %d kills, %d completed saves, %d corrupt targets, %d files left "
                "(%d of them the finished new bank, killed between its naming and its rename)\n",
                runs, kills, completed, corrupt, finishedLeft + otherLeft, finishedLeft);
    const bool passed = corrupt == 0 && otherLeft == 0 && finishedLeft * 200 <= std::max(runs, 200);
    return passed ? 0 : 1;
}
