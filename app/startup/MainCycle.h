// SPDX-License-Identifier: MIT
//
// The running program's cycles and its end: the main cycle (Form1's Timer1,
// every 150 ms), the simulator watchdog (Form5's Timer1, every 500 ms), the
// keyboard focus kept where the pilot had it, and shutdown.
#pragma once

namespace corvane {
struct Program;
}

namespace corvane::startup {

// One main-cycle tick: the saved pause state written back on the first tick,
// events let run, the focus kept, the joystick written, one guidance and one
// landing step while they run, one exchange with the simulator, the throttle
// bar moved to the engine's throttle. A tick that arrives while the previous
// one still runs returns at once.
void MainCycle(Program& p);

// One watchdog tick: ends the program (normally) when the simulator's main
// window is gone.
void Watchdog(Program& p);

// Lists, for Form1, Form2 and Form3, the controls that have windows of their own.
void CollectWindowedControls(Program& p);

// Gives the keyboard focus back to the last window outside the program's own
// windowed controls that held it.
void KeepFocus(Program& p);

// A close request of the main window (its close box): the program ends at once.
void Form1_Unload(Program& p);
// The Exit command: unloads Form1 (which ends the program), Form2, Form3, Form4.
void Mnuexit_Click(Program& p);

}  // namespace corvane::startup
