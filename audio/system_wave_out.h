// The wave-output device of the system the program runs on.
#pragma once

#include <memory>

#include "audio/wave_out_device.h"

namespace calyx::audio {

std::unique_ptr<WaveOutDevice> makeSystemWaveOut();

}  // namespace calyx::audio
