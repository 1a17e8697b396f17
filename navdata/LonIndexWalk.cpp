// SPDX-License-Identifier: MIT
#include "navdata/LonIndexWalk.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace corvane::navdata {

int LongitudeBand(double longitude) {
    const double band = std::floor((longitude + 180.0) * 5.0);
    if (!(band > -100000.0)) {  // also NaN
        return std::isnan(band) ? 0 : -100000;
    }
    return band > 100000.0 ? 100000 : static_cast<int>(band);
}

LonIndex BuildLonIndex(std::span<const double> longitudes) {
    LonIndex index{};
    const int count = static_cast<int>(longitudes.size());
    if (count > MaxRecordCount) {
        throw std::invalid_argument("more than " + std::to_string(MaxRecordCount) + " records");
    }
    int previousBand = 0;
    for (int i = 0; i < count; ++i) {
        const double lon = longitudes[i];
        if (!(lon >= -180.0 && lon < 180.0)) {
            throw std::invalid_argument("record " + std::to_string(i + 1) + " has longitude " +
                                        std::to_string(lon) + ", outside -180 to below 180");
        }
        const int band = LongitudeBand(lon);
        if (band < previousBand) {
            throw std::invalid_argument("record " + std::to_string(i + 1) +
                                        " is west of the record before it");
        }
        previousBand = band;
    }
    int record = 1;  // first record whose band is >= k
    for (int k = 0; k < LonIndexSize; ++k) {
        while (record <= count && LongitudeBand(longitudes[record - 1]) < k) {
            ++record;
        }
        index[k] = static_cast<std::int16_t>(std::min(record, count));
    }
    // The walk never goes past entry 1800, so it must reach the last record: a longitude just
    // below 180 can round into band 1800, where several records may lie.
    index[LonIndexSize - 1] = static_cast<std::int16_t>(count);
    return index;
}

RecordRange LonIndexWalk(const LonIndex& index, int count, double lonmin, double lonmax) {
    RecordRange range;
    if (count <= 0) {
        return range;
    }
    const int first = std::clamp(LongitudeBand(lonmin) - 1, 0, LonIndexSize - 1);
    const int last = std::clamp(LongitudeBand(lonmax) + 1, 0, LonIndexSize - 1);
    range.first = std::max<int>(index[first], 1);
    range.last = std::min<int>(index[last], count);
    return range;
}

MeridianWalk LonIndexWalkAcrossMeridian(const LonIndex& index, int count, double lonmin,
                                        double lonmax) {
    MeridianWalk walk;
    const RecordRange middle = LonIndexWalk(index, count, lonmin, lonmax);
    if (middle.empty()) {
        return walk;
    }
    RecordRange west;  // beyond 180 W: the table's east end
    if (lonmin < -180.0) {
        west = LonIndexWalk(index, count, lonmin + 360.0, 180.0);
        west.first = std::max(west.first, middle.last + 1);
    }
    RecordRange east;  // beyond 180 E: the table's west end
    if (lonmax > 180.0) {
        east = LonIndexWalk(index, count, -180.0, lonmax - 360.0);
        east.last = std::min(east.last, middle.first - 1);
        if (!west.empty()) {
            east.last = std::min(east.last, west.first - 1);
        }
    }
    for (const RecordRange& range : {west, middle, east}) {
        if (!range.empty()) {
            walk.ranges[walk.count++] = range;
        }
    }
    return walk;
}

}  // namespace corvane::navdata
