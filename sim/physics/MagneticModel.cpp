// SPDX-License-Identifier: MIT
#include "sim/physics/MagneticModel.h"

#include <cmath>

#include "sim/physics/Units.h"

namespace corvane::sim {

double MagneticModel::VariationDeg(double latitudeDeg, double longitudeDeg) {
    using units::kDegToRad;
    const double phi1 = latitudeDeg * kDegToRad;
    const double phi2 = kPoleLatitudeDeg * kDegToRad;
    const double dLon = (kPoleLongitudeDeg - longitudeDeg) * kDegToRad;
    const double y = std::sin(dLon) * std::cos(phi2);
    const double x =
        std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dLon);
    if (std::abs(x) < 1e-12 && std::abs(y) < 1e-12) {
        return 0.0;
    }
    double deg = std::atan2(y, x) * units::kRadToDeg;
    if (deg <= -180.0) {
        deg += 360.0;
    }
    return deg;
}

}  // namespace corvane::sim
