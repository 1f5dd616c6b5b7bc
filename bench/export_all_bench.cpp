// Exporting every sample of a 64 MiB bank of 2,000 samples as WAV files,
// against a plain copy of the same sample bytes into as many files.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/core/export_all.h"
#include "editor/core/document_open.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t sampleCount = 2000;
constexpr std::size_t bankBytes = std::size_t{64} << 20;
// Even, so that every sample is whole 16-bit frames.
constexpr std::size_t sampleBytes = (bankBytes / sampleCount) & ~std::size_t{3};

// The bank and its companion, written once; the bank loaded once.
class BenchBank {
public:
    BenchBank() {
        calyx::fixtures::BankSpec spec;
        std::vector<calyx::fixtures::NameEntry> names;
        for (std::size_t i = 0; i < sampleCount; ++i) {
            calyx::fixtures::ResourceSpec r;
            r.id = static_cast<std::uint32_t>(i);
            r.data = calyx::fixtures::patternBytes(sampleBytes, static_cast<std::uint8_t>(i));
            r.fileName = "S" + std::to_string(i) + ".WAV";
            spec.resources.push_back(std::move(r));
            names.push_back({static_cast<int>(i), "Sound " + std::to_string(i), ""});
        }
        calyx::fixtures::writeBytes(bankPath(), calyx::fixtures::buildBank(spec));
        calyx::fixtures::writeFile(dir_ / "Bench.bns", calyx::fixtures::companionText(names));
        calyx::editor::Installation none;
        calyx::editor::openBank(bank_, bankPath(), calyx::editor::GetInstallInfo(none));
        for (std::size_t i = 0; i < bank_.resourceCount(); ++i)
            offsets_.push_back(bank_.mainAreaStart() + bank_.resourceAt(i)->record().dataOffset());
    }

    std::string bankPath() const { return dir_ / "Bench.bnm"; }
    calyx::bank::SoundBank& bank() { return bank_; }
    const calyx::editor::GameStrings& strings() const { return strings_; }
    const std::vector<std::uint64_t>& offsets() const { return offsets_; }
    // A new, empty output folder for each run. Folders are not emptied and
    // reused: creating files where many were just deleted is slower on some
    // file systems, which would favour whichever benchmark ran first.
    // Earlier runs' files are flushed first, so that their write-back does
    // not fall into this run's time.
    std::string freshOutput() {
        ::sync();
        const std::string out = dir_ / ("out" + std::to_string(outputs_++));
        fs::create_directory(out);
        return out;
    }

private:
    calyx::fixtures::TempDir dir_;
    calyx::bank::SoundBank bank_;
    calyx::editor::GameStrings strings_;
    std::vector<std::uint64_t> offsets_;
    int outputs_ = 0;
};

BenchBank& benchBank() {
    static BenchBank bank;
    return bank;
}

void BM_ExportAll(benchmark::State& state) {
    auto& bench = benchBank();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string out = bench.freshOutput();
        state.ResumeTiming();
        const auto report = calyx::editor::exportAllSamples(bench.bank(), out);
        if (report.exported != sampleCount) state.SkipWithError("not every sample was exported");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sampleCount * sampleBytes));
}

// Each sample's bytes read from the bank and written to a file of its own,
// with the fewest system calls: one pread, one open, one write, one close.
void BM_PlainCopy(benchmark::State& state) {
    auto& bench = benchBank();
    std::vector<char> buffer(sampleBytes);
    const int in = ::open(bench.bankPath().c_str(), O_RDONLY);
    for (auto _ : state) {
        state.PauseTiming();
        const std::string out = bench.freshOutput();
        state.ResumeTiming();
        for (std::size_t i = 0; i < sampleCount; ++i) {
            const auto got = ::pread(in, buffer.data(), buffer.size(), static_cast<off_t>(bench.offsets()[i]));
            const int copy = ::open((out + "/" + std::to_string(i) + ".raw").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            const auto put = ::write(copy, buffer.data(), buffer.size());
            if (got != static_cast<ssize_t>(buffer.size()) || put != got || ::close(copy) != 0)
                state.SkipWithError("copy failed");
        }
    }
    ::close(in);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sampleCount * sampleBytes));
}

// Medians of several runs: the disk is shared with everything else.
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportAll)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
