// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace corvane::navdata {

/// Most points of the coastline file, break markers included.
inline constexpr int CoastPointLimit = 81500;
/// Most blocks of the coastline file.
inline constexpr int CoastBlockLimit = 1000;
/// Held in both coordinate arrays for a break marker; no position has a coordinate of 500.
inline constexpr float CoastBreak = 500.0f;
/// File units: a latitude unit is 180/65536 degree, a longitude unit 360/65536 degree.
inline constexpr double CoastLatitudeScale = 65536.0 / 180.0;
inline constexpr double CoastLongitudeScale = 65536.0 / 360.0;

/// One block: a run of points from firstPoint up to the next break marker, with its box in
/// degrees.
struct CoastBlock {
    std::int32_t firstPoint = 0;  ///< number of the block's first point (points count from 1)
    double minLatitude = 0.0;     ///< southern edge
    double maxLatitude = 0.0;     ///< northern edge
    double minLongitude = 0.0;    ///< western edge
    double maxLongitude = 0.0;    ///< eastern edge

    bool operator==(const CoastBlock&) const = default;
};

/// The coastlines as read from COAST2.int. Points 1 to CoastPointCount occupy entries 1 to N
/// of CoastLatitude and CoastLongitude (degrees, single precision); entry 0 stays empty; a
/// break marker holds CoastBreak in both. Every entry after the last point, up to and including
/// entry 81501, holds CoastBreak too, so a walk along a block always meets a break before it
/// leaves the arrays. Blocks 1 to CoastBlockCount of CoastBlocks are used, in order of
/// increasing minLatitude as stored.
struct CoastlineData {
    std::vector<float> CoastLatitude = std::vector<float>(CoastPointLimit + 2, CoastBreak);
    std::vector<float> CoastLongitude = std::vector<float>(CoastPointLimit + 2, CoastBreak);
    std::int32_t CoastPointCount = 0;
    std::int16_t CoastBlockCount = 0;
    std::vector<CoastBlock> CoastBlocks = std::vector<CoastBlock>(CoastBlockLimit + 1);

    CoastlineData() {
        CoastLatitude[0] = 0.0f;
        CoastLongitude[0] = 0.0f;
    }
};

/// A point as stored: latitude and longitude in file units. (0, 0) is a break marker.
struct CoastRawPoint {
    std::int16_t latitude = 0;
    std::int16_t longitude = 0;

    bool IsBreak() const { return latitude == 0 && longitude == 0; }
    bool operator==(const CoastRawPoint&) const = default;
};

/// A block as stored, bounds in file units.
struct CoastRawBlock {
    std::int32_t firstPoint = 0;
    std::int16_t minLatitude = 0;
    std::int16_t maxLatitude = 0;
    std::int16_t minLongitude = 0;
    std::int16_t maxLongitude = 0;

    bool operator==(const CoastRawBlock&) const = default;
};

/// The coastline file's contents as stored.
struct CoastFileContents {
    std::vector<CoastRawPoint> points;  ///< points 1 to N (index 0 is point 1)
    std::vector<CoastRawBlock> blocks;  ///< blocks 1 to M (index 0 is block 1)

    bool operator==(const CoastFileContents&) const = default;
};

}  // namespace corvane::navdata
