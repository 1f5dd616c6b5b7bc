// Rounding to the nearest integer, halves to the even one, as nearbyint
// does in the default rounding mode. Written out because nearbyint is the
// only function the programs would take from the maths library, which the
// system would then load at every start.
#pragma once

namespace calyx::audio {

// Exact for |x| < 2^51; larger values come back large with the same sign.
// Adding 1.5 * 2^52 leaves the sum no bits below the units, so the
// processor rounds it there; taking it away again is exact.
inline double nearestInteger(double x) {
    constexpr double noFraction = 6755399441055744.0;  // 1.5 * 2^52
    return x < 0x1p51 && x > -0x1p51 ? (x + noFraction) - noFraction : x;
}

}  // namespace calyx::audio
