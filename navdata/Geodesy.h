// SPDX-License-Identifier: MIT
#pragma once

#include <array>

namespace corvane::navdata {

/// Feet per degree of longitude, indexed by whole degrees of absolute latitude 0 to 90.
using LongitudeDegreeTable = std::array<double, 91>;

/// Computes the table of feet per degree of longitude: entry k is the great-circle length of
/// one degree of longitude at latitude k on the sphere whose degree at the equator is
/// 364809.096305463 ft. Entry 90 is exactly 0. Rows 0, 1, 10, 30, 45, 60, 80 and 89 carry the
/// program's reference values. Example: entry 60 is 182402.811782078.
LongitudeDegreeTable FillLongitudeDegreeTable();

/// The table filled once by FillLongitudeDegreeTable (at static initialisation; do not read it
/// from another static initialiser).
extern const LongitudeDegreeTable FeetPerLongitudeDegree;

/// Feet per degree of longitude at an absolute latitude, interpolated linearly between the
/// whole-degree rows of FeetPerLongitudeDegree. Latitudes at or beyond 90 read row 90 (0).
double InterpolatedFeetPerLongitudeDegree(double absoluteLatitudeDeg);

/// Great-circle (haversine) distance in metres between two positions in decimal degrees
/// (latitude first, north and east positive). Longitudes need no wrapping.
/// Example: GreatCircleDistance(0, 0, 1, 0) is 111130.555... m.
double GreatCircleDistance(double lat1, double lon1, double lat2, double lon2);

/// Initial bearing in degrees true, in [0, 360], from point 1 to point 2. Short hops
/// (|dlat| < 1.5 and |dlon| < 0.1) use the flat-earth PlaneBearing; otherwise the great-circle
/// formula. Identical points give 0; two points whose central angle is 0 (equal latitude,
/// longitudes 360 apart) give 0.
double InitialBearing(double lat1, double lon1, double lat2, double lon2);

/// Flat-earth bearing in degrees true, in [0, 360), for short hops. The feet per degree of
/// longitude is interpolated at the mean absolute latitude; at the poles the upper table
/// index is held at 90.
double PlaneBearing(double lat1, double lon1, double lat2, double lon2);

/// The longitude of the same meridian as lon (lon plus or minus whole turns of 360) that lies
/// nearest to reference: from reference - 180 up to reference + 180. A position across the
/// 180 degree meridian from the reference is thus taken on the reference's side.
/// Example: NearestLongitude(-179.9, 179.9) is 180.1. A lon that is not finite is returned as
/// it is.
double NearestLongitude(double lon, double reference);

}  // namespace corvane::navdata
