// SPDX-License-Identifier: MIT
//
// The main window: the map's mouse handlers (the right button pauses the
// simulator and opens the pop-up menu; a left press on an airport dot opens the
// airport, anywhere else it drags the window), the menu commands of the window
// itself (outline, minimise and restore, help), the common ending of menu
// commands, and the menu dispatcher that runs a command by its item's name.
#pragma once

#include <string>

namespace corvane {
struct Program;
}

namespace corvane::mainwindow {

// Mouse buttons as the handlers receive them (shift: 1 Shift, 2 Ctrl, 4 Alt).
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Mouse pointers of the models.
inline constexpr int kArrowPointer = 0;
inline constexpr int kMovePointer = 5;

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

// The outline commands' measures: twips to window pixels, rounded half to even.
int PixelsX(Program& p, double twips);
int PixelsY(Program& p, double twips);

}  // namespace corvane::mainwindow
