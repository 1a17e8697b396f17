// SPDX-License-Identifier: MIT
//
// Magnetic variation from a tilted dipole: the compass points along the great
// circle towards the geomagnetic north pole. East variation is positive, so
// magnetic heading = true heading - variation.
#pragma once

namespace corvane::sim {

class MagneticModel {
  public:
    // The dipole's north pole (close to the 2020 geomagnetic pole).
    static constexpr double kPoleLatitudeDeg = 80.65;
    static constexpr double kPoleLongitudeDeg = -72.68;

    // Variation in degrees (-180, 180], east positive. At the pole itself 0.
    static double VariationDeg(double latitudeDeg, double longitudeDeg);
};

}  // namespace corvane::sim
