#include "audio/soxr_library.h"

#include <memory>

#include "platform/shared_library.h"

namespace calyx::audio {
namespace {

constexpr const char* systemSoxrLibrary = "libsoxr.so.0";

std::unique_ptr<const SoxrLibrary> load() {
    std::unique_ptr<platform::SharedLibrary> shared = platform::SharedLibrary::open(systemSoxrLibrary);
    if (!shared) return nullptr;
    auto library = std::make_unique<SoxrLibrary>();
    if (!shared->find("soxr_create", library->create) || !shared->find("soxr_process", library->process) ||
        !shared->find("soxr_delete", library->destroy))
        return nullptr;
    shared->keepLoaded();
    return library;
}

}  // namespace

const SoxrLibrary* SoxrLibrary::system() {
    static const std::unique_ptr<const SoxrLibrary> library = load();
    return library.get();
}

}  // namespace calyx::audio
