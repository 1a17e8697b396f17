// SPDX-License-Identifier: MIT
//
// Random flights drawn from the world database: an aircraft of the fleet,
// an airport with a paved runway long enough for it, one of its landing
// directions, a start in any direction at the aircraft's distances, heights
// and speeds (the twin 10 to 80 nm out, 3,000 to 15,000 ft above the airport;
// the light single 5 to 30 nm out, 2,000 to 8,000 ft above it), a wind the
// aircraft may land in (up to 25 kt, at most 15 kt across the runway and 10 kt
// behind), growing with height, and turbulence from none to moderate. Each flight is an ordinary
// scenario: the pilot types the airport's code, clicks its line and the landing direction's line,
// as in the scenario files; a drawn destination is checked against the program's search and runway
// list before it is kept.
//
// Deterministic: flight i of seed S is the same whatever the number of
// flights drawn, on every machine (the generator is computed here, not taken
// from the standard library's distributions).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/airports/AirportSearch.h"
#include "navdata/AirportDatabase.h"
#include "sim/inprocess/AirportLookup.h"
#include "sim/physics/Terrain.h"
#include "tools/harness/Scenario.h"

namespace corvane::harness {

// The ranges of a draw for one aircraft (docs/harness.md); the defaults are
// the twin's.
struct RandomFlightRanges {
    std::string aircraft = "twin";      // the scenario's aircraft; empty: the simulator's own
    double minRunwayLengthFt = 6500.0;  // listed, and threshold to far end
    double minRunwayWidthFt = 75.0;
    double minDistanceNm = 10.0;
    double maxDistanceNm = 80.0;
    double minHeightFt = 3000.0;  // above the airport
    double maxHeightFt = 15000.0;
    double minClearanceFt = 3000.0;  // above the ground under the start
    double maxHeadingOffDeg = 90.0;  // from the direction to the airport
    double minIasKt = 180.0;
    double maxIasKt = 250.0;
    double maxWindKt = 25.0;  // at the surface
    double maxCrosswindKt = 15.0;
    double maxTailwindKt = 10.0;
};

// The landing directions a random flight may choose, by airport.
struct RandomFlightPool {
    struct Airport {
        int record = 0;
        std::string icao;
        double elevationFt = 0.0;
        std::vector<sim::RunwayDirection> directions;
    };
    std::vector<Airport> airports;
    int directions = 0;
    // The database's names for the draws' searches (each draw is kept only
    // when the program's search leads to it).
    std::shared_ptr<const airports::AirportSearchIndex> searchIndex;
};

RandomFlightPool MakeRandomFlightPool(const navdata::AirportDatabase& db,
                                      const RandomFlightRanges& ranges = RandomFlightRanges{});

// Flight `index` (from 0) of the set of `seed`. terrain may be null (sea
// level). Throws ScenarioError when the pool holds no flyable destination.
Scenario DrawRandomFlight(const navdata::AirportDatabase& db, const RandomFlightPool& pool,
                          const sim::Terrain* terrain, std::uint64_t seed, int index,
                          const RandomFlightRanges& ranges = RandomFlightRanges{});

// The ranges of the stand-in's light single.
RandomFlightRanges SingleRanges();

// Aircraft that random flights draw from, each with its ranges, its pool and
// its share of the flights.
struct RandomFleet {
    struct Member {
        RandomFlightRanges ranges;
        RandomFlightPool pool;
        double share = 1.0;
    };
    std::vector<Member> members;
};
// The stand-in's fleet: the twin and the light single, half the flights each.
RandomFleet StandInFleet(const navdata::AirportDatabase& db);

// Flight `index` of the set of `seed`, flown by an aircraft of the fleet. The
// aircraft is drawn apart from the rest, so that flight i of a seed is the same
// flight of its aircraft whatever the others in the fleet (the twin's flights
// are those it drew alone). The names of flights of any aircraft but the
// twin end in "-" and its id ("r1-0042-kbos-14-single").
Scenario DrawFleetFlight(const navdata::AirportDatabase& db, const RandomFleet& fleet,
                         const sim::Terrain* terrain, std::uint64_t seed, int index);

// Crosswind (positive) and headwind (negative: tailwind) of a wind on a
// landing direction, knots.
double CrosswindKt(double windFromDeg, double windKt, double runwayHeadingDeg);
double HeadwindKt(double windFromDeg, double windKt, double runwayHeadingDeg);

}  // namespace corvane::harness
