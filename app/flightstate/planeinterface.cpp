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

}  // namespace

void planeinterface::towerlat(double d) {
    // The 48-bit tower latitude: the upper part is the whole number of 2^32
    // units below x (for x < 0 one less than its whole part, except at an
    // exact multiple of 2^32, where that rule would be one unit too low), the
    // lower part what completes it, as a signed 32-bit value.
    const double x = d * 7283052089.0;
    const double h = std::floor(x / kTwoTo32);
    double l = x - h * kTwoTo32;
    if (l > 2147483647.0) l -= kTwoTo32;
    s_.out.towerlatupper = static_cast<std::int32_t>(h);
    s_.out.towerlatlower = Round32(l);
    s_.towerlatpending = kRequestSet;
}

void planeinterface::towerlon(double d) {
    if (d < 0) d += 360;
    const double v = d * 65536.0 / 360.0;
    const double w = std::floor(v);
    double f = v - w;
    if (f > 0.5) f -= 1;
    s_.out.towerlonwhole = static_cast<std::int32_t>(w);
    s_.out.towerlonfraction = Round32(f * kTwoTo32);
    s_.towerlonpending = kRequestSet;
}

void planeinterface::toweralt(double feet) {
    s_.out.toweralt = Round32(feet * 19975.0);
    s_.toweraltpending = kRequestSet;
}

}  // namespace corvane::flightstate
