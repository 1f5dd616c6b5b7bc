#include "platform/shared_library.h"

#include "platform/win32.h"

namespace calyx::platform {

std::unique_ptr<SharedLibrary> SharedLibrary::open(const char* name) {
    HMODULE handle = LoadLibraryA(name);
    if (!handle) return nullptr;
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

void (*SharedLibrary::address(const char* name) const)() {
    return reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace calyx::platform
