#include "patcher/settings_updates.h"

#include <string>

#include "patcher/patch_texts.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace calyx::patcher {
namespace {

constexpr std::string_view tripleBufferingKey = "TripleBuffering";
constexpr std::string_view tripleBufferingOn = "YES";
constexpr std::string_view tripleBufferingOff = "NO";
constexpr std::size_t tripleBufferingBuffer = 7;

constexpr std::string_view softwareKey = "SOFTWARE";
constexpr std::string_view makerKey = "Ornwick";
constexpr std::string_view serviceKey = "Arcnet Games";
constexpr std::string_view gameKey = "VLM2";
constexpr std::string_view directoryValue = "directory";
constexpr std::string_view execValue = "exec";
constexpr std::string_view versionValue = "version";
constexpr std::string_view dataFolder = "Datab\\ANData";
constexpr std::string_view debugProgramName = "vlm_d.exe";
constexpr std::string_view debugCommand = "vlm_d.exe|-anRun";
constexpr std::string_view releaseCommand = "vlm_v.exe|-anRun";

constexpr std::string_view soundSettingsFile = "Kpe\\DLL\\snd_kpe.ini";
constexpr std::string_view soundSection = "Options";
constexpr std::string_view saturationKey = "SXD_DIST_SATUR";
constexpr std::string_view fadeKey = "SXD_DIST_FADE";
constexpr int oldSaturation = 2;
constexpr std::string_view newSaturation = "8";
constexpr std::string_view newFade = "64";

// Closes a key handle when it goes out of scope.
class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle() { close(); }
    void close() {
        if (key_) platform::regCloseKey(key_);
        key_ = 0;
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    platform::RegistryKey& out() { return key_; }
    platform::RegistryKey get() const { return key_; }

private:
    platform::RegistryKey key_ = 0;
};

bool openOrCreate(platform::RegistryKey parent, std::string_view name, std::uint32_t access,
                  KeyHandle& key) {
    return platform::regOpenKeyEx(parent, name, access, key.out()) == platform::regSuccess ||
           platform::regCreateKey(parent, name, key.out()) == platform::regSuccess;
}

void setText(platform::RegistryKey key, std::string_view name, std::string_view text) {
    platform::regSetValueEx(key, name, platform::RegistryType::String, text.data(), text.size());
}

}  // namespace

void updateTripleBuffering(std::string_view iniPath) {
    const std::string value = platform::getProfileString(
        texts::gameSection, tripleBufferingKey, tripleBufferingOff, tripleBufferingBuffer, iniPath);
    if (value != tripleBufferingOn)
        platform::writeProfileString(texts::gameSection, tripleBufferingKey, tripleBufferingOff,
                                     iniPath);
}

void UpdateRegistry(std::string_view gameDirectory, std::string_view programFile,
                    std::string_view version) {
    using namespace platform;
    KeyHandle maker;
    {
        KeyHandle software;
        if (regOpenKeyEx(localMachine, softwareKey, keyRead, software.out()) != regSuccess) return;
        if (regOpenKeyEx(software.get(), makerKey, keyRead | keyCreateSubKey, maker.out()) !=
            regSuccess)
            return;
    }
    KeyHandle service;
    const bool serviceOpen = openOrCreate(maker.get(), serviceKey, keyRead | keyCreateSubKey, service);
    maker.close();
    if (!serviceOpen) return;
    KeyHandle game;
    if (!openOrCreate(service.get(), gameKey, keyRead | keySetValue, game)) return;

    const std::string directory = std::string(gameDirectory) + std::string(dataFolder);
    const bool debugProgram = programFile.substr(0, debugProgramName.size()) == debugProgramName;
    const std::string exec =
        std::string(gameDirectory) + std::string(debugProgram ? debugCommand : releaseCommand);
    setText(game.get(), directoryValue, directory);
    setText(game.get(), execValue, exec);
    setText(game.get(), versionValue, version);
    regFlushKey(game.get());
}

void updateSoundSettings(std::string_view gameDirectory) {
    const std::string file = std::string(gameDirectory) + std::string(soundSettingsFile);
    if (platform::getProfileInt(soundSection, saturationKey, oldSaturation, file) != oldSaturation)
        return;
    platform::writeProfileString(soundSection, saturationKey, newSaturation, file);
    platform::writeProfileString(soundSection, fadeKey, newFade, file);
}

}  // namespace calyx::patcher
