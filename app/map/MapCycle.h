// SPDX-License-Identifier: MIT
//
// The map cycle in parts, for the cycle itself and for measuring a frame off
// screen. The timer's handler is MapCycle (MapCommands.h).
#pragma once

#include "app/map/MapReadouts.h"
#include "app/map/MapView.h"
#include "platform/Host.h"

namespace corvane {
struct Program;
}

namespace corvane::map {

// The caption of the simulator's main window, looked up every cycle.
inline constexpr const char* kSimulatorWindowTitle = "Microsoft Flight Simulator 98";

// One map cycle; placeWindows false leaves out the window placement (the
// frame is drawn, the readouts and Text1 set as in every cycle).
void RunMapCycle(Program& p, bool placeWindows);

// Keeps Form1 at least 100 twips from the screen's left and top edges and
// inside the simulator window's width and height, and Form4 at the simulator
// window's right edge. The simulator window is looked up by its caption; when
// it is not found the last known rectangle is used.
void PlaceMapWindows(Program& p);

// Picture1's size and the screen's twips per pixel.
MapScreen MapScreenOf(const Program& p);

// Picture1's rectangle on the screen in pixels: Form1's position plus
// Picture1's position inside it, and Picture1's size.
host::Rect Picture1ScreenRect(const Program& p);

// Writes the readout window's four lines and shows it, or hides it when the
// lines are not shown (the labels then keep their last texts).
void ShowReadouts(Program& p, const ReadoutLines& lines);

}  // namespace corvane::map
