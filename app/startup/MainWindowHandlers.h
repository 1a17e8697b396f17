// SPDX-License-Identifier: MIT
//
// The main window's handlers: the map's mouse (the right button pauses the
// simulator and opens the pop-up menu; a left press on an airport dot opens the
// airport, anywhere else it drags the window), the window's own menu commands
// (outline, minimise and restore, help), the common ending of menu commands,
// and the menu dispatcher that runs a command by its item's name.
#pragma once

#include <string>

#include "app/mainwindow/WindowRegion.h"

namespace corvane {
struct Program;
}

namespace corvane::startup {

// The map's mouse events; x, y in twips inside Picture1.
void Picture1_MouseDown(Program& p, int button, int shift, float x, float y);
void Picture1_MouseMove(Program& p, int button, int shift, float x, float y);
void Picture1_MouseUp(Program& p, int button, int shift, float x, float y);

// The common ending of menu commands: hides the menu and gives the simulator
// its saved pause state back.
void EndMenuAction(Program& p);

// Round or square outline ("Round window" / "Square window").
void mnushape_Click(Program& p);
// Shrinks the window to a round spot in the middle of the map, or restores it.
void mnuminimize_Click(Program& p);
// Opens the help file in a viewer.
void mnuHelp_Click(Program& p);

// Runs the command of the menu item with this name, as choosing it in the
// pop-up menu does. Commands end with EndMenuAction (run here for a command that
// did not end itself), except the airport search, which keeps the simulator
// paused until its window closes, Help and Exit. False when no command has
// that name (submenus, unknown names).
bool MenuClick(Program& p, const std::string& itemName);

// The screen's twips per pixel, for the window's outline.
mainwindow::PixelScale PixelScaleOf(Program& p);

}  // namespace corvane::startup
