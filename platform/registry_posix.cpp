#include "platform/registry.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/read_file.h"
#include "platform/safe_replace.h"

namespace calyx::platform {
namespace {

// A registry bigger than this is not read (a real one is a few megabytes).
constexpr std::size_t maxRegistryBytes = std::size_t{256} << 20;
constexpr std::string_view software = "Software";
constexpr std::string_view wow64Node = "Wow6432Node";

struct OpenKey {
    RegistryPath path;  // as the program named it, below HKEY_LOCAL_MACHINE
    std::uint32_t access;
};

struct HandleTable {
    std::mutex mutex;
    std::map<RegistryKey, OpenKey> keys;
    RegistryKey next = 0x100;
};

HandleTable& table() {
    static HandleTable instance;
    return instance;
}

std::optional<std::string> readRegistry() {
    ReadFileResult read = readFile(registryFilePath(), maxRegistryBytes);
    if (!read) return std::nullopt;
    return std::move(read.bytes);
}

// The path where the key lives in the file: a 32-bit program's view of a
// 64-bit machine puts SOFTWARE's sub-keys under Wow6432Node.
RegistryPath storedPath(const RegistryPath& path, bool win64) {
    if (!win64 || path.size() < 2 || !equalsNoCase(path[0], software) ||
        equalsNoCase(path[1], wow64Node))
        return path;
    RegistryPath mapped = path;
    mapped.insert(mapped.begin() + 1, std::string(wow64Node));
    return mapped;
}

// `base` extended by the '\'-separated names of `subKey`; nothing for an
// empty name between separators.
std::optional<RegistryPath> joined(const RegistryPath& base, std::string_view subKey) {
    RegistryPath path = base;
    while (!subKey.empty() && subKey.front() == '\\') subKey.remove_prefix(1);
    while (!subKey.empty()) {
        const std::size_t cut = subKey.find('\\');
        const std::string_view name = subKey.substr(0, cut);
        if (name.empty()) return std::nullopt;
        path.emplace_back(name);
        if (cut == std::string_view::npos) break;
        subKey.remove_prefix(cut + 1);
    }
    return path;
}

std::optional<OpenKey> lookUp(RegistryKey key) {
    if (key == localMachine) return OpenKey{{}, keyAllAccess};
    auto& handles = table();
    std::lock_guard lock(handles.mutex);
    auto found = handles.keys.find(key);
    if (found == handles.keys.end()) return std::nullopt;
    return found->second;
}

RegistryKey remember(OpenKey key) {
    auto& handles = table();
    std::lock_guard lock(handles.mutex);
    const RegistryKey handle = handles.next++;
    handles.keys.emplace(handle, std::move(key));
    return handle;
}

}  // namespace

std::string registryFilePath() { return winePrefix() + "/system.reg"; }

long regOpenKeyEx(RegistryKey parent, std::string_view subKey, std::uint32_t access,
                  RegistryKey& result) {
    result = 0;
    const auto base = lookUp(parent);
    if (!base) return regInvalidHandle;
    const auto path = joined(base->path, subKey);
    if (!path) return regNotFound;
    const auto text = readRegistry();
    if (!text) return regNotFound;
    const RegistryText registry(*text);
    if (!registry.keyExists(storedPath(*path, registry.isWin64()))) return regNotFound;
    result = remember({*path, access});
    return regSuccess;
}

long regCreateKey(RegistryKey parent, std::string_view subKey, RegistryKey& result) {
    result = 0;
    const auto base = lookUp(parent);
    if (!base) return regInvalidHandle;
    const auto path = joined(base->path, subKey);
    if (!path) return regInvalidParameter;
    if (path->size() > base->path.size() && !(base->access & keyCreateSubKey)) return regAccessDenied;
    const auto text = readRegistry();
    if (!text) return regWriteFault;
    RegistryText registry(*text);
    const RegistryPath stored = storedPath(*path, registry.isWin64());
    if (!registry.keyExists(stored)) {
        if (!registry.hasHeader()) return regWriteFault;
        registry.createKey(stored, RegistryTime::now());
        if (!replaceFileContents(registryFilePath(), registry.text())) return regWriteFault;
    }
    result = remember({*path, keyAllAccess});
    return regSuccess;
}

long regSetValueEx(RegistryKey key, std::string_view name, RegistryType type, const void* data,
                   std::size_t size) {
    const auto open = lookUp(key);
    if (!open) return regInvalidHandle;
    if (!(open->access & keySetValue)) return regAccessDenied;
    if (open->path.empty()) return regInvalidParameter;  // the root holds no values of its own
    if (data == nullptr && size != 0) return regInvalidParameter;
    const auto text = readRegistry();
    if (!text) return regWriteFault;
    RegistryText registry(*text);
    if (!registry.hasHeader()) return regWriteFault;
    const RegistryPath stored = storedPath(open->path, registry.isWin64());
    if (!registry.keyExists(stored)) return regNotFound;  // deleted behind our back
    const std::string_view bytes(static_cast<const char*>(data), size);
    registry.setValue(stored, name, type, bytes, RegistryTime::now());
    return replaceFileContents(registryFilePath(), registry.text()) ? regSuccess : regWriteFault;
}

long regFlushKey(RegistryKey key) { return lookUp(key) ? regSuccess : regInvalidHandle; }

long regCloseKey(RegistryKey key) {
    if (key == localMachine) return regSuccess;
    auto& handles = table();
    std::lock_guard lock(handles.mutex);
    return handles.keys.erase(key) ? regSuccess : regInvalidHandle;
}

}  // namespace calyx::platform
