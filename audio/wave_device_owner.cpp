#include "audio/wave_device_owner.h"

#include "audio/system_wave_out.h"

namespace calyx::audio {

WaveDeviceOwner::WaveDeviceOwner(MessageSink showMessage, DeviceFactory makeDevice)
    : showMessage_(std::move(showMessage)),
      makeDevice_(makeDevice ? std::move(makeDevice) : DeviceFactory(&makeSystemWaveOut)) {}

WaveDeviceOwner::~WaveDeviceOwner() = default;

int WaveDeviceOwner::openWaveDevice() {
    device_.reset();
    std::unique_ptr<WaveOutDevice> device = makeDevice_();
    if (!device || device->open(editorFormat) != DeviceResult::Ok) {
        if (showMessage_) showMessage_(driverMessageId, driverMessageText);
        return 0;
    }
    device_ = std::move(device);
    return 1;
}

int WaveDeviceOwner::handleWaveRequest(int request, WaveHandle& handle) {
    handle = nullptr;
    if (request != requestDevice) return 0;
    if (!device_ && !openWaveDevice()) return 0;
    handle = device_.get();
    return 1;
}

WaveDeviceLink WaveDeviceOwner::makeLink() {
    return WaveDeviceLink{this, &WaveDeviceOwner::handleWaveRequest, &dispatchWaveRequest};
}

}  // namespace calyx::audio
