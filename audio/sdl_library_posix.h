// SDL2, loaded when a device is first opened rather than when the program
// starts: the programs' other commands then start without the sound
// library and the dozens of libraries it pulls in. Only the few functions
// the wave-output device calls are looked up.
#pragma once

#include <SDL.h>

#include <memory>

namespace calyx::audio {

// The shared library loaded for sound on this system.
inline constexpr const char* systemSdlLibrary = "libSDL2-2.0.so.0";

struct SdlLibrary {
    decltype(&SDL_SetHint) setHint;
    decltype(&SDL_InitSubSystem) initSubSystem;
    decltype(&SDL_QuitSubSystem) quitSubSystem;
    decltype(&SDL_OpenAudioDevice) openAudioDevice;
    decltype(&SDL_CloseAudioDevice) closeAudioDevice;
    decltype(&SDL_PauseAudioDevice) pauseAudioDevice;
    decltype(&SDL_LockAudioDevice) lockAudioDevice;
    decltype(&SDL_UnlockAudioDevice) unlockAudioDevice;

    // The library named `name` with every function found, or nothing when
    // it is missing or lacks one of them. It stays loaded for the life of
    // the process (SDL's threads may still run code of it).
    static std::unique_ptr<const SdlLibrary> load(const char* name);
    // The system's SDL, loaded at the first call; nothing when it is missing.
    static const SdlLibrary* system();
};

}  // namespace calyx::audio
