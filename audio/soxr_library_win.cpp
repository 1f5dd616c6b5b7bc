#include "audio/soxr_library.h"

namespace calyx::audio {

const SoxrLibrary* SoxrLibrary::system() {
    static const SoxrLibrary linkedIn{&soxr_create, &soxr_process, &soxr_delete};
    return &linkedIn;
}

}  // namespace calyx::audio
