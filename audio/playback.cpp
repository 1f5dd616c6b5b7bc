#include "audio/playback.h"

#include "bank/sound_resource.h"

namespace calyx::audio {

int playSample(const WaveDeviceLink* link, bool looping, PlayHeader& header, const std::uint8_t* data,
               std::uint32_t length, std::uint32_t volume) {
    WaveHandle device = nullptr;
    if (!sendWaveRequest(link, requestDevice, device) || !device) return 1;
    header.data = data;
    header.bufferLength = length;
    header.bytesRecorded = 0;
    header.user = 0;
    header.next = nullptr;
    header.reserved = 0;
    if (looping) {
        // The buffer is a loop by itself, repeated until it is stopped.
        header.flags = header_flag::beginLoop | header_flag::endLoop;
        header.loops = endlessLoops;
    } else {
        header.flags = 0;
        header.loops = 0;
    }
    device->prepare(header);
    // Set before every play: it applies to all the device plays from now on.
    device->setVolume(volume);
    device->write(header);
    return 1;
}

int stopSample(const WaveDeviceLink* link, PlayHeader& header) {
    WaveHandle device = nullptr;
    if (!sendWaveRequest(link, requestDevice, device) || !device) return 0;
    const DeviceResult reset = device->reset();
    device->unprepare(header);
    return reset == DeviceResult::Ok ? 1 : 0;
}

int playSample(const bank::SoundResource& resource, PlayHeader& header, const std::uint8_t* data,
               std::uint32_t length, std::uint32_t volume) {
    return playSample(resource.owner(), resource.isLooping(), header, data, length, volume);
}

int stopSample(const bank::SoundResource& resource, PlayHeader& header) {
    return stopSample(resource.owner(), header);
}

}  // namespace calyx::audio
