#include "bench_bank.h"

#include "fixtures/bank_builder.h"
#include "fixtures/temp_dir.h"

namespace calyx::bench {

namespace {

// Sizes from half to one and a half times the mean, in a repeating run of five.
std::size_t sampleSizeOf(std::size_t index) {
    constexpr std::size_t mean = benchBankBytes / benchSampleCount;
    return (mean * (2 + index % 5) / 4) & ~std::size_t{7};
}

}  // namespace

void writeBenchBank(const std::string& path, BankKind kind) {
    const bool k7 = kind == FirstGame;
    fixtures::BankSpec spec;
    spec.k7 = k7;
    for (std::size_t i = 0; i < benchSampleCount; ++i) {
        fixtures::ResourceSpec r;
        r.id = static_cast<std::uint32_t>(i);
        r.padMode = i % 3 == 0 && kind != SavedBefore ? 2 : 0;
        // Every tenth sample repeats the previous one's name and bytes.
        const bool twin = i % 10 == 9;
        const std::size_t source = twin ? i - 1 : i;
        r.fileName = "S" + std::to_string(source) + ".WAV";
        r.data = fixtures::patternBytes(sampleSizeOf(source), static_cast<std::uint8_t>(source));
        r.external = !k7 && i % 4 == 1;
        spec.resources.push_back(std::move(r));
    }
    fixtures::writeBytes(path, fixtures::buildBank(spec));
}

}  // namespace calyx::bench
