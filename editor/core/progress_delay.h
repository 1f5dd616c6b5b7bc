// When a long job (a save, an export of every sample) shows its progress:
// not at all when it ends within the delay, from the first step after the
// delay otherwise, so a quick save never flashes a window.
#pragma once

#include <chrono>
#include <cstdint>

namespace calyx::editor {

inline constexpr std::chrono::milliseconds progressDelay{500};

class ProgressDelay {
public:
    using Clock = std::chrono::steady_clock;

    explicit ProgressDelay(Clock::time_point start, std::chrono::milliseconds delay = progressDelay)
        : start_(start), delay_(delay) {}

    // Whether the progress is to be shown at `now`, with `done` of `total`
    // steps behind it: once shown it stays shown until the job is done.
    bool shows(Clock::time_point now, std::uint64_t done, std::uint64_t total);

private:
    Clock::time_point start_;
    std::chrono::milliseconds delay_;
    bool shown_ = false;
};

}  // namespace calyx::editor
