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
#include "fixtures/bank_builder.h"
#include "fixtures/opened_bank.h"
#include "fixtures/temp_dir.h"

namespace calyx::editor::test {

using Bytes = std::vector<std::uint8_t>;

using fixtures::openBankFile;
using fixtures::sample;
using fixtures::storedSample;

// A second-game bank `name` in `dir` with its companion naming each
// resource "res<id>" with the comment "comment <id>".
inline std::string writeBank(const fixtures::TempDir& dir, const std::string& name, const fixtures::BankSpec& spec) {
    return fixtures::writeBank(dir, name, spec, true);
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
        if (!opens) log->openResult = audio::DeviceResult::NoDevice;
    }
    int count(audio::DeviceCall::Op op) const {
        int n = 0;
        for (const auto& call : log->calls) n += call.op == op;
        return n;
    }
};

}  // namespace calyx::editor::test
