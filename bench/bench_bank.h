// The bank the save benchmarks measure: 2,000 samples of mixed sizes and
// about 64 MiB of sample data, mixed pad modes, every tenth sample repeating the previous one's
// name and bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace calyx::bench {

inline constexpr std::size_t benchSampleCount = 2000;
inline constexpr std::size_t benchBankBytes = std::size_t{64} << 20;

// The kinds of bank saved.
enum BankKind : std::int64_t {
    SecondGame,   // a second-game bank with an external area
    FirstGame,    // a first-game bank
    SavedBefore,  // the second-game bank without pad mode 2 once saved: nothing to pad or share, long runs
};

// Writes the bank of `kind` to `path`.
void writeBenchBank(const std::string& path, BankKind kind);

}  // namespace calyx::bench
