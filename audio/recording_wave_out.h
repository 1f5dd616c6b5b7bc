// A wave-output device that plays nothing and writes down every call in
// order with its arguments, for tests of the code that drives the device.
// It keeps its log (and what it is told to answer) in a shared object, so a
// test can read it after the device itself is gone.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/wave_out_device.h"

namespace calyx::audio {

struct DeviceCall {
    enum class Op { Open, Prepare, SetVolume, Write, Reset, Unprepare, Close };
    Op op;
    const PlayHeader* header = nullptr;  // the header passed, if any
    PlayHeader headerSeen{};             // its contents at the call
    std::uint32_t volumeWord = 0;        // SetVolume
    WaveFormat format{};                 // Open
};

struct DeviceLog {
    std::vector<DeviceCall> calls;
    // What `open` and `reset` answer.
    DeviceResult openResult = DeviceResult::Ok;
    DeviceResult resetResult = DeviceResult::Ok;
    // Devices made with this log so far.
    int devicesMade = 0;

    // The operations in order, as words ("open", "prepare", "setVolume",
    // "write", "reset", "unprepare", "close").
    std::vector<std::string> names() const;
    void clear() { calls.clear(); }
};

class RecordingWaveOut : public WaveOutDevice {
public:
    explicit RecordingWaveOut(std::shared_ptr<DeviceLog> log = std::make_shared<DeviceLog>());
    ~RecordingWaveOut() override;

    DeviceResult open(const WaveFormat& format) override;
    DeviceResult prepare(PlayHeader& header) override;
    DeviceResult setVolume(std::uint32_t volumeWord) override;
    DeviceResult write(PlayHeader& header) override;
    DeviceResult reset() override;
    DeviceResult unprepare(PlayHeader& header) override;
    void close() override;
    // True from a write until a reset or `finishPlaying`.
    bool isPlaying() const override { return playing_ != nullptr; }

    // Lets the written buffer end as if it had played out.
    void finishPlaying();
    const std::shared_ptr<DeviceLog>& log() const { return log_; }

private:
    void record(DeviceCall::Op op, const PlayHeader* header = nullptr, std::uint32_t volumeWord = 0,
                const WaveFormat& format = {});

    std::shared_ptr<DeviceLog> log_;
    bool open_ = false;
    PlayHeader* playing_ = nullptr;
};

}  // namespace calyx::audio
