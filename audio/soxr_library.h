// The resampler library, as the rate conversion calls it. On Linux it is
// loaded at the first conversion, so that the programs' other commands start
// without it (and the threading runtime it brings); elsewhere it is linked in.
#pragma once

#include <soxr.h>

namespace calyx::audio {

struct SoxrLibrary {
    decltype(&soxr_create) create;
    decltype(&soxr_process) process;
    decltype(&soxr_delete) destroy;

    // The resampler, or nothing when it is missing.
    static const SoxrLibrary* system();
};

}  // namespace calyx::audio
