// SPDX-License-Identifier: MIT
#include "app/flightstate/planeinterface.h"

#include <cmath>

namespace corvane::flightstate {
namespace {

constexpr double kTwoTo32 = 4294967296.0;

// Whole number nearest x (half to even), as a 32-bit value. Values beyond the
// 32-bit range cannot reach the wire; they are held at its ends.
std::int32_t Round32(double x) {
    double r = std::nearbyint(x);
    if (!(r >= -2147483648.0)) return INT32_MIN;
    if (r > 2147483647.0) return INT32_MAX;
    return static_cast<std::int32_t>(r);
}

// A tower position as the simulator reads it: one 48-bit number of units,
// laid as an upper part (whole 2^32 units) and a lower part (the rest).
struct TowerParts {
    std::int32_t upper;
    std::int32_t lower;
};

// Splits the whole number of units nearest x (half to even): the upper part
// counts whole 2^32 units below it, the lower part is the remainder
// (0 .. 2^32-1) as the signed 32-bit value of its bits. Rounding before the
// split carries into the upper part when the remainder rounds up to 2^32
// (rounding the remainder alone would leave the value 2^32 units short).
// Values beyond 2^52 units cannot reach the wire; they are held there.
TowerParts SplitTowerUnits(double x) {
    constexpr double kLimit = 4503599627370496.0;  // 2^52: every whole number exact
    double n = std::nearbyint(x);
    if (!(n >= -kLimit))
        n = -kLimit;  // also not a number
    if (n > kLimit)
        n = kLimit;
    const double upper = std::floor(n / kTwoTo32);
    const double lower = n - upper * kTwoTo32;  // exact, 0 <= lower < 2^32
    return {static_cast<std::int32_t>(upper),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(lower))};
}

}  // namespace

void planeinterface::towerlat(double d) {
    // The 48-bit tower latitude in units of 1 / 7283052089 degree. The upper
    // part is the whole number of 2^32 units below it, so -1 for a small
    // southern latitude, with the lower part completing it.
    const TowerParts parts = SplitTowerUnits(d * 7283052089.0);
    s_.out.towerlatupper = parts.upper;
    s_.out.towerlatlower = parts.lower;
    s_.towerlatpending = kRequestSet;
}

void planeinterface::towerlon(double d) {
    // The tower longitude east from 0 in 65536ths of a circle: the whole part,
    // then the fraction in 2^-32 units. A fraction above one half is laid as
    // a negative number whose bits complete the whole part.
    if (d < 0) d += 360;
    const double v = d * 65536.0 / 360.0;
    const TowerParts parts = SplitTowerUnits(v * kTwoTo32);
    s_.out.towerlonwhole = parts.upper;
    s_.out.towerlonfraction = parts.lower;
    s_.towerlonpending = kRequestSet;
}

void planeinterface::toweralt(double feet) {
    s_.out.toweralt = Round32(feet * 19975.0);
    s_.toweraltpending = kRequestSet;
}

}  // namespace corvane::flightstate
