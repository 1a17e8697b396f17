// SPDX-License-Identifier: MIT
//
// What the program commanded, step by step: every input of the variable
// space (levers, brakes, controls, the autopilot's switches and targets) with
// the time since the flight's start, and where the aircraft was at that
// start. Recorded from one simulator, it flies the same commands on another
// (the stand-in's model against FlightGear's, docs/flight-model.md).
//
// The text form (CSV): a line "# start" with the start's latitude,
// longitude, altitude (ft), true heading, indicated airspeed (kt), climb
// (ft/min) and flap position, a line "# aircraft" with the id of the aircraft
// that flew it (which may be missing), the column line, then one line per change of
// the inputs (the inputs hold until the next line).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "sim/physics/ControlInputs.h"

namespace corvane::sim {

struct CommandStart {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFt = 0.0;
    double headingTrueDeg = 0.0;
    double iasKt = 0.0;
    double climbFpm = 0.0;
    double flaps = 0.0;
};

struct TimedCommands {
    double timeS = 0.0;  // since the flight's start
    ControlInputs inputs;
};

struct CommandTrace {
    CommandStart start;
    std::string aircraftId;            // empty when the recording does not say
    std::vector<TimedCommands> steps;  // in time order

    // The inputs in force at a time (the last line at or before it; the first
    // before it).
    const ControlInputs& At(double timeS) const;
};

class CommandTraceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string CommandTraceStartLine(const CommandStart& start);
std::string CommandTraceAircraftLine(const std::string& aircraftId);
const char* CommandTraceHeader();
std::string CommandTraceLine(double timeS, const ControlInputs& in);
// The two inputs differ in anything a line carries.
bool CommandsDiffer(const ControlInputs& a, const ControlInputs& b);

// Reads the text form; throws CommandTraceError naming the line (and the
// name given) for a malformed one.
CommandTrace ParseCommandTrace(const std::string& text, const std::string& name);

}  // namespace corvane::sim
