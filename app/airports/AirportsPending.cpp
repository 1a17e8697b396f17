// SPDX-License-Identifier: MIT
// Placeholders until the airport windows are built: they do nothing.
#include "app/airports/AirportCommands.h"

namespace corvane::airports {
void mnushowplace_Click(Program&) {}
void cmdOK_Click(Program&) {}
void foundlist_Click(Program&, int) {}
void cmdDetails_Click(Program&) {}
void cmdclose_Click(Program&) {}
void OpenAirportFromMap(Program&, int) {}
}  // namespace corvane::airports
