// SPDX-License-Identifier: MIT
//
// Starting the stand-in simulator at an airport of the airport database: the
// airport by its ICAO code, a runway direction by its designator ("27L",
// "9", "09C"), and the ground field made from the database's airports and
// runways. Shared by fltsim98.exe and the in-process simulator of the harness.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "navdata/AirportDatabase.h"
#include "sim/model/Simulator.h"
#include "sim/physics/AirportTerrain.h"

namespace corvane::sim {

// One landing direction of a runway strip: the aircraft lands at (or starts
// from) start.threshold and rolls towards start.farEnd.
struct RunwayDirection {
    int runwayRecord = 0;    // record number in the database
    bool directionA = true;  // end A's direction (from threshold A towards B)
    std::string designator;  // "27L"
    double headingTrueDeg = 0.0;
    double lengthFt = 0.0;
    double elevationM = 0.0;  // of the threshold
    RunwayStart start;
};

// The airports and runways of the database as the ground field's input. An
// airport's index is its record number - 1; runways naming no airport of the
// list are passed on and left out by AirportTerrain.
struct TerrainInput {
    std::vector<TerrainAirport> airports;
    std::vector<TerrainRunway> runways;
};
TerrainInput TerrainInputFromDatabase(const navdata::AirportDatabase& db);

// The record number of the airport whose name ends in "(ICAO)" or, failing
// that, whose remark is the code; both compared without regard to case and
// surrounding spaces. 0 when there is none or the code is empty.
int FindAirportByIcao(const navdata::AirportDatabase& db, std::string_view icao);

// The ICAO code of an airport record: the text between the last "(" and ")"
// of its name, else its remark.
std::string AirportIcao(const navdata::AirportRecord& airport);

// "27L" for a runway code (number + 64 L, + 128 R, + 192 C); "09" for 9.
std::string RunwayDesignator(int code);

// Both directions of every runway of the airport, in file order.
std::vector<RunwayDirection> RunwayDirections(const navdata::AirportDatabase& db, int airport);

// RunwayDirections of every airport at once, in one pass over the runways:
// element i holds those of airport record i (element 0 is empty).
std::vector<std::vector<RunwayDirection>> RunwayDirectionsOfEveryAirport(
    const navdata::AirportDatabase& db);

// The direction named by a designator: one or two digits and an optional L, R
// or C (case and a leading zero do not matter). nullopt when the airport has
// no such runway or the designator is malformed.
std::optional<RunwayDirection> FindRunwayDirection(const navdata::AirportDatabase& db, int airport,
                                                   std::string_view designator);

// The direction to use when none is named: of the longest runways (within
// 10 %), the one with the most headwind; nullopt when the airport has no
// runway.
std::optional<RunwayDirection> PreferredRunwayDirection(const navdata::AirportDatabase& db,
                                                        int airport, double windFromDeg,
                                                        double windSpeedKt);

}  // namespace corvane::sim
