// SPDX-License-Identifier: MIT
#include "app/navdata/LonIndexWalk.h"

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

}  // namespace corvane::navdata
