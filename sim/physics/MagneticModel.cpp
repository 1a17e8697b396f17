// SPDX-License-Identifier: MIT
#include "sim/physics/MagneticModel.h"

#include <algorithm>
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

double MagneticVariationCells::VariationDeg(double latitudeDeg, double longitudeDeg) const {
    if (!(std::abs(latitudeDeg) <= kCellsUpToDeg) || !std::isfinite(longitudeDeg)) {
        return MagneticModel::VariationDeg(latitudeDeg, longitudeDeg);
    }
    const double lonInTurn =
        std::abs(longitudeDeg) <= 180.0 ? longitudeDeg : std::remainder(longitudeDeg, 360.0);
    const long row = static_cast<long>(std::floor((latitudeDeg + 90.0) / kCellDeg));
    const long column = static_cast<long>(std::floor((lonInTurn + 180.0) / kCellDeg));
    // The corners as every cell works them out, so neighbours share them.
    auto cornerLat = [](long r) { return static_cast<double>(r) * kCellDeg - 90.0; };
    auto cornerLon = [](long c) { return static_cast<double>(c) * kCellDeg - 180.0; };
    if (!valid_ || row != row_ || column != column_) {
        for (int k = 0; k < 4; ++k)
            corner_[k] = MagneticModel::VariationDeg(cornerLat(row + (k >= 2 ? 1 : 0)),
                                                     cornerLon(column + (k & 1)));
        valid_ = true;
        row_ = row;
        column_ = column;
    }
    const double south = cornerLat(row);
    const double west = cornerLon(column);
    const double u = std::clamp((latitudeDeg - south) / (cornerLat(row + 1) - south), 0.0, 1.0);
    const double v = std::clamp((lonInTurn - west) / (cornerLon(column + 1) - west), 0.0, 1.0);
    return (1.0 - u) * ((1.0 - v) * corner_[0] + v * corner_[1]) +
           u * ((1.0 - v) * corner_[2] + v * corner_[3]);
}

}  // namespace corvane::sim
