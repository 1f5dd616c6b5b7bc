// Shared by the editing tests: a fake edit dialog view, banks written to a
// temporary folder and opened as the editor opens them, and a bank's
// sample bytes read back from its file.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/document_open.h"
#include "editor/core/headless_dialog_view.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"

namespace calyx::editor::test {

using Bytes = std::vector<std::uint8_t>;

// The dialog's view as the tests drive it: the headless one, with its
// trackbar shown.
inline HeadlessDialogView dialogView() {
    HeadlessDialogView view;
    view.trackbar = 0;
    return view;
}

// Writes the bank (and a companion name file for a second-game bank).
inline std::string writeBank(const fixtures::TempDir& dir, const std::string& name, const fixtures::BankSpec& spec) {
    const std::string path = dir / name;
    fixtures::writeBytes(path, fixtures::buildBank(spec));
    if (!spec.k7) {
        std::vector<fixtures::NameEntry> names;
        for (const auto& r : spec.resources) names.push_back({static_cast<int>(r.id), "res" + std::to_string(r.id), ""});
        const std::string companion = bank::SoundBank::companionPath(path);
        fixtures::writeFile(companion, fixtures::companionText(names));
    }
    return path;
}

inline std::unique_ptr<bank::SoundBank> openBankFile(const std::string& path) {
    auto bank = std::make_unique<bank::SoundBank>();
    EXPECT_EQ(openBank(*bank, path, InstallInfo{}), OpenResult::Opened) << path;
    return bank;
}

// The stored bytes of resource `index` as the bank file holds them.
inline Bytes storedSample(bank::SoundBank& bank, std::size_t index) {
    Bytes buffer;
    std::uint32_t length = 0;
    const bank::SoundResource& r = *bank.resourceAt(index);
    r.readSample(bank.mainAreaStart(), *bank.bankPath(), buffer, length, bank::mainAreaWordOffset,
                 r.record().dataOffset(), 0, false);
    return buffer;
}

inline fixtures::ResourceSpec sample(std::uint32_t id, Bytes data, std::string fileName, bool external = false) {
    fixtures::ResourceSpec r;
    r.id = id;
    r.data = std::move(data);
    r.fileName = std::move(fileName);
    r.external = external;
    return r;
}

// The first bank of the editing tests: two samples, a third one named
// `thirdName` (in the external area when `thirdExternal`), and a CD track.
inline fixtures::BankSpec twoSamplesAndACdTrack(std::string thirdName, bool thirdExternal) {
    fixtures::BankSpec bank;
    bank.resources = {sample(1, fixtures::patternBytes(40, 1), "ONE.WAV"),
                      sample(2, fixtures::patternBytes(24, 2), "TWO.WAV"),
                      sample(3, fixtures::patternBytes(16, 3), std::move(thirdName), thirdExternal)};
    fixtures::ResourceSpec cd;
    cd.id = 4;
    cd.kind = 3;
    cd.stored = 0;
    bank.resources.push_back(cd);
    return bank;
}

}  // namespace calyx::editor::test
