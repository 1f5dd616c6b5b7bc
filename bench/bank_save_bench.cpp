// Saving a bank of 2,000 samples and about 64 MiB of sample data (mixed
// sizes and pad modes, some samples sharing a name and their bytes), against a plain copy of the
// same file that, like the save, ends with an fsync. Both flavours. The
// ratio of the two medians is what counts.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "bank/bank_archive.h"
#include "bench_bank.h"
#include "bank/save_document.h"
#include "fixtures/temp_dir.h"
#include "platform/file.h"

namespace {

using calyx::bench::BankKind;
constexpr int rounds = 5;

std::string makeBank(const calyx::fixtures::TempDir& dir, BankKind kind) {
    const std::string path = dir / ("bank" + std::to_string(kind) + ".bnm");
    calyx::bench::writeBenchBank(path, kind);
    return path;
}

void copyWithFsync(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n <= 0) break;
        if (::write(out, buffer.data(), static_cast<std::size_t>(n)) != n) break;
    }
    ::fsync(out);
    ::close(out);
    ::close(in);
}

double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The plain copy and the save take turns, five times each, so that both see
// the same state of the machine; the medians and their ratio are reported.
// The iteration time is the save's median.
void BM_SaveAgainstPlainCopy(benchmark::State& state) {
    calyx::fixtures::TempDir dir;
    const std::string path = makeBank(dir, static_cast<BankKind>(state.range(0)));
    calyx::bank::SoundBank bank;
    calyx::platform::File file;
    file.open(path, calyx::platform::File::Mode::Read);
    calyx::bank::BankArchive archive(file, calyx::bank::BankArchive::Mode::Load);
    bank.load(archive);
    file.close();
    calyx::bank::BankError loadWarning = calyx::bank::BankError::None;
    bank.takeError(loadWarning);
    if (state.range(0) == calyx::bench::SavedBefore && !calyx::bank::saveDocument(bank, path).saved)
        state.SkipWithError("first save failed");
    for (auto _ : state) {
        std::vector<double> copies, saves;
        for (int round = 0; round < rounds; ++round) {
            copies.push_back(secondsOf([&] { copyWithFsync(path, dir / "copy.bnm"); }));
            // Save As to one other name each time: the bank is read from one
            // file and written to another, as a plain copy is.
            saves.push_back(secondsOf([&] {
                if (!calyx::bank::saveDocument(bank, dir / "saved.bnm").saved) state.SkipWithError("save failed");
            }));
        }
        state.SetIterationTime(median(saves));
        state.counters["copy_ms"] = median(copies) * 1e3;
        state.counters["save_ms"] = median(saves) * 1e3;
        state.counters["ratio"] = median(saves) / median(copies);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * calyx::bench::benchBankBytes));
}

BENCHMARK(BM_SaveAgainstPlainCopy)
    ->Arg(calyx::bench::SecondGame)
    ->Arg(calyx::bench::FirstGame)
    ->Arg(calyx::bench::SavedBefore)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
