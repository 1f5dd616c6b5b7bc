// Reading the name scripts of a large installation: a "K7.csb" and a ".bns"
// companion of 20,000 entries each, against a plain copy of the same file.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bank/name_table.h"
#include "fixtures/name_scripts.h"

namespace {

constexpr int entryCount = 20000;

// The scripts, written once into a temporary folder removed at exit.
class ScriptFolder {
public:
    ScriptFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "calyx-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
        std::vector<calyx::fixtures::NameEntry> entries;
        for (int i = 0; i < entryCount; ++i) {
            std::string n = std::to_string(i);
            entries.push_back({i, i % 2 ? "Engine_" + n : "Crowd cheering " + n,
                               "Lap " + n + ": grandstand, \xE9t\xE9 version"});
        }
        k7Size_ = write("K7.csb", calyx::fixtures::k7ScriptText(entries));
        companionSize_ = write("Sons.bns", calyx::fixtures::companionText(entries));
    }
    ~ScriptFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    std::string k7Path() const { return path_ + "/K7.csb"; }
    std::string companionPath() const { return path_ + "/Sons.bns"; }
    std::string copyPath() const { return path_ + "/copy.tmp"; }
    std::int64_t k7Size() const { return k7Size_; }
    std::int64_t companionSize() const { return companionSize_; }

private:
    std::int64_t write(const char* name, const std::string& text) const {
        std::ofstream out(path_ + "/" + name, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<std::int64_t>(text.size());
    }

    std::string path_;
    std::int64_t k7Size_ = 0;
    std::int64_t companionSize_ = 0;
};

const ScriptFolder& folder() {
    static const ScriptFolder instance;
    return instance;
}

void BM_ReadK7Script(benchmark::State& state) {
    const ScriptFolder& f = folder();
    for (auto _ : state) {
        calyx::bank::NameTable table;
        if (table.readK7Script(f.k7Path()) != calyx::bank::K7ScriptResult::Read || table.size() != entryCount) state.SkipWithError("K7.csb misread");
        benchmark::DoNotOptimize(table.size());
    }
    state.SetBytesProcessed(state.iterations() * f.k7Size());
}
BENCHMARK(BM_ReadK7Script)->Unit(benchmark::kMillisecond);

void BM_ReadCompanion(benchmark::State& state) {
    const ScriptFolder& f = folder();
    for (auto _ : state) {
        calyx::bank::NameTable table;
        if (table.readCompanion(f.companionPath()) != calyx::bank::CompanionResult::Read || table.size() != entryCount)
            state.SkipWithError("companion misread");
        benchmark::DoNotOptimize(table.size());
    }
    state.SetBytesProcessed(state.iterations() * f.companionSize());
}
BENCHMARK(BM_ReadCompanion)->Unit(benchmark::kMillisecond);

// The yardstick: copying the same bytes as a file.
void BM_PlainFileCopy(benchmark::State& state) {
    const ScriptFolder& f = folder();
    for (auto _ : state) {
        std::error_code ec;
        std::filesystem::copy_file(f.k7Path(), f.copyPath(), std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(state.iterations() * f.k7Size());
}
BENCHMARK(BM_PlainFileCopy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
