// The preview's waveform of a 10 MiB sample at 1,000 columns: from a bank
// file (read as "Test current" reads it, then summarised) and from memory
// alone, against a plain read of the same bytes from the same file.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "editor/core/document_open.h"
#include "editor/core/sample_preview.h"
#include "editor/core/waveform_summary.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"

namespace {

constexpr std::size_t sampleBytes = std::size_t{10} << 20;
constexpr std::size_t columns = 1000;

class BenchBank {
public:
    BenchBank() {
        calyx::fixtures::BankSpec spec;
        calyx::fixtures::ResourceSpec r;
        r.id = 1;
        r.data = calyx::fixtures::patternBytes(sampleBytes, 7);
        r.fileName = "BIG.WAV";
        sample_ = r.data;
        spec.resources.push_back(std::move(r));
        calyx::fixtures::writeBytes(path(), calyx::fixtures::buildBank(spec));
        calyx::fixtures::writeFile(dir_ / "Bench.bns", calyx::fixtures::companionText({{1, "Big", ""}}));
        calyx::editor::Installation none;
        calyx::editor::openBank(bank_, path(), calyx::editor::GetInstallInfo(none));
        offset_ = bank_.mainAreaStart() + bank_.resourceAt(0)->record().dataOffset();
    }
    std::string path() const { return dir_ / "Bench.bnm"; }
    calyx::bank::SoundBank& bank() { return bank_; }
    const std::vector<std::uint8_t>& sample() const { return sample_; }
    off_t offset() const { return static_cast<off_t>(offset_); }

private:
    calyx::fixtures::TempDir dir_;
    calyx::bank::SoundBank bank_;
    std::vector<std::uint8_t> sample_;
    std::uint64_t offset_ = 0;
};

BenchBank& benchBank() {
    static BenchBank bank;
    return bank;
}

void BM_PreviewFromBank(benchmark::State& state) {
    auto& b = benchBank();
    calyx::editor::LinkTable links;
    calyx::editor::GameStrings strings;
    for (auto _ : state) {
        auto preview = calyx::editor::previewResource(*b.bank().resourceAt(0), b.bank(), links, columns);
        if (preview.columns.size() != columns) state.SkipWithError("no waveform");
        benchmark::DoNotOptimize(preview);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sampleBytes));
}

void BM_SummaryInMemory(benchmark::State& state) {
    auto& b = benchBank();
    for (auto _ : state) benchmark::DoNotOptimize(calyx::editor::summarizeWaveform(b.sample(), columns));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sampleBytes));
}

// The yardstick: the same bytes read from the same file into a buffer.
void BM_PlainRead(benchmark::State& state) {
    auto& b = benchBank();
    for (auto _ : state) {
        std::vector<std::uint8_t> buffer(sampleBytes);
        const int fd = ::open(b.path().c_str(), O_RDONLY);
        std::size_t done = 0;
        while (done < sampleBytes) {
            const ssize_t n = ::pread(fd, buffer.data() + done, sampleBytes - done, b.offset() + static_cast<off_t>(done));
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sampleBytes));
}

}  // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFromBank)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummaryInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
