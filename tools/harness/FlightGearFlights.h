// SPDX-License-Identifier: MIT
//
// Flights against FlightGear go only where FlightGear has the terrain: a
// runway whose tiles are not installed has no ground under it (FlightGear
// flies over a sea-level surface its wheels never touch), so no landing can
// be flown there. This checks a runway against the installed tiles, keeps a
// random-flight pool to the runways FlightGear can land on, and gives the
// ranges of FlightGear's Cessna 172P's random flights: a light single's
// runways, starts and speeds, the wind drawn as in the stand-in's.
#pragma once

#include <cstdint>
#include <string>

#include "navdata/AirportDatabase.h"
#include "sim/flightgear/SceneryTiles.h"
#include "sim/model/Simulator.h"
#include "sim/physics/Terrain.h"
#include "tools/harness/RandomFlights.h"

namespace corvane::harness {

// How much of the extended centre line before the threshold must have its
// terrain: the final approach's last part, where the landing is judged.
inline constexpr double kFlightGearApproachTerrainNm = 2.0;

// Whether the terrain under a landing direction is installed: both runway
// ends, its middle and the last kFlightGearApproachTerrainNm of the final.
// When not, *missing names the first tile missing ("w130n30/w123n37/942058")
// and where it lies.
bool RunwayTerrainInstalled(const sim::flightgear::InstalledTerrain& terrain,
                            const sim::RunwayStart& runway, std::string* missing);

// The ranges of the Cessna's random flights (docs/harness.md).
RandomFlightRanges FlightGearRandomRanges();

// Flight `index` of the set of `seed` for FlightGear: drawn as the stand-in's
// (DrawRandomFlight with the Cessna's ranges: destination, distance, speed,
// wind and turbulence), but started on the runway's extended centre line, that
// distance out on a 3 degree path, flaps up. The approach to a runway is
// clear of the ground; a start anywhere around an airport is not where the
// ground rises above such a start's height within 15 nm (Kona, Kahului), and
// neither the harness's ground (airport elevations) nor the program knows it.
Scenario DrawFlightGearFlight(const navdata::AirportDatabase& db, const RandomFlightPool& pool,
                              const sim::Terrain* terrain, std::uint64_t seed, int index);

// The pool's landing directions whose terrain is installed; airports left
// with none are dropped.
RandomFlightPool OnInstalledTerrain(const RandomFlightPool& pool,
                                    const sim::flightgear::InstalledTerrain& terrain);

}  // namespace corvane::harness
