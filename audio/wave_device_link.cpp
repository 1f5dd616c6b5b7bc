#include "audio/wave_device_link.h"

#include "audio/wave_device_owner.h"

namespace calyx::audio {

int dispatchWaveRequest(int request, const WaveDeviceLink* link, WaveHandle& handle) {
    if (!link || !link->ownerObject || !link->handler) return 0;
    return (link->ownerObject->*(link->handler))(request, handle);
}

int sendWaveRequest(const WaveDeviceLink* link, int request, WaveHandle& handle) {
    handle = nullptr;
    if (!link || !link->dispatch) return 0;
    return link->dispatch(request, link, handle);
}

}  // namespace calyx::audio
