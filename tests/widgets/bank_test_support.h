// Banks for the widget tests: written to a temporary folder, opened as the
// editor opens them, with a recording wave-output device behind them.
#pragma once

#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "audio/recording_wave_out.h"
#include "audio/wave_device_owner.h"
#include "bank/sound_bank.h"
#include "editor/core/document_open.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"

namespace calyx::editor::test {

using Bytes = std::vector<std::uint8_t>;

inline fixtures::ResourceSpec sample(std::uint32_t id, Bytes data, std::string fileName) {
    fixtures::ResourceSpec r;
    r.id = id;
    r.data = std::move(data);
    r.fileName = std::move(fileName);
    return r;
}

// A second-game bank `name` in `dir` with its companion naming each
// resource "res<id>" with the comment "comment <id>".
inline std::string writeBank(const fixtures::TempDir& dir, const std::string& name, const fixtures::BankSpec& spec) {
    const std::string path = dir / name;
    fixtures::writeBytes(path, fixtures::buildBank(spec));
    std::vector<fixtures::NameEntry> names;
    for (const auto& r : spec.resources) {
        names.push_back({static_cast<int>(r.id), "res" + std::to_string(r.id), "comment " + std::to_string(r.id)});
    }
    const std::string companion = bank::SoundBank::companionPath(path);
    fixtures::writeFile(companion, fixtures::companionText(names));
    return path;
}

inline std::unique_ptr<bank::SoundBank> openBankFile(const std::string& path) {
    auto bank = std::make_unique<bank::SoundBank>();
    if (openBank(*bank, path, InstallInfo{}) != OpenResult::Opened) qFatal("cannot open test bank");
    return bank;
}

// The bank's bytes of resource `index` as its file holds them.
inline Bytes storedSample(bank::SoundBank& bank, std::size_t index) {
    Bytes buffer;
    std::uint32_t length = 0;
    const bank::SoundResource& r = *bank.resourceAt(index);
    r.readSample(bank.mainAreaStart(), *bank.bankPath(), buffer, length, bank::mainAreaWordOffset,
                 r.record().dataOffset(), 0, false);
    return buffer;
}

// A wave-output device that records what it is asked, reached through a
// link as the main frame's device is. `opens` false: no device can be had.
struct RecordedDevice {
    std::shared_ptr<audio::DeviceLog> log = std::make_shared<audio::DeviceLog>();
    std::vector<std::string> messages;
    audio::WaveDeviceOwner owner;
    audio::WaveDeviceLink link;

    explicit RecordedDevice(bool opens = true)
        : owner([this](int, const char* french) { messages.emplace_back(french); },
                [this] { return std::make_unique<audio::RecordingWaveOut>(log); }),
          link(owner.makeLink()) {
        if (!opens) log->openResult = audio::device_result::noDevice;
    }
    int count(audio::DeviceCall::Op op) const {
        int n = 0;
        for (const auto& call : log->calls) n += call.op == op;
        return n;
    }
};

}  // namespace calyx::editor::test
