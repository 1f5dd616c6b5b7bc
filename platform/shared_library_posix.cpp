#include "platform/shared_library.h"

#include <dlfcn.h>

namespace calyx::platform {

std::unique_ptr<SharedLibrary> SharedLibrary::open(const char* name) {
    void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() {
    if (handle_) dlclose(handle_);
}

void (*SharedLibrary::address(const char* name) const)() {
    return reinterpret_cast<void (*)()>(dlsym(handle_, name));
}

}  // namespace calyx::platform
