// SPDX-License-Identifier: MIT
//
// The command line of fltsim98.exe: where the aircraft starts, wind, rate,
// log, data file, window or not, what a close request does, and the install
// step. Parsing is plain and testable: no file is touched here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/physics/Wind.h"

namespace corvane::sim {

enum class StartKind {
    InAir,     // at --lat/--lon/--alt/--heading/--speed (the default)
    OnRunway,  // on the ground at the threshold of --airport/--runway
    OnFinal,   // --final NM out on the extended centre line, 3 degree path
};

// What a close request of the window does.
enum class CloseAnswer {
    Close,   // ends at once (the default)
    Ask,     // asks first (a dialog; without a window there is no one to ask: refuse)
    Accept,  // asks first and the scripted answer is yes
    Refuse,  // asks first and the scripted answer is no: keeps running
};

// What flies the aircraft.
enum class Backend {
    StandIn,     // the stand-in's own flight model
    FlightGear,  // FlightGear, started (or attached to) and kept in step
};

struct CommandLine {
    bool headless = false;
    Backend backend = Backend::StandIn;
    std::string fgfsPath = "fgfs";
    bool fgWindow = false;         // FlightGear draws in its own window
    int fgAttachReadingsPort = 0;  // --fg-attach: FlightGear already runs
    int fgAttachCommandsPort = 0;
    // --fg-options: print the options a FlightGear started by the user needs
    // (with these ports) and end.
    bool printFgOptions = false;
    int fgOptionsReadingsPort = 0;
    int fgOptionsCommandsPort = 0;
    std::string fgLogPath;               // empty: fgfs.log in FlightGear's work folder
    std::vector<std::string> fgOptions;  // --fg-option: passed to fgfs
    StartKind start = StartKind::InAir;
    double latitudeDeg = 51.4775;
    double longitudeDeg = -0.4614;
    double altitudeFt = 3000.0;
    double headingTrueDeg = 90.0;
    double speedKt = 200.0;  // true airspeed of an air start
    std::string airportIcao;
    std::string runway;  // empty: the longest runway, into the wind
    double finalNm = 5.0;
    std::string aircraft = "twin";  // the stand-in's aircraft (sim/physics/Aircraft.h)
    double windFromDeg = 0.0;
    double windSpeedKt = 0.0;  // at the surface
    bool windGradient = false;
    TurbulenceLevel turbulence = TurbulenceLevel::None;
    std::uint64_t turbulenceSeed = 1;
    double rate = 1.0;
    std::string logPath;
    std::string dataPath;  // airdata.tri or its folder; empty: look beside the program
    CloseAnswer closeAnswer = CloseAnswer::Close;
    bool install = false;
    bool crashDetection = true;
    bool paused = false;
    std::string screenshotPath;  // windowed: save the window to this PNG and go on
};

struct ParseResult {
    bool run = false;  // false: exit with exitCode after printing message
    int exitCode = 0;
    std::string message;  // help text (stdout) or the error (stderr)
};

ParseResult ParseCommandLine(const std::vector<std::string>& args, CommandLine* out);

std::string HelpText();

}  // namespace corvane::sim
