// Profile (INI) files on Windows: the system's own profile functions.
#include "platform/profile.h"

#include "platform/win32.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace calyx::platform {
namespace {

DWORD clampedSize(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
}

}  // namespace

std::size_t getProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, char* buffer, std::size_t size,
                             std::string_view iniPath) {
    if (size == 0 || buffer == nullptr) return 0;
    return ::GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                      std::string(defaultValue).c_str(), buffer, clampedSize(size),
                                      std::string(iniPath).c_str());
}

std::string getProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, std::size_t size,
                             std::string_view iniPath) {
    if (size == 0) return {};
    std::vector<char> buffer(size);
    const std::size_t length = getProfileString(section, key, defaultValue, buffer.data(), size, iniPath);
    return std::string(buffer.data(), length);
}

int getProfileInt(std::string_view section, std::string_view key, int defaultValue,
                  std::string_view iniPath) {
    return static_cast<int>(::GetPrivateProfileIntA(std::string(section).c_str(), std::string(key).c_str(),
                                                    defaultValue, std::string(iniPath).c_str()));
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view iniPath) {
    return ::WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                        std::string(value).c_str(), std::string(iniPath).c_str()) != 0;
}

}  // namespace calyx::platform
