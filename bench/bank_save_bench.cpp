// Saving a bank of 2,000 samples and 64 MiB of sample data (mixed pad modes,
// some samples sharing a name and their bytes), against a plain copy of the
// same file that, like the save, ends with an fsync. Both flavours. The
// ratio of the two times is what counts.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bank/bank_archive.h"
#include "bank/save_document.h"
#include "fixtures/bank_builder.h"
#include "fixtures/temp_dir.h"
#include "platform/file.h"

namespace {

constexpr std::size_t sampleCount = 2000;
constexpr std::size_t bankBytes = std::size_t{64} << 20;
constexpr std::size_t sampleSize = (bankBytes / sampleCount) & ~std::size_t{7};

std::string makeBank(const calyx::fixtures::TempDir& dir, bool k7) {
    calyx::fixtures::BankSpec spec;
    spec.k7 = k7;
    for (std::size_t i = 0; i < sampleCount; ++i) {
        calyx::fixtures::ResourceSpec r;
        r.id = static_cast<std::uint32_t>(i);
        r.padMode = i % 3 == 0 ? 2 : 0;
        // Every tenth sample repeats the previous one's name and bytes.
        const bool twin = i % 10 == 9;
        r.fileName = "S" + std::to_string(twin ? i - 1 : i) + ".WAV";
        r.data = calyx::fixtures::patternBytes(sampleSize, static_cast<std::uint8_t>(twin ? i - 1 : i));
        r.external = !k7 && i % 4 == 1;
        spec.resources.push_back(std::move(r));
    }
    const std::string path = dir / (k7 ? "k7.bnm" : "tq2.bnm");
    calyx::fixtures::writeBytes(path, calyx::fixtures::buildBank(spec));
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

void BM_PlainCopy(benchmark::State& state) {
    calyx::fixtures::TempDir dir;
    const std::string bank = makeBank(dir, state.range(0) != 0);
    for (auto _ : state) copyWithFsync(bank, dir / "copy.bnm");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bankBytes));
}

void BM_Save(benchmark::State& state) {
    calyx::fixtures::TempDir dir;
    const std::string path = makeBank(dir, state.range(0) != 0);
    calyx::bank::SoundBank bank;
    calyx::platform::File file;
    file.open(path, calyx::platform::File::Mode::Read);
    calyx::bank::BankArchive archive(file, calyx::bank::BankArchive::Mode::Load);
    bank.load(archive);
    file.close();
    int loadWarning = 0;
    bank.takeError(loadWarning);
    for (auto _ : state) {
        // Save As to a fresh name each time: the bank is read from one file
        // and written to another, as a plain copy is.
        const auto outcome = calyx::bank::saveDocument(bank, dir / "saved.bnm");
        if (!outcome.saved) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bankBytes));
}

// Argument: 0 = second game's flavour, 1 = first game's.
BENCHMARK(BM_PlainCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Save)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
