#include "editor/core/progress_delay.h"

namespace calyx::editor {

bool ProgressDelay::shows(Clock::time_point now, std::uint64_t done, std::uint64_t total) {
    if (total != 0 && done >= total) {
        shown_ = false;
        return false;
    }
    if (!shown_ && now - start_ > delay_) shown_ = true;
    return shown_;
}

}  // namespace calyx::editor
