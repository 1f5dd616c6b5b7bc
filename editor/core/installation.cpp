#include "editor/core/installation.h"

#include <cctype>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/profile.h"

namespace calyx::editor {

namespace {

constexpr std::string_view iniRelativePath = "\\Ornwick\\Ornwick.Ini";
constexpr std::string_view secondGameSection = "TQ2";
constexpr std::string_view firstGameSection = "K7TQ";
constexpr std::string_view directoryKey = "Directory";
constexpr std::string_view languageKey = "Language";
// The default that marks a value as not recorded; compared with case.
constexpr std::string_view absentValue = "NULL";
constexpr std::size_t valueBufferSize = 256;

constexpr std::string_view secondGameSoundFolder = "Datab\\Resson";
constexpr std::string_view firstGameSoundFolder = "K7Datab\\Resson";
constexpr std::string_view secondGameDataFolder = "datab";
constexpr std::string_view firstGameDataFolder = "K7datab";
constexpr std::string_view stringsFileInDataFolder = "\\resson\\strings.dat";

std::string readValue(std::string_view section, std::string_view key, const std::string& iniPath) {
    std::string value = platform::getProfileString(section, key, absentValue, valueBufferSize, iniPath);
    return value == absentValue ? std::string() : value;
}

std::string readDirectory(std::string_view section, const std::string& iniPath) {
    return platform::withTrailingSeparator(readValue(section, directoryKey, iniPath));
}

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string sharedIniPath() {
    const std::string windows = platform::windowsDirectory();
    return windows.empty() ? std::string() : windows + std::string(iniRelativePath);
}

void ReadInstallation(Installation& installation) {
    installation = {};
    const std::string iniPath = sharedIniPath();
    if (iniPath.empty() || !FileExists(iniPath)) return;

    installation.tq2Dir = readDirectory(secondGameSection, iniPath);
    installation.tq2Language = readValue(secondGameSection, languageKey, iniPath);
    installation.k7Dir = readDirectory(firstGameSection, iniPath);
    installation.k7Language = readValue(firstGameSection, languageKey, iniPath);

    const std::string& directory = installation.tq2Dir.empty() ? installation.k7Dir : installation.tq2Dir;
    if (directory.empty()) return;
    if (isDriveLetter(directory.front())) {
        platform::setCurrentDrive(directory.front());  // a drive that cannot be entered is not fatal
    } else if (directory.front() != '/') {
        return;
    }
    // Only the file dialogs' starting folder depends on this: a failure is ignored.
    platform::setCurrentDirectory(soundFolderPath(installation));
}

std::string soundFolderPath(const Installation& installation) {
    if (!installation.tq2Dir.empty()) return installation.tq2Dir + std::string(secondGameSoundFolder);
    if (!installation.k7Dir.empty()) return installation.k7Dir + std::string(firstGameSoundFolder);
    return {};
}

InstallInfo GetInstallInfo(const Installation& installation) {
    return {installation.k7Dir, installation.tq2Dir, &installation.k7Language, &installation.tq2Language};
}

std::string gameStringsPath(const Installation& installation) {
    if (!installation.tq2Dir.empty())
        return installation.tq2Dir + std::string(secondGameDataFolder) + std::string(stringsFileInDataFolder);
    return installation.k7Dir + std::string(firstGameDataFolder) + std::string(stringsFileInDataFolder);
}

bool FileExists(std::string_view path) {
    platform::File file;
    if (!file.open(path, platform::File::Mode::Read)) return false;
    file.close();
    return true;
}

}  // namespace calyx::editor
