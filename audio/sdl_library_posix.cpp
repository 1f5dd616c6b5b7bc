#include "audio/sdl_library_posix.h"

#include "platform/shared_library.h"

namespace calyx::audio {

std::unique_ptr<const SdlLibrary> SdlLibrary::load(const char* name) {
    std::unique_ptr<platform::SharedLibrary> shared = platform::SharedLibrary::open(name);
    if (!shared) return nullptr;
    auto library = std::make_unique<SdlLibrary>();
    const bool complete = shared->find("SDL_SetHint", library->setHint) &&
                          shared->find("SDL_InitSubSystem", library->initSubSystem) &&
                          shared->find("SDL_QuitSubSystem", library->quitSubSystem) &&
                          shared->find("SDL_OpenAudioDevice", library->openAudioDevice) &&
                          shared->find("SDL_CloseAudioDevice", library->closeAudioDevice) &&
                          shared->find("SDL_PauseAudioDevice", library->pauseAudioDevice) &&
                          shared->find("SDL_LockAudioDevice", library->lockAudioDevice) &&
                          shared->find("SDL_UnlockAudioDevice", library->unlockAudioDevice);
    if (!complete) return nullptr;
    shared->keepLoaded();
    return library;
}

const SdlLibrary* SdlLibrary::system() {
    static const std::unique_ptr<const SdlLibrary> library = load(systemSdlLibrary);
    return library.get();
}

}  // namespace calyx::audio
