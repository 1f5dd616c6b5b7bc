// Loading and inspecting bank files in the bank tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/wav_file.h"
#include "bank/bank_archive.h"
#include "bank/sound_bank.h"
#include "fixtures/bank_builder.h"
#include "fixtures/temp_dir.h"
#include "platform/byte_order.h"
#include "platform/file.h"

namespace calyx::testing {

struct Loaded {
    std::unique_ptr<bank::SoundBank> bank = std::make_unique<bank::SoundBank>();
    bank::LoadResult result = bank::LoadResult::Truncated;
};

// A stored sample of `size` recognisable bytes.
inline fixtures::ResourceSpec sample(std::uint32_t id, std::size_t size,
                                     std::string fileName = "xxxxxxxxxxxx") {
    fixtures::ResourceSpec r;
    r.id = id;
    r.data = fixtures::patternBytes(size, static_cast<std::uint8_t>(id));
    r.fileName = std::move(fileName);
    return r;
}

inline Loaded loadBankFile(const std::string& path, const std::string& k7Dir = {},
                           const std::string& tq2Dir = {}, const std::string& language = {}) {
    Loaded loaded;
    loaded.bank->setGameInstallations(k7Dir, tq2Dir, language, language);
    loaded.bank->setWavDataLocator(audio::findWavDataChunk);
    platform::File file;
    if (!file.open(path, platform::File::Mode::Read)) return loaded;
    bank::BankArchive archive(file, bank::BankArchive::Mode::Load);
    loaded.result = loaded.bank->load(archive);
    return loaded;
}

// Writes `spec` as `name` in `dir` and loads it.
inline Loaded writeAndLoad(const fixtures::TempDir& dir, const std::string& name,
                           const fixtures::BankSpec& spec) {
    fixtures::writeBytes(dir / name, fixtures::buildBank(spec));
    return loadBankFile(dir / name);
}

inline std::uint32_t wordAt(const std::vector<unsigned char>& bytes, std::size_t at) {
    return platform::readLe32(bytes.data() + at);
}

// The bytes a resource's data occupies in a saved bank file, read from the
// file itself (main area relative to h7, external area absolute).
inline std::vector<unsigned char> sampleBytes(const std::vector<unsigned char>& file, bool k7,
                                              std::size_t recordIndex, std::size_t auxCount = 0) {
    const std::size_t header = k7 ? 36 : 44;
    const std::size_t at = header + 32 * auxCount + 92 * recordIndex;
    const std::uint32_t size = wordAt(file, at + 12);
    const std::uint32_t offset = wordAt(file, at + 16);
    const bool external = wordAt(file, at + 44) != 0;
    const std::size_t start = (!k7 && external) ? offset : wordAt(file, 28) + offset;
    if (start + size > file.size()) return {};
    return std::vector<unsigned char>(file.begin() + static_cast<long>(start),
                                      file.begin() + static_cast<long>(start + size));
}

}  // namespace calyx::testing
