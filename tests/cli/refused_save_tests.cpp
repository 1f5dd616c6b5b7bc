// A save that the system stops part-way: a disk that fills up and a folder
// that becomes read-only, each at a random point of the save. The bank on
// disk stays whole (the old one, or the new one when the save got through)
// and nothing is left beside it.
//
// Permissions do not bind the superuser, so when the tests run as root the
// saves run as the unprivileged user "nobody" (through setpriv).
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bank/resource_record.h"
#include "batch_cli_runner.h"
#include "fixtures/bank_builder.h"
#include "fixtures/temp_dir.h"
#include "platform/temp_file.h"

namespace calyx {
namespace {

using Bytes = std::vector<unsigned char>;
using fixtures::TempDir;
namespace fs = std::filesystem;

// The first record's volume, after the second game's 11-word header.
constexpr std::size_t volumeAt = 44 + bank::ResourceRecord::volumeAt;
constexpr int pointsPerTest = 6;

class RefusedSave : public ::testing::Test {
protected:
    void SetUp() override {
        CALYX_SKIP_FOR_WINDOWS_PROGRAMS("an unprivileged user (setpriv) and a full disk (setrlimit)");
        cli_ = cli::testing::binDir() + "/calyx-cli";
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || ::access(setpriv, X_OK) != 0) GTEST_SKIP() << "no unprivileged user to run as";
            user_ = *nobody;
            // The folder is the unprivileged user's, as a game folder is its
            // player's; the program is copied where that user may run it.
            ASSERT_EQ(::chown(dir_.path().c_str(), user_->pw_uid, user_->pw_gid), 0);
            ASSERT_EQ(::chmod(programDir_.path().c_str(), 0755), 0);
            fs::copy_file(cli_, programDir_ / "calyx-cli");
            cli_ = programDir_ / "calyx-cli";
        }
        fixtures::BankSpec spec;
        for (std::uint32_t i = 0; i < 200; ++i) {
            fixtures::ResourceSpec r;
            r.id = i;
            r.fileName = "S" + std::to_string(i) + ".WAV";
            r.data = fixtures::patternBytes(20000, static_cast<std::uint8_t>(i));
            r.external = i % 4 == 1;
            spec.resources.push_back(std::move(r));
        }
        fixtures::writeBytes(bank(), fixtures::buildBank(spec));
        fixtures::writeFile(dir_ / "b.bns", "[HEADER]\nRes = 0\n");
        if (user_) {
            for (const char* name : {"b.bnm", "b.bns"})
                ASSERT_EQ(::chown((dir_ / name).c_str(), user_->pw_uid, user_->pw_gid), 0);
        }
        // A first save, whole: from the next one on, a save changes only the
        // edited byte.
        ASSERT_TRUE(succeeded(startSave(1)));
        current_ = fixtures::readBytes(bank());
        ASSERT_EQ(current_.at(volumeAt), 1);
    }

    std::string bank() const { return dir_ / "b.bnm"; }

    // Starts `calyx-cli volume` on the bank (as the unprivileged user when
    // the tests run as root), with file sizes limited to `sizeLimit` when
    // given: writes past it fail as on a full disk.
    pid_t startSave(int volume, std::optional<rlim_t> sizeLimit = std::nullopt) const {
        std::vector<std::string> command;
        if (user_)
            command = {setpriv, "--reuid=" + std::to_string(user_->pw_uid),
                       "--regid=" + std::to_string(user_->pw_gid), "--clear-groups", "--"};
        for (const std::string& word : {cli_, std::string("volume"), bank(), std::string("0"), std::to_string(volume)})
            command.push_back(word);
        std::vector<char*> argv;
        for (std::string& word : command) argv.push_back(word.data());
        argv.push_back(nullptr);
        std::fflush(nullptr);  // nothing buffered is written twice
        const pid_t pid = ::fork();
        if (pid != 0) return pid;
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr)) ::_exit(126);
        if (sizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*sizeLimit, *sizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    // The new bank as the save `pid` writes it: a file of the bank's folder
    // that it holds open, other than the bank and its companion.
    struct NewBank {
        bool open = false;
        bool named = false;  // it has a name in the folder
        std::uintmax_t size = 0;
    };
    NewBank newBankOf(pid_t pid) const {
        const std::string folder = dir_.path() + "/";
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
            const std::string target = fs::read_symlink(entry.path(), ec).string();
            if (ec || !target.starts_with(folder) || target == bank() || target == dir_ / "b.bns") continue;
            struct stat st {};
            if (::stat(entry.path().c_str(), &st) != 0) continue;
            // The system shows a file without a name as deleted.
            return {true, !target.ends_with(" (deleted)"), static_cast<std::uintmax_t>(st.st_size)};
        }
        return {};
    }

    // Waits until the save `pid` has written `bytes` of the new bank; false
    // when the save ended first.
    bool waitUntilWritten(pid_t pid, std::uintmax_t bytes) const {
        for (;;) {
            const NewBank now = newBankOf(pid);
            if (now.open && now.size >= bytes) return true;
            siginfo_t info{};
            if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    }

    static bool succeeded(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // The bank is the old one, or the new one after a successful save, and
    // is alone with its companion; but a folder made read-only in the
    // instant between the naming of the finished new bank and its rename
    // keeps that file (`finishedMayStay`).
    void expectWholeAndAlone(bool saveSucceeded, int volume, bool finishedMayStay = false) {
        Bytes saved = current_;
        saved[volumeAt] = static_cast<unsigned char>(volume);
        const Bytes now = fixtures::readBytes(bank());
        EXPECT_EQ(now == saved, saveSucceeded);
        EXPECT_TRUE(now == saved || now == current_) << "the bank is neither the old one nor the new one";
        if (now == saved) current_ = saved;
        for (const auto& entry : fs::directory_iterator(dir_.path())) {
            const std::string name = entry.path().filename().string();
            if (name == "b.bnm" || name == "b.bns") continue;
            const bool finished = finishedMayStay && fixtures::readBytes(entry.path()) == saved;
            EXPECT_TRUE(finished) << name << " was left behind";
            fs::remove(entry.path());
        }
    }

    static constexpr const char* setpriv = "/usr/bin/setpriv";
    TempDir dir_, programDir_;
    std::string cli_;
    std::optional<passwd> user_;
    Bytes current_;
    std::mt19937 random_{std::random_device{}()};
};

TEST_F(RefusedSave, ADiskThatFillsUpLeavesTheOldBank) {
    std::uniform_int_distribution<rlim_t> room(0, current_.size() - 1);
    for (int point = 0; point < pointsPerTest; ++point) {
        const rlim_t limit = room(random_);
        SCOPED_TRACE("room for " + std::to_string(limit) + " bytes");
        const int volume = 10 + point;
        const bool ok = succeeded(startSave(volume, limit));
        EXPECT_FALSE(ok);
        expectWholeAndAlone(ok, volume);
    }
}

TEST_F(RefusedSave, AFolderThatBecomesReadOnlyLeavesNothingBehind) {
    // Where the new bank cannot be written without a name first, a save
    // stopped part-way keeps its named temporary file.
    platform::File probe;
    if (!platform::createUnnamedTempFile(probe, platform::numberedNames(dir_.path(), "~Calyx", ".tmp", 1)))
        GTEST_SKIP() << "no files without a name here";
    probe.close();
    std::uniform_int_distribution<std::uintmax_t> written(0, current_.size());
    for (int point = 0; point < pointsPerTest; ++point) {
        const std::uintmax_t bytes = written(random_);
        SCOPED_TRACE("read-only after " + std::to_string(bytes) + " bytes");
        const int volume = 20 + point;
        const pid_t pid = startSave(volume);
        // The save is held while the folder changes, so what it had done
        // by then is known.
        NewBank atStop;
        siginfo_t info{};
        const bool held = waitUntilWritten(pid, bytes) && ::kill(pid, SIGSTOP) == 0 &&
                          ::waitid(P_PID, static_cast<id_t>(pid), &info, WSTOPPED | WNOWAIT) == 0 &&
                          info.si_code == CLD_STOPPED;
        if (held) atStop = newBankOf(pid);
        EXPECT_TRUE(!atStop.named || atStop.size == current_.size()) << "the new bank had a name before it was whole";
        ::chmod(dir_.path().c_str(), 0555);
        if (held) ::kill(pid, SIGCONT);
        const bool ok = succeeded(pid);
        ::chmod(dir_.path().c_str(), 0755);
        expectWholeAndAlone(ok, volume, atStop.named);
    }
}

}  // namespace
}  // namespace calyx
