// SPDX-License-Identifier: MIT
//
// Start-up: the load handler of the main window runs the whole of it, in this
// order: program folder, start-up picture, navigation data, the simulator
// found (or started), the main window laid out, the link opened, the range
// circles drawn, the first position awaited, the timers on, the windows placed
// inside the simulator's window, the round outline, the default cruise height,
// the watchdog on.
//
// Start-up ends the program (Host::Ended) with a message saying why when the
// simulator cannot be found or started, the link library cannot be loaded, a
// data file is missing or damaged, or the user stops waiting for the first
// position.
#pragma once

#include <string>

namespace corvane {
struct Program;
}

namespace corvane::startup {

// Makes the program's four timers (switched off) when they are not made yet:
// Form1's Timer1 (main cycle, 150 ms), Timer3 (map cycle, 300 ms), Timer4
// (fly-past, 30 s) and Form5's Timer1 (watchdog, 500 ms).
void CreateTimers(Program& p);

// The load handler of Form1. programFolder is the folder of the program's
// executable (the IPC module lies there); dataFolder holds the data files and
// the help file (empty: the program's folder).
void Form1_Load(Program& p, const std::string& programFolder,
                const std::string& dataFolder = std::string());

// Lays out the main window: the map at its top left, the window fitted to the
// map and the throttle, the work and store pictures sized like the map.
void LayOutForm1(Program& p);
// Lays out the readout window: Label1 to Label4 side by side in one row.
void LayOutForm4(Program& p);

// The end of the program: closes an open connection of the link library. The
// library closes it when it is unloaded too, but its clean-up at unload uses
// state it has already destroyed; closing it while everything is alive keeps
// the end clean. A library that never loaded has nothing to close.
void CloseLink(Program& p);

// Start-up's wait for the first position: exchanges with the simulator once a
// second until it reports a position off the zero lines. After
// PositionWaitLimit seconds without one it asks whether to go on waiting.
// False when the program has ended meanwhile.
bool WaitForFirstPosition(Program& p);

}  // namespace corvane::startup
