// SPDX-License-Identifier: MIT
//
// The start-up picture window (Form6): the program's name over a small map
// motif, and a status line that start-up uses while it waits for the simulator.
#pragma once

#include <string>

#include "app/forms/Controls.h"

namespace corvane {
struct Program;
}

namespace corvane::startup {

// Draws the start-up picture on the picture's canvas (nothing without one).
void DrawStartupPicture(forms::Picture& picture);

// Shows Form6 with the status text (it stays where start-up placed it).
void ShowStartupStatus(Program& p, const std::string& text);
// Hides Form6 again (when it shows a status).
void HideStartupStatus(Program& p);

}  // namespace corvane::startup
