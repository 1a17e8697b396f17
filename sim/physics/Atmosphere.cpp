// SPDX-License-Identifier: MIT
#include "sim/physics/Atmosphere.h"

#include <algorithm>
#include <cmath>

namespace corvane::sim {

double Atmosphere::DensityKgM3(double altitudeM) {
    const double h = std::clamp(altitudeM, -1000.0, 25000.0);
    constexpr double kTropopauseM = 11000.0;
    constexpr double kT0 = 288.15;
    constexpr double kLapse = 0.0065;
    constexpr double kExponent = 4.2558797;  // g / (R * lapse) - 1
    if (h <= kTropopauseM) {
        return kSeaLevelDensityKgM3 * std::pow((kT0 - kLapse * h) / kT0, kExponent);
    }
    const double tropopauseDensity =
        kSeaLevelDensityKgM3 * std::pow((kT0 - kLapse * kTropopauseM) / kT0, kExponent);
    constexpr double kScaleHeightM = 6341.6;  // R T / g at 216.65 K
    return tropopauseDensity * std::exp(-(h - kTropopauseM) / kScaleHeightM);
}

}  // namespace corvane::sim
