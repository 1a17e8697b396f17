// SPDX-License-Identifier: MIT
//
// What a step of the fly-there autopilot decides: the commands to the
// aircraft and what the pilot is told (the status row of the readout window:
// the stage and the distance; the end of the flight's display; a message).
// The program writes the commands before the next exchange and its presenter
// writes the report into the window.
#pragma once

#include <optional>
#include <string>

#include "app/flightstate/AircraftCommands.h"

namespace corvane::autopilot {

struct FlyThereReport {
    std::optional<std::string> stage;     // the stage's text, when the step sets it
    std::optional<std::string> distance;  // the distance's text, when the step sets it
    // The flight is over for the display: the flight's menu entries go and the
    // status row closes.
    bool displayEnded = false;
    // A message for the pilot (title "Fly there"); empty for none.
    std::string alert;
};

struct FlyThereStep {
    flightstate::AircraftCommands commands;
    FlyThereReport report;
    // The simulator's autopilot is to be engaged for the route before the
    // report is shown (the route's first step asks for it).
    std::optional<std::int32_t> engageAtAltitudeFt;
};

}  // namespace corvane::autopilot
