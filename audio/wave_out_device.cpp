#include "audio/wave_out_device.h"

namespace calyx::audio {

WaveOutDevice::~WaveOutDevice() = default;

}  // namespace calyx::audio
