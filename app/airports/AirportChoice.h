// SPDX-License-Identifier: MIT
//
// Which airport a line of the airport window's list, or the window's tag,
// names.
#pragma once

#include <cstdint>
#include <string>

#include "navdata/AirportDatabase.h"

namespace corvane::airports {

// The last airport record number in use: AirportCount, or less when the
// record list is shorter.
int LastAirportNumber(const navdata::AirportDatabase& db);

// The airport of a search result line: the line's own airport when its item
// data names one whose name the line shows, else the first airport of that
// name; AirportCount + 1 (the empty record) when no airport has it.
int AirportOfResultLine(const navdata::AirportDatabase& db, const std::string& line,
                        std::int32_t itemData);

// A whole number written as text (the window's tag); 0 when it is none.
int WholeNumber(const std::string& text);

}  // namespace corvane::airports
