// The machine-wide registry (HKEY_LOCAL_MACHINE), shaped like the Windows
// calls RegOpenKeyExA, RegCreateKeyA, RegSetValueExA, RegFlushKey and
// RegCloseKey: results are Windows error codes, keys are small handles.
//
// On Linux the store is the Wine prefix's system.reg (<winePrefix()>/system.reg)
// so that programs running in that prefix see what is written. Key names
// match without regard to case; a key that does not appear cannot be opened;
// in a 64-bit prefix the 32-bit view applies, so "SOFTWARE\X" is
// "Software\Wow6432Node\X". Every change is written through at once: the file
// is edited where the key lives, everything else kept byte for byte, and
// replaced atomically. A file without Wine's header is never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry_text.h"

namespace calyx::platform {

using RegistryKey = std::uint32_t;

// The predefined root key.
inline constexpr RegistryKey localMachine = 0x80000002u;

// Access rights, with the Windows values.
inline constexpr std::uint32_t keyQueryValue = 0x0001;
inline constexpr std::uint32_t keySetValue = 0x0002;
inline constexpr std::uint32_t keyCreateSubKey = 0x0004;
inline constexpr std::uint32_t keyRead = 0x20019;
inline constexpr std::uint32_t keyWrite = 0x20006;
inline constexpr std::uint32_t keyAllAccess = 0xF003F;

// Results, with the Windows values.
inline constexpr long regSuccess = 0;
inline constexpr long regNotFound = 2;        // ERROR_FILE_NOT_FOUND
inline constexpr long regAccessDenied = 5;    // ERROR_ACCESS_DENIED
inline constexpr long regInvalidHandle = 6;   // ERROR_INVALID_HANDLE
inline constexpr long regWriteFault = 29;     // ERROR_WRITE_FAULT
inline constexpr long regInvalidParameter = 87;

// Opens the existing key `subKey` (names separated by '\', empty for `parent`
// itself) below `parent` with `access`.
long regOpenKeyEx(RegistryKey parent, std::string_view subKey, std::uint32_t access,
                  RegistryKey& result);
// Opens `subKey`, creating it (and any missing key above it) when absent,
// with full access.
long regCreateKey(RegistryKey parent, std::string_view subKey, RegistryKey& result);
// Sets a value of an open key that was opened with keySetValue. For the
// string types `data` is 8-bit text; a final zero byte may be counted or not.
long regSetValueEx(RegistryKey key, std::string_view name, RegistryType type, const void* data,
                   std::size_t size);
// Changes are on disk once they are made; this only checks the handle.
long regFlushKey(RegistryKey key);
long regCloseKey(RegistryKey key);

// The file behind the store (empty on Windows, where the system keeps it).
std::string registryFilePath();

}  // namespace calyx::platform
