// When a long job shows its progress: never within the delay, from the
// first step after it, and no more once the job is done.
#include <gtest/gtest.h>

#include "editor/core/progress_delay.h"

namespace calyx::editor {
namespace {

using namespace std::chrono_literals;
using Clock = ProgressDelay::Clock;

TEST(ProgressDelay, AJobWithinHalfASecondNeverShows) {
    const Clock::time_point start{};
    ProgressDelay delay(start);
    EXPECT_FALSE(delay.shows(start, 0, 10));
    EXPECT_FALSE(delay.shows(start + 300ms, 5, 10));
    EXPECT_FALSE(delay.shows(start + 500ms, 9, 10));  // exactly the delay is not longer than it
    EXPECT_FALSE(delay.shows(start + 700ms, 10, 10));  // done: nothing left to show
}

TEST(ProgressDelay, ALongerJobShowsFromTheFirstStepPastTheDelayUntilDone) {
    const Clock::time_point start{};
    ProgressDelay delay(start);
    EXPECT_FALSE(delay.shows(start + 100ms, 1, 100));
    EXPECT_TRUE(delay.shows(start + 501ms, 2, 100));
    EXPECT_TRUE(delay.shows(start + 900ms, 50, 100));
    EXPECT_FALSE(delay.shows(start + 2s, 100, 100));
}

TEST(ProgressDelay, AJobOfUnknownLengthShowsAfterTheDelay) {
    const Clock::time_point start{};
    ProgressDelay delay(start, 200ms);
    EXPECT_FALSE(delay.shows(start + 100ms, 0, 0));
    EXPECT_TRUE(delay.shows(start + 250ms, 3, 0));
}

}  // namespace
}  // namespace calyx::editor
