// SPDX-License-Identifier: MIT
#pragma once

#include <span>

#include "navdata/AirportDatabase.h"

namespace corvane::navdata {

/// Longitude band of a longitude: floor((longitude + 180) * 5), each band 0.2 degree wide,
/// band 0 starting at 180 W. Not clamped: longitudes beyond +-180 give bands beyond 0..1800.
/// Held to +-100000 so that any double (NaN reads as band 0) converts safely.
int LongitudeBand(double longitude);

/// Builds a longitude index for records sorted by increasing longitude: entry k holds the
/// number of the first record whose band is k or more, or the count when no record is that far
/// east (0 for an empty list); entry 1800 always holds the count. Walking from entry (first band -
/// 1) to entry (last band + 1) then visits every record of the bands in between and never a number
/// above the count. longitudes[i] is the longitude of record i + 1. Raises std::invalid_argument
/// when the longitudes are not in increasing order of band or lie outside -180 to below +180.
LonIndex BuildLonIndex(std::span<const double> longitudes);

/// Record numbers the map visits for a view from lonmin to lonmax, inclusive: from
/// index[first] to index[last] with first = band(lonmin) - 1 and last = band(lonmax) + 1 held
/// to 0..1800, and the numbers held to 1..count. Empty (first > last) when count is 0.
struct RecordRange {
    int first = 1;
    int last = 0;
    bool empty() const { return first > last; }
};
RecordRange LonIndexWalk(const LonIndex& index, int count, double lonmin, double lonmax);

/// The record ranges the map visits for a view that may reach past the 180 degree meridian, in
/// order of longitude as seen from the view: the part west of 180 W (its records lie at the
/// east end of the table, taken 360 degrees lower), the part between the meridians, and the
/// part east of 180 E (the west end of the table, taken 360 degrees higher). Each part is
/// walked with the bounds of LonIndexWalk; the ranges are cut so that no record number lies
/// in two of them. A view within -180 to 180 gives the one range of LonIndexWalk.
struct MeridianWalk {
    RecordRange ranges[3];
    int count = 0;
};
MeridianWalk LonIndexWalkAcrossMeridian(const LonIndex& index, int count, double lonmin,
                                        double lonmax);

}  // namespace corvane::navdata
