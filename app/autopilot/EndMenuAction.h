// SPDX-License-Identifier: MIT
//
// The common ending of the main window's menu commands (hides the menu and
// gives the simulator its saved pause state back). It belongs to the main
// window; declared here for the autopilot's menu commands.
#pragma once

namespace corvane {
struct Program;
}

namespace corvane::mainwindow {
void EndMenuAction(Program& p);
}  // namespace corvane::mainwindow
