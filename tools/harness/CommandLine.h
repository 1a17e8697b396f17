// SPDX-License-Identifier: MIT
//
// corvane-harness's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/harness/Campaign.h"

namespace corvane::harness {

struct CommandLine {
    std::vector<std::string> inputs;        // scenario files and folders of them
    int randomFlights = 0;                  // --random N: draw N flights instead
    std::uint64_t seed = 1;                 // of the random flights
    Shard shard;                            // --shard K/M: only these of the random flights
    std::vector<std::string> mergeFolders;  // --merge: reports folders to merge
    std::string aircraft;                   // --aircraft: only this one flies (empty: each its own)
    int jobs = 1;                           // processes flying at once
    std::string dataFolder;                 // empty: the harness's own folder
    std::string reportsFolder = "harness-reports";
    std::string framesFolder;
    double frameEveryS = 10.0;
    bool draw = true;  // paint the map (builds with Qt)
    std::string traceFolder;
    int traceEverySteps = 10;
    bool fineSteps = false;         // --fine-steps: the stand-in's 20 ms step at every height
    std::string commandsFolder;     // --commands: the program's commands of each flight
    std::string replayFolder;       // --replay: fly recorded commands on the stand-in
    std::vector<std::string> tags;  // only scenarios with one of these tags
    std::optional<double> minSuccessRate;  // good by every limit
    std::optional<double> minRunwayRate;   // good by the six runway limits
    // --min-pass [AIRCRAFT:]LIMIT=R: the least share of the scenarios (of one
    // aircraft's, when it is named) that must meet a limit.
    struct PassGate {
        std::string aircraft;  // empty: every flight
        std::string limit;
        double rate = 0.0;
    };
    std::vector<PassGate> minPass;
    std::string airportInfo;        // --airport: list an airport's runways and stop
    double repeatForMinutes = 0.0;  // --repeat-for: fly the set again until this much wall time
    bool flightGear = false;        // --simulator flightgear
    double speedUp = 1.0;           // FlightGear's /sim/speed-up
    bool flightGearWindow = false;  // FlightGear in a window of its own
    std::vector<std::string> flightGearScenery;  // --fg-scenery folders
    bool json = false;                           // print each report's JSON to standard output
    bool quiet = false;
    bool help = false;
};

// Throws std::invalid_argument with a message naming the option.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace corvane::harness
