// SPDX-License-Identifier: MIT
//
// Flies recorded commands (sim/trace/CommandTrace.h) on the stand-in, without
// the program: the aircraft starts where the recording's flight started, in
// the recording's trim, and each step gets the inputs in force at its time,
// so the stand-in's autopilot flies the program's targets on its own model.
// The landing is measured against the scenario's runway as in any flight. A
// recording of FlightGear's Cessna so shows how the light single flies the
// same commands (docs/flight-model.md).
#pragma once

#include <cstdio>
#include <string>

#include "navdata/AirportDatabase.h"
#include "sim/physics/AircraftConfig.h"
#include "sim/physics/Terrain.h"
#include "sim/trace/CommandTrace.h"
#include "tools/harness/LandingReport.h"
#include "tools/harness/Scenario.h"

namespace corvane::harness {

// Seconds the replay flies on once the recording has ended (the aircraft
// rolling to its stop).
inline constexpr double kReplayAfterS = 60.0;

// The stand-in aircraft that flies a recording again: the one asked for, else
// the one that flew it, else the scenario's; an aircraft the stand-in does not
// have (FlightGear's Cessna) is flown by its counterpart, the light single.
std::string ReplayAircraftId(const std::string& requested, const sim::CommandTrace& trace,
                             const Scenario& scenario);

// Never throws for a scenario that cannot be flown: the report's outcome is
// then Error and its error says why. The report's hand-back is the
// recording's last autopilot master switch off. With a trace file, the
// flight's trace goes there as the harness writes it, a line every
// traceEverySteps steps (the program's column says "replay").
LandingReport ReplayCommands(const navdata::AirportDatabase& db, const sim::Terrain* terrain,
                             const Scenario& scenario, const sim::CommandTrace& trace,
                             const sim::AircraftConfig& aircraft, std::FILE* traceFile = nullptr,
                             int traceEverySteps = 10);

}  // namespace corvane::harness
