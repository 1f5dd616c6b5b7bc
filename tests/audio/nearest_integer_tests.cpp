// The rounding of converted samples matches nearbyint's, halves included,
// so that a WAV file written from floats keeps its bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/nearest_integer.h"

namespace calyx {
namespace {

using audio::nearestInteger;

TEST(NearestInteger, RoundsAsNearbyintDoes) {
    // Halves go to the even neighbour; the rest to the nearer one.
    for (double x : {0.0, -0.0, 0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 0.49999999999999994, 32767.5, -32768.5, 32766.5,
                     1e15 + 0.5, 0x1p51 - 0.5, -0x1p51 + 0.5, 0x1p51, 0x1p52 + 2, -0x1p60, 1e300,
                     std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()})
        EXPECT_EQ(nearestInteger(x), std::nearbyint(x)) << x;
    // Every float sample scaled to 16 bits, in steps that land on halves,
    // quarters and the values between.
    for (int i = -140000; i <= 140000; ++i) {
        const double x = double{static_cast<float>(i) / 131072.0f} * 32768.0 + i * 1e-7;
        ASSERT_EQ(nearestInteger(x), std::nearbyint(x)) << x;
    }
}

}  // namespace
}  // namespace calyx
