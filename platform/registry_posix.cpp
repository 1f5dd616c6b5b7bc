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
constexpr std::size_t kMaxRegistryBytes = std::size_t{256} << 20;
constexpr std::string_view kSoftware = "Software";
constexpr std::string_view kWow64Node = "Wow6432Node";

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
    ReadFileResult read = readFile(registryFilePath(), kMaxRegistryBytes);
    if (!read) return std::nullopt;
    return std::move(read.bytes);
}

// The path where the key lives in the file: a 32-bit program's view of a
// 64-bit machine puts SOFTWARE's sub-keys under Wow6432Node.
RegistryPath storedPath(const RegistryPath& path, bool win64) {
    if (!win64 || path.size() < 2 || !equalsNoCase(path[0], kSoftware) ||
        equalsNoCase(path[1], kWow64Node))
        return path;
    RegistryPath mapped = path;
    mapped.insert(mapped.begin() + 1, std::string(kWow64Node));
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
    if (key == kLocalMachine) return OpenKey{{}, kKeyAllAccess};
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
    if (!base) return kRegInvalidHandle;
    const auto path = joined(base->path, subKey);
    if (!path) return kRegNotFound;
    const auto text = readRegistry();
    if (!text) return kRegNotFound;
    const RegistryText registry(*text);
    if (!registry.keyExists(storedPath(*path, registry.isWin64()))) return kRegNotFound;
    result = remember({*path, access});
    return kRegSuccess;
}

long regCreateKey(RegistryKey parent, std::string_view subKey, RegistryKey& result) {
    result = 0;
    const auto base = lookUp(parent);
    if (!base) return kRegInvalidHandle;
    const auto path = joined(base->path, subKey);
    if (!path) return kRegInvalidParameter;
    if (path->size() > base->path.size() && !(base->access & kKeyCreateSubKey)) return kRegAccessDenied;
    const auto text = readRegistry();
    if (!text) return kRegWriteFault;
    RegistryText registry(*text);
    const RegistryPath stored = storedPath(*path, registry.isWin64());
    if (!registry.keyExists(stored)) {
        if (!registry.hasHeader()) return kRegWriteFault;
        registry.createKey(stored, RegistryTime::now());
        if (!replaceFileContents(registryFilePath(), registry.text())) return kRegWriteFault;
    }
    result = remember({*path, kKeyAllAccess});
    return kRegSuccess;
}

long regSetValueEx(RegistryKey key, std::string_view name, RegistryType type, const void* data,
                   std::size_t size) {
    const auto open = lookUp(key);
    if (!open) return kRegInvalidHandle;
    if (!(open->access & kKeySetValue)) return kRegAccessDenied;
    if (open->path.empty()) return kRegInvalidParameter;  // the root holds no values of its own
    if (data == nullptr && size != 0) return kRegInvalidParameter;
    const auto text = readRegistry();
    if (!text) return kRegWriteFault;
    RegistryText registry(*text);
    if (!registry.hasHeader()) return kRegWriteFault;
    const RegistryPath stored = storedPath(open->path, registry.isWin64());
    if (!registry.keyExists(stored)) return kRegNotFound;  // deleted behind our back
    const std::string_view bytes(static_cast<const char*>(data), size);
    registry.setValue(stored, name, type, bytes, RegistryTime::now());
    return replaceFileContents(registryFilePath(), registry.text()) ? kRegSuccess : kRegWriteFault;
}

long regFlushKey(RegistryKey key) { return lookUp(key) ? kRegSuccess : kRegInvalidHandle; }

long regCloseKey(RegistryKey key) {
    if (key == kLocalMachine) return kRegSuccess;
    auto& handles = table();
    std::lock_guard lock(handles.mutex);
    return handles.keys.erase(key) ? kRegSuccess : kRegInvalidHandle;
}

}  // namespace calyx::platform
