// SPDX-License-Identifier: MIT
//
// The fly-there autopilot's handlers: the main cycle's guidance and landing
// steps, the airport window's "Fly there" and its landing directions, the
// flight's start, the simulator autopilot's engagement, the menu's cruise
// heights, stop command and fly-past view. Each gathers what the autopilot's
// step reads, writes the commands it returns and has its report shown.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {
struct Program;
}

namespace corvane::startup {

// One en-route guidance step and one landing step (called by the main cycle
// while their stages are above 0).
void RouteTick(Program& p);
void LandingTick(Program& p);
// Adds the aircraft's position to the plan's ground track (the main cycle,
// before the guidance and landing steps, while a flight is under way).
void SampleGroundTrack(Program& p);
// "Fly there" in the airport window: lists the landing directions.
void cmdflyme_Click(Program& p);
// Fills the airport window's list with the landing directions of the
// destination airport: two lines per runway record ("<designator>\t<length>
// ft"), item data +i for end A and -i for end B.
void ListRunways(Program& p);
// A landing direction was chosen (+i end A, -i end B): starts the flight. A
// choice that names no runway record starts nothing.
void StartFlight(Program& p, std::int32_t runwayChoice);
// Puts the simulator's autopilot into the state the guidance needs (master,
// altitude and heading hold on, current heading, the given altitude in feet,
// everything else neutral), over two exchanges made at once.
void EngageAutopilot(Program& p, std::int32_t altitudeFt);
// Menu commands: the cruise heights (mnuAbs3000 ... mnuground16000, by the
// menu entry's name), the stop command, the fly-past view.
void CruiseHeight_Click(Program& p, const std::string& entryName);
void mnuFlythereOff_Click(Program& p);
void mnuFlyPast_Click(Program& p);
void Timer4_Timer(Program& p);
// Reads the aircraft and writes the tower viewpoint (towerlat, towerlon, toweralt).
void FlyPastTick(Program& p, double leadSeconds, double sideFt);

}  // namespace corvane::startup
