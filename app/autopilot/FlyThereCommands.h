// SPDX-License-Identifier: MIT
//
// The fly-there autopilot's entry points.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {
struct Program;
}

namespace corvane::autopilot {

// One en-route guidance step and one landing step (called by the main cycle
// while their stages are above 0).
void RouteTick(Program& p);
void LandingTick(Program& p);
// "Fly there" in the airport window: lists the landing directions.
void cmdflyme_Click(Program& p);
// A landing direction was chosen (+i end A, -i end B): starts the flight.
void StartFlight(Program& p, std::int32_t runwayChoice);
// Menu commands: the cruise heights (mnuAbs3000 ... mnuground16000, by the
// menu entry's name), the stop command, the fly-past view.
void CruiseHeight_Click(Program& p, const std::string& entryName);
void mnuFlythereOff_Click(Program& p);
void mnuFlyPast_Click(Program& p);
void Timer4_Timer(Program& p);

}  // namespace corvane::autopilot
