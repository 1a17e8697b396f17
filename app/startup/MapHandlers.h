// SPDX-License-Identifier: MIT
//
// The moving map's cycle (Form1's Timer3, every 300 ms) and its menu
// commands.
#pragma once

namespace corvane {
struct Program;
}

namespace corvane::startup {

// One map cycle.
void MapCycle(Program& p);
// One map cycle; placeWindows false leaves out the window placement (the
// frame is drawn, the readouts and Text1 set as in every cycle).
void RunMapCycle(Program& p, bool placeWindows);
// Places Form1 and Form4 on the simulator's window, looked up by its caption
// (the last known rectangle when it is not found).
void PlaceMapWindows(Program& p);

// Menu commands (each ends like every menu action).
void RangeMenu_Click(Program& p, int rangeMiles);  // Mnu5miles ... Mnu250miles
void mnuairportdots_Click(Program& p);
void mnundbdots_Click(Program& p);
void mnuvordots_Click(Program& p);
void mnucrosswire_Click(Program& p);
void mnuhide_Click(Program& p);

}  // namespace corvane::startup
