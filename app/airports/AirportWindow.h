// SPDX-License-Identifier: MIT
//
// What the search window and the airport window share: showing an airport's
// plan in the airport window and giving the main window back.
#pragma once

namespace corvane {
struct Program;
}

namespace corvane::airports {

// Shows airport n's plan in the airport window in place of its list: the list
// and the details grid hidden, the window at the screen's left edge, the main
// window hidden, the details button shown, the airport selected and drawn.
void ShowAirportMap(Program& p, int airportNumber);

// Gives back what opening the search or the airport window took: the
// simulator's pause state, the main window with its main and map timers, and
// the keyboard focus to the simulator's window (repainted at once).
void ResumeMainWindow(Program& p);

}  // namespace corvane::airports
