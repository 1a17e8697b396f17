// SPDX-License-Identifier: MIT
//
// The moving map's view state and the dots of the current frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/map/CoastlineLayer.h"

namespace corvane::map {

enum MapDotKind : std::int16_t {
    kAirportWithoutFuel = 0,
    kAirportWithFuel = 1,
    kVorDot = 2,
    kNdbDot = 3,
};

// The records of one table (Airports, Vors or Ndbs, in their longitude order)
// in runs of kDotRunRecords, each with the least and greatest latitude of its
// records: a run wholly north or south of the view is passed over at once.
inline constexpr int kDotRunRecords = 32;
struct DotRuns {
    const void* builtFrom = nullptr;
    std::size_t records = 0;
    std::vector<double> minLatitude;  // per run; +inf for a run of no finite latitude
    std::vector<double> maxLatitude;  // per run; -inf for such a run

    bool BuiltFor(const void* table, std::size_t size) const {
        return builtFrom == table && records == size;
    }
};

struct MapDot {
    float x = 0;  // canvas position of the dot's top left corner, pixels
    float y = 0;
    std::int16_t kind = 0;  // MapDotKind
    std::int16_t item = 0;  // record number in Airports, Vors or Ndbs
};

constexpr int kMaxMapDots = 3000;

struct MapState {
    float MapRange = 50;  // nautical miles, half side of the map box
    bool ShowAirportDots = true;
    bool ShowVORDots = true;
    bool ShowNDBDots = true;
    bool ReadoutsShown = true;
    bool MapCycleBusy = false;
    double MetresPerDegreeLatitude = 111130.555555555;
    // Dots 1 to MapDotCount of the current frame (entry 0 unused).
    std::array<MapDot, kMaxMapDots + 1> MapDots{};
    std::int16_t MapDotCount = 0;
    std::int16_t MapDotSize = 3;
    bool DestinationBlink = false;
    std::string MapPositionText;
    // The coastlines cut into runs, for frames on a canvas that paints nothing.
    CoastRuns CoastRunsOfData;
    // The dot tables cut into runs (NDBs, VORs, airports).
    DotRuns NdbRuns;
    DotRuns VorRuns;
    DotRuns AirportRuns;
};

}  // namespace corvane::map
