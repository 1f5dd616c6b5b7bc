// A shared library loaded by name while the program runs, for what the
// programs use only now and then (the sound library, the resampler): a
// program that never needs it neither loads it nor fails when it is missing.
#pragma once

#include <memory>

namespace calyx::platform {

class SharedLibrary {
public:
    // The library, or nothing when it cannot be loaded.
    static std::unique_ptr<SharedLibrary> open(const char* name);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    ~SharedLibrary();

    // Finds `name` and stores it in `function`; false when it is missing.
    template <class Function>
    bool find(const char* name, Function& function) const {
        function = reinterpret_cast<Function>(address(name));
        return function != nullptr;
    }

    // Keeps the library loaded for the life of the process: code of it may
    // still run on threads it started.
    void keepLoaded() { handle_ = nullptr; }

private:
    explicit SharedLibrary(void* handle) : handle_(handle) {}
    void (*address(const char* name) const)();

    void* handle_;
};

}  // namespace calyx::platform
