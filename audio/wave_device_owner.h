// The part of the main frame that owns the wave-output device for the life
// of the program: it opens the device in the editor's format at start-up
// and again at the first request after a failed attempt, and answers the
// requests that reach it through a `WaveDeviceLink`.
#pragma once

#include <functional>
#include <memory>

#include "audio/wave_device_link.h"
#include "audio/wave_out_device.h"

namespace calyx::audio {

// The message shown when no device can be opened: its text id in the
// game's strings, and the text used without them.
inline constexpr int driverMessageId = 140;
inline constexpr const char* driverMessageText = "impossible d'initialiser le driver son";

class WaveDeviceOwner {
public:
    using DeviceFactory = std::function<std::unique_ptr<WaveOutDevice>()>;
    // Shows a message: the game's text of `stringId` when the game's strings
    // are loaded, else `frenchText`, with the exclamation icon.
    using MessageSink = std::function<void(int stringId, const char* frenchText)>;

    // Without a factory the system's device is used.
    explicit WaveDeviceOwner(MessageSink showMessage, DeviceFactory makeDevice = {});
    WaveDeviceOwner(const WaveDeviceOwner&) = delete;
    WaveDeviceOwner& operator=(const WaveDeviceOwner&) = delete;
    ~WaveDeviceOwner();

    // 1 when the device is open; 0 when it could not be opened (the
    // message has been shown).
    int openWaveDevice();
    // The link's handler: `requestDevice` delivers the open device (1) or
    // nothing (0); any other request answers 0.
    int handleWaveRequest(int request, WaveHandle& handle);
    // A link that reaches this owner.
    WaveDeviceLink makeLink();

    // The open device, or null.
    WaveHandle waveHandle() const { return device_.get(); }

private:
    MessageSink showMessage_;
    DeviceFactory makeDevice_;
    std::unique_ptr<WaveOutDevice> device_;
};

}  // namespace calyx::audio
