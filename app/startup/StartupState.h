// SPDX-License-Identifier: MIT
//
// The state of start-up and of the simulator connection: the simulator's
// folder and program, the focus window kept by the main cycle, the lists of
// the program's own windowed controls, and the limits of the waits.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "ports/Host.h"

namespace corvane::startup {

struct StartupState {
    // The simulator's folder as the registry names it (in its real case, ending
    // in a separator), empty when unknown; and its program in that folder.
    std::string SimulatorFolder;
    std::string SimulatorExePath;
    // The last window holding the keyboard focus that was not one of the
    // program's own windowed controls; 0 at start.
    host::WindowId FocusWindow = 0;
    // For Form1, Form2 and Form3: the indices, in each form's control
    // collection, of the controls that have a window of their own.
    std::array<std::vector<int>, 3> WindowedControls;

    // Seconds: how long start-up waits for a launched simulator's window and
    // link, for the first position before it asks whether to go on waiting,
    // and after asking the simulator to close.
    double LaunchWaitLimit = 60;
    double PositionWaitLimit = 30;
    double CloseWait = 5;
};

}  // namespace corvane::startup
