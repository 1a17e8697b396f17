// SPDX-License-Identifier: MIT
//
// Temporary: the main window's common ending of menu commands, until the main
// window provides it (then this file is deleted). Hides the menu and gives the
// simulator its saved pause state back.
#include <cstdint>

#include "app/autopilot/EndMenuAction.h"
#include "app/startup/Program.h"

namespace corvane::mainwindow {

void EndMenuAction(Program& p) {
    p.forms.Form1.menu.mnuview.visible = false;
    p.plane.paused(static_cast<std::uint8_t>(p.SavedPauseState & 0xFF));
}

}  // namespace corvane::mainwindow
