// Callbacks registered under handles: each hears every call, in the order
// they were added, and whoever added one takes it back by its handle. The
// bank's change listeners and the bank document's listeners are such lists.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace calyx::bank {

template <typename... Args>
class ListenerList {
public:
    using Listener = std::function<void(Args...)>;

    // Answers the handle that removes it.
    int add(Listener listener) {
        const int handle = nextHandle_++;
        listeners_.emplace_back(handle, std::move(listener));
        return handle;
    }
    void remove(int handle) {
        std::erase_if(listeners_, [handle](const auto& entry) { return entry.first == handle; });
    }
    void clear() { listeners_.clear(); }
    void notify(Args... args) const {
        for (const auto& [handle, listener] : listeners_) listener(args...);
    }

private:
    std::vector<std::pair<int, Listener>> listeners_;
    int nextHandle_ = 1;
};

}  // namespace calyx::bank
