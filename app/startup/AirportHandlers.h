// SPDX-License-Identifier: MIT
//
// The airport search window (Form3) and the airport window (Form2): their
// handlers, as the windows and the main window call them.
#pragma once

namespace corvane {
struct Program;
}

namespace corvane::startup {

// Opens the search (menu entry mnushowplace): with the simulator linked, the
// simulator is paused, the main window hidden and its timers stopped until the
// airport window closes. The pop-up menu is closed in every case.
void mnushowplace_Click(Program& p);
// Runs the search (cmdOK, also Enter in TxtAirport): lists the matches in the
// airport window; a single match shows its plan at once.
void cmdOK_Click(Program& p);
// The search window's close box: the search is abandoned and the program
// comes back as closing the airport window brings it back.
void Form3_QueryUnload(Program& p);
// A line of foundlist was chosen (index from 0). With the tag "airports" the
// line's airport is shown; otherwise the line is a landing direction and the
// flight starts with its item data.
void foundlist_Click(Program& p, int index);
// Shows or hides the runway details grid ("Show details" / "Hide details").
void cmdDetails_Click(Program& p);
// Closes the airport window (cmdclose, and also the window's close box): the
// simulator gets its pause state back, the main window and its two timers run
// again and the simulator's window gets the keyboard focus.
void cmdclose_Click(Program& p);
// An airport dot was pressed on the map, and the main window has paused the
// simulator and stopped its main and map timers: hides the main window and
// opens the airport's plan in the airport window. Does nothing for a number
// that is not an airport record.
void OpenAirportFromMap(Program& p, int airportNumber);

// Shows airport n's plan in the airport window in place of its list: the list
// and the details grid hidden, the details button shown, the airport selected
// and drawn.
void ShowAirportMap(Program& p, int airportNumber);
// Gives back what opening the search or the airport window took: the
// simulator's pause state, the main window with its main and map timers, and
// the keyboard focus to the simulator's window (repainted at once).
void ResumeMainWindow(Program& p);

}  // namespace corvane::startup
