#include "patcher/settings_updates.h"

#include <string>

#include "patcher/patch_texts.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace calyx::patcher {
namespace {

constexpr std::string_view kTripleBufferingKey = "TripleBuffering";
constexpr std::string_view kTripleBufferingOn = "YES";
constexpr std::string_view kTripleBufferingOff = "NO";
constexpr std::size_t kTripleBufferingBuffer = 7;

constexpr std::string_view kSoftwareKey = "SOFTWARE";
constexpr std::string_view kMakerKey = "Ornwick";
constexpr std::string_view kServiceKey = "Arcnet Games";
constexpr std::string_view kGameKey = "VLM2";
constexpr std::string_view kDirectoryValue = "directory";
constexpr std::string_view kExecValue = "exec";
constexpr std::string_view kVersionValue = "version";
constexpr std::string_view kDataFolder = "Datab\\ANData";
constexpr std::string_view kDebugProgram = "vlm_d.exe";
constexpr std::string_view kDebugCommand = "vlm_d.exe|-anRun";
constexpr std::string_view kReleaseCommand = "vlm_v.exe|-anRun";

constexpr std::string_view kSoundSettingsFile = "Kpe\\DLL\\snd_kpe.ini";
constexpr std::string_view kSoundSection = "Options";
constexpr std::string_view kSaturationKey = "SXD_DIST_SATUR";
constexpr std::string_view kFadeKey = "SXD_DIST_FADE";
constexpr int kOldSaturation = 2;
constexpr std::string_view kNewSaturation = "8";
constexpr std::string_view kNewFade = "64";

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
    return platform::regOpenKeyEx(parent, name, access, key.out()) == platform::kRegSuccess ||
           platform::regCreateKey(parent, name, key.out()) == platform::kRegSuccess;
}

void setText(platform::RegistryKey key, std::string_view name, std::string_view text) {
    platform::regSetValueEx(key, name, platform::RegistryType::String, text.data(), text.size());
}

}  // namespace

void updateTripleBuffering(std::string_view iniPath) {
    const std::string value = platform::getProfileString(
        texts::kGameSection, kTripleBufferingKey, kTripleBufferingOff, kTripleBufferingBuffer, iniPath);
    if (value != kTripleBufferingOn)
        platform::writeProfileString(texts::kGameSection, kTripleBufferingKey, kTripleBufferingOff,
                                     iniPath);
}

void UpdateRegistry(std::string_view gameDirectory, std::string_view programFile,
                    std::string_view version) {
    using namespace platform;
    KeyHandle maker;
    {
        KeyHandle software;
        if (regOpenKeyEx(kLocalMachine, kSoftwareKey, kKeyRead, software.out()) != kRegSuccess) return;
        if (regOpenKeyEx(software.get(), kMakerKey, kKeyRead | kKeyCreateSubKey, maker.out()) !=
            kRegSuccess)
            return;
    }
    KeyHandle service;
    const bool serviceOpen = openOrCreate(maker.get(), kServiceKey, kKeyRead | kKeyCreateSubKey, service);
    maker.close();
    if (!serviceOpen) return;
    KeyHandle game;
    if (!openOrCreate(service.get(), kGameKey, kKeyRead | kKeySetValue, game)) return;

    const std::string directory = std::string(gameDirectory) + std::string(kDataFolder);
    const bool debugProgram = programFile.substr(0, kDebugProgram.size()) == kDebugProgram;
    const std::string exec =
        std::string(gameDirectory) + std::string(debugProgram ? kDebugCommand : kReleaseCommand);
    setText(game.get(), kDirectoryValue, directory);
    setText(game.get(), kExecValue, exec);
    setText(game.get(), kVersionValue, version);
    regFlushKey(game.get());
}

void updateSoundSettings(std::string_view gameDirectory) {
    const std::string file = std::string(gameDirectory) + std::string(kSoundSettingsFile);
    if (platform::getProfileInt(kSoundSection, kSaturationKey, kOldSaturation, file) != kOldSaturation)
        return;
    platform::writeProfileString(kSoundSection, kSaturationKey, kNewSaturation, file);
    platform::writeProfileString(kSoundSection, kFadeKey, kNewFade, file);
}

}  // namespace calyx::patcher
