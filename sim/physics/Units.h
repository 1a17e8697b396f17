// SPDX-License-Identifier: MIT
//
// Conversion constants of the stand-in simulator, and the wrapping of angles.
// Physical conversions are exact (one foot is 0.3048 m); the earth is the
// sphere the program's own geodesy uses, so distances measured by the program
// and flown by the model agree.
#pragma once

#include <cmath>

namespace corvane::sim::units {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kRadToDeg = 180.0 / kPi;

constexpr double kMetresPerFoot = 0.3048;
constexpr double kFeetPerMetre = 1.0 / kMetresPerFoot;
constexpr double kMetresPerNm = 1852.0;
constexpr double kMpsPerKnot = 1852.0 / 3600.0;
constexpr double kKnotsPerMps = 3600.0 / 1852.0;
constexpr double kMpsPerFpm = kMetresPerFoot / 60.0;
constexpr double kFpmPerMps = 60.0 / kMetresPerFoot;

constexpr double kGravityMps2 = 9.80665;

// Half a meridian is 20003500 m: one degree of arc is 111130.555... m.
constexpr double kHalfMeridianM = 20003500.0;
constexpr double kEarthRadiusM = kHalfMeridianM / kPi;
constexpr double kMetresPerDegreeLatitude = kHalfMeridianM / 180.0;

// An angle taken into [0, 360): 360 itself and the values that round to it
// become 0.
inline double Wrap360(double angleDeg) {
    // Within a turn either side of [0, 360) the remainder is the angle itself
    // or the angle less a turn, which is exact there: the library's remainder
    // is left for the rest.
    double a = angleDeg;
    if (angleDeg >= 360.0 && angleDeg < 720.0) {
        a = angleDeg - 360.0;
    } else if (!(angleDeg > -360.0 && angleDeg < 360.0)) {
        a = std::fmod(angleDeg, 360.0);
    }
    if (a < 0.0) {
        a += 360.0;
    }
    return a >= 360.0 ? 0.0 : a;
}

// An angle taken into [-180, 180).
inline double Wrap180(double angleDeg) {
    return Wrap360(angleDeg + 180.0) - 180.0;
}

}  // namespace corvane::sim::units
