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

// The records of one table (Airports, Vors or Ndbs) by latitude band of an
// eighth of a degree, each band in the table's (longitude) order: a view looks
// at the records of its own bands only. A map of 50 nm a side is about
// fourteen bands high, so its bands and the spare either side hold little
// more than the view's own latitudes.
inline constexpr int kDotBandsPerDegree = 8;
inline constexpr int kDotBands = 180 * kDotBandsPerDegree;

// The records a frame looked at in one part of its walk (its bands within
// one range of record numbers), kept for the next frame: the ranges move by
// a fifth of a degree of longitude and the bands by an eighth of a degree of
// latitude, so most frames look at the same records as the frame before.
struct DotCandidates {
    bool valid = false;
    int bandLo = 0;
    int bandHi = 0;
    int first = 1;
    int last = 0;
    std::vector<int> items;  // record numbers, in the table's order
    // Their positions side by side, so that a frame's tests read these
    // instead of every record.
    std::vector<double> latitudes;
    std::vector<double> longitudes;

    bool KeptFor(int lo, int hi, int from, int to) const {
        return valid && bandLo == lo && bandHi == hi && first == from && last == to;
    }
};

struct DotBands {
    const void* builtFrom = nullptr;
    std::size_t records = 0;
    std::vector<int> bandStart;          // kDotBands + 1 entries into items
    std::vector<int> items;              // record numbers; none for a latitude that is not a number
    std::array<DotCandidates, 3> parts;  // by part of the walk across the meridian

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
    // The dot tables by latitude band (NDBs, VORs, airports).
    DotBands NdbBands;
    DotBands VorBands;
    DotBands AirportBands;
};

}  // namespace corvane::map
