// SPDX-License-Identifier: MIT
//
// Choosing lines of the program's lists as a scenario asks, and placing the
// aircraft for a scenario's start. The airport and the landing direction are
// also worked out from the database before the program runs (the start
// position may be given relative to them); during the run the harness
// chooses on the lists the program really shows and checks that they agree.
#pragma once

#include <string>
#include <vector>

#include "app/airports/AirportSearch.h"
#include "navdata/AirportDatabase.h"
#include "sim/flightgear/Launch.h"
#include "sim/inprocess/AirportLookup.h"
#include "sim/model/Simulator.h"
#include "tools/harness/LandingReport.h"
#include "tools/harness/RunwayFrame.h"
#include "tools/harness/Scenario.h"

namespace corvane::harness {

// The line a choice names in a list, or -1 with *why saying what went wrong
// (no such line, or a text that fits several). Airport lines are matched by
// a text they contain (ignoring case); landing-direction lines by their
// designator, the text before the tab (see NormalisedDesignator).
int ChooseAirportLine(const std::vector<std::string>& lines, const ListChoice& choice,
                      std::string* why);
int ChooseRunwayLine(const std::vector<std::string>& lines, const ListChoice& choice,
                     std::string* why);

struct Destination {
    int airport = 0;  // record number
    std::string airportLine;
    int runwayChoice = 0;  // item data of the landing direction: +i end A, -i end B
    std::string runwayLine;
};

// The scenario's airport and landing direction, as the program's search and
// runway list will offer them; index, when given, is the database's search
// index (the same answers). Throws ScenarioError.
Destination ResolveDestination(const navdata::AirportDatabase& db, const Scenario& scenario,
                               const airports::AirportSearchIndex* index = nullptr);

// Writes what the report says of the flight before it flies: the airport's
// and the runway's lines, the runway's figures and the scenario's wind.
void ReportDestination(const Destination& dest, const RunwayFrame& runway, const Scenario& scenario,
                       LandingReport& report);

// The threshold and far end of a landing direction (+i / -i).
sim::RunwayStart RunwayStartOf(const navdata::AirportDatabase& db, int runwayChoice);

// Places the aircraft in the simulator as the scenario's start says. Throws
// ScenarioError for an airport or runway the database does not hold.
void PlaceAircraft(sim::Simulator& simulator, const navdata::AirportDatabase& db,
                   const Scenario& scenario, const Destination& destination);

// The runway of a final or runway start: the one the start names, else the
// destination's landing direction. Throws ScenarioError.
sim::RunwayDirection StartRunwayOf(const navdata::AirportDatabase& db, const Scenario& scenario,
                                   const Destination& destination);

// The same start as FlightGear's command line asks for it: the position,
// altitude, heading and speed of an air start; a final or runway start by
// the position of the runway in our database (FlightGear's own airport data
// may name its runways otherwise: see StartByPosition), with the airport and
// runway named in the plan for the log; the wind.
sim::flightgear::LaunchPlan FlightGearStartOf(const navdata::AirportDatabase& db,
                                              const Scenario& scenario,
                                              const Destination& destination,
                                              const std::string& runwayDesignator);

// The position at a distance and initial bearing from a point, on the
// program's sphere.
void PointAt(double latDeg, double lonDeg, double bearingDeg, double distanceM, double* outLatDeg,
             double* outLonDeg);

}  // namespace corvane::harness
