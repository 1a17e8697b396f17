// SPDX-License-Identifier: MIT
//
// The standard atmosphere (ISA, troposphere and lower stratosphere).
#pragma once

namespace corvane::sim {

class Atmosphere {
  public:
    static constexpr double kSeaLevelDensityKgM3 = 1.225;

    // Air density at a geometric altitude (metres above sea level), clamped to
    // the range -1000 m .. 25000 m.
    static double DensityKgM3(double altitudeM);
    static double DensityRatio(double altitudeM) {
        return DensityKgM3(altitudeM) / kSeaLevelDensityKgM3;
    }
};

}  // namespace corvane::sim
