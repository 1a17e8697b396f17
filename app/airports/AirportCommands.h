// SPDX-License-Identifier: MIT
//
// The airport search window and the airport window's entry points.
#pragma once

namespace corvane {
struct Program;
}

namespace corvane::airports {

void mnushowplace_Click(Program& p);          // opens the search
void cmdOK_Click(Program& p);                 // runs the search
void foundlist_Click(Program& p, int index);  // a line of the list was chosen
void cmdDetails_Click(Program& p);
void cmdclose_Click(Program& p);              // also the window's close box
// An airport dot was clicked on the map: opens its plan in the airport window.
void OpenAirportFromMap(Program& p, int airportNumber);

}  // namespace corvane::airports
