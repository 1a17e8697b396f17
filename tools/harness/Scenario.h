// SPDX-License-Identifier: MIT
//
// A scenario of the harness: where the aircraft starts, the weather, what the
// pilot types and clicks to choose the destination runway, and how long the
// flight may take. Read from a JSON file; docs/harness.md describes the format.
//
// Example:
//     {
//       "name": "kden-35l-sw-40nm",
//       "destination": {"search": "KDEN", "line": "(KDEN)", "runway": "35L"},
//       "start": {"type": "air", "bearingDeg": 225, "distanceNm": 40,
//                 "altitudeFt": 9000, "headingDeg": 45, "iasKt": 200},
//       "wind": {"fromDeg": 200, "speedKt": 10},
//       "limits": {"simTimeS": 3600}
//     }
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/physics/Wind.h"

namespace corvane::harness {

// A scenario that cannot be read: the message names the file and the field.
class ScenarioError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A line of a list chosen by its position (from 0) or by a text it contains
// (airport lines) or its designator (landing directions).
struct ListChoice {
    std::optional<int> index;
    std::string text;
};

struct StartState {
    enum class Kind {
        Air,     // in the air, trimmed, at a position, altitude, heading and speed
        Final,   // on the extended centre line of a runway, on a glide path
        Runway,  // standing at the threshold of a runway
    };
    Kind kind = Kind::Air;

    // Air: an absolute position, or a bearing and distance from an airport
    // (fromAirport, an ICAO code; empty: the destination airport).
    std::optional<double> latitudeDeg;
    std::optional<double> longitudeDeg;
    std::string fromAirport;
    double bearingDeg = 0.0;  // true, from the airport towards the aircraft
    double distanceNm = 0.0;  // Air: from the airport; Final: from the threshold
    double altitudeFt = 5000.0;
    double headingDeg = 0.0;  // true
    double iasKt = 200.0;
    double flaps = 0.0;  // 0..1
    bool gearDown = false;

    // Final and Runway: the airport (ICAO; empty: the destination) and the
    // runway direction (designator; empty: the destination's direction).
    std::string airport;
    std::string runway;
    double glidePathDeg = 3.0;
};

struct Destination;

struct Scenario {
    std::string name;  // from the file, else the file's name without ".json"
    std::string description;
    std::string file;
    std::vector<std::string> tags;

    // What the pilot types and chooses.
    std::string searchText;
    ListChoice airportLine;
    ListChoice runwayLine;
    std::string cruiseEntry;  // a cruise-height menu entry; empty: the program's default

    // The aircraft that flies: one of the stand-in's ("twin", "single"), or
    // FlightGear's "c172p"; empty: the simulator's own (the stand-in's twin,
    // FlightGear's Cessna).
    std::string aircraft;

    StartState start;
    double windFromDeg = 0.0;
    double windSpeedKt = 0.0;   // at the surface
    bool windGradient = false;  // the wind grows with the height above the ground
    sim::TurbulenceLevel turbulence = sim::TurbulenceLevel::None;
    std::uint64_t turbulenceSeed = 1;
    bool crashDetection = true;

    // A push off the centre line during the approach: the first time the
    // aircraft descends below belowHeightFt above the runway in a descent
    // stage, it is moved sidewaysM beside its position (right of the landing
    // direction positive), as a sudden gust or a navigation error would.
    struct Disturbance {
        double belowHeightFt = 0.0;
        double sidewaysM = 0.0;
    };
    std::optional<Disturbance> disturbance;

    // Simulator seconds from the flight's start after which the run is cut.
    double simTimeLimitS = 5400.0;
    // Seconds the harness waits for the hand-back once the aircraft stands.
    double handBackWaitS = 60.0;

    // Where the search and the lists lead, when the scenario was drawn with
    // them (a random flight): the flight takes it instead of searching the
    // database again. Not written to the scenario's file.
    std::shared_ptr<const Destination> resolved;
};

// The id of the aircraft a scenario flies on a simulator: its own choice, or
// the simulator's aircraft ("twin" on the stand-in, "c172p" in FlightGear).
std::string AircraftOf(const Scenario& scenario, bool flightGear);

// Reads a scenario from JSON text; fileName names it in error messages.
Scenario ParseScenario(const std::string& jsonText, const std::string& fileName);
// Reads a scenario file.
// The whole of a file; throws ScenarioError naming it when it cannot be read.
std::string ReadTextFile(const std::string& path);

Scenario LoadScenario(const std::string& path);
// The scenario as a file's JSON text that ParseScenario reads back to the
// same scenario (every field written, numbers exactly).
std::string ScenarioToJsonText(const Scenario& scenario);
// The scenario files (*.json) of a folder, sorted by name.
std::vector<std::string> ScenarioFilesIn(const std::string& folder);

// A runway designator as the harness compares them: blanks and leading zeros
// dropped, upper case ("09l " and " 9L" both give "9L").
std::string NormalisedDesignator(const std::string& designator);

}  // namespace corvane::harness
