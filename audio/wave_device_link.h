// How a resource reaches the wave-output device that the main frame owns:
// the owner object, its request handler, and a plain dispatch function that
// calls the handler on the owner. The document's view fills one link in and
// every resource of its bank keeps its address.
#pragma once

namespace calyx::audio {

class WaveDeviceOwner;
class WaveOutDevice;

// The handle through which the device is driven; null when there is none.
using WaveHandle = WaveOutDevice*;

// Requests.
inline constexpr int requestDevice = 1;  // deliver the open device, opening it if needed

struct WaveDeviceLink;

// The dispatch function of every link: calls `handler` on `ownerObject`
// and answers its result, or 0 when either is missing.
int dispatchWaveRequest(int request, const WaveDeviceLink* link, WaveHandle& handle);

struct WaveDeviceLink {
    using Handler = int (WaveDeviceOwner::*)(int request, WaveHandle& handle);
    using Dispatch = int (*)(int request, const WaveDeviceLink* link, WaveHandle& handle);

    WaveDeviceOwner* ownerObject = nullptr;
    Handler handler = nullptr;
    Dispatch dispatch = &dispatchWaveRequest;
};

// Sends `request` through `link`'s dispatch; 0 (and a null handle) when
// there is no link or no dispatch.
int sendWaveRequest(const WaveDeviceLink* link, int request, WaveHandle& handle);

}  // namespace calyx::audio
