// The machine-wide registry on Windows: the system's own registry calls. The
// small handles of registry.h stand for the system's key handles. Keys are
// opened and created in the 32-bit view (KEY_WOW64_32KEY): the game is a
// 32-bit program, and on 64-bit Windows its HKLM\Software keys live there
// (Software\Wow6432Node), as the Linux side writes them in a 64-bit prefix.
#include "platform/registry.h"

#include "platform/win32.h"

#include <map>
#include <mutex>
#include <string>

namespace calyx::platform {
namespace {

struct HandleTable {
    std::mutex mutex;
    std::map<RegistryKey, HKEY> keys;
    RegistryKey next = 0x100;
};

HandleTable& table() {
    static HandleTable instance;
    return instance;
}

HKEY systemKey(RegistryKey key) {
    if (key == localMachine) return HKEY_LOCAL_MACHINE;
    auto& handles = table();
    std::lock_guard lock(handles.mutex);
    auto found = handles.keys.find(key);
    return found == handles.keys.end() ? nullptr : found->second;
}

RegistryKey remember(HKEY key) {
    auto& handles = table();
    std::lock_guard lock(handles.mutex);
    const RegistryKey handle = handles.next++;
    handles.keys.emplace(handle, key);
    return handle;
}

}  // namespace

std::string registryFilePath() { return {}; }

long regOpenKeyEx(RegistryKey parent, std::string_view subKey, std::uint32_t access,
                  RegistryKey& result) {
    result = 0;
    HKEY base = systemKey(parent);
    if (!base) return regInvalidHandle;
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(base, std::string(subKey).c_str(), 0, access | KEY_WOW64_32KEY, &opened);
    if (status == ERROR_SUCCESS) result = remember(opened);
    return status;
}

long regCreateKey(RegistryKey parent, std::string_view subKey, RegistryKey& result) {
    result = 0;
    HKEY base = systemKey(parent);
    if (!base) return regInvalidHandle;
    HKEY created = nullptr;
    const LONG status = ::RegCreateKeyExA(base, std::string(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS) result = remember(created);
    return status;
}

long regSetValueEx(RegistryKey key, std::string_view name, RegistryType type, const void* data,
                   std::size_t size) {
    HKEY open = systemKey(key);
    if (!open) return regInvalidHandle;
    if (data == nullptr && size != 0) return regInvalidParameter;
    std::string bytes(static_cast<const char*>(data), size);
    const bool text = type == RegistryType::String || type == RegistryType::ExpandString ||
                      type == RegistryType::MultiString;
    // Strings are stored with their terminating zero, counted or not.
    if (text && (bytes.empty() || bytes.back() != '\0')) bytes += '\0';
    return ::RegSetValueExA(open, std::string(name).c_str(), 0, static_cast<DWORD>(type),
                            reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
}

long regFlushKey(RegistryKey key) {
    HKEY open = systemKey(key);
    return open ? ::RegFlushKey(open) : regInvalidHandle;
}

long regCloseKey(RegistryKey key) {
    if (key == localMachine) return regSuccess;
    HKEY open = nullptr;
    {
        auto& handles = table();
        std::lock_guard lock(handles.mutex);
        auto found = handles.keys.find(key);
        if (found == handles.keys.end()) return regInvalidHandle;
        open = found->second;
        handles.keys.erase(found);
    }
    return ::RegCloseKey(open);
}

}  // namespace calyx::platform
