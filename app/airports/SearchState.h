// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace corvane::airports {

struct SearchState {
    // What the pilot last typed into the search window.
    std::string SearchText;
    // The airport whose plan is shown (a record number of Airports; 0 none).
    std::int32_t SelectedAirport = 0;
    // The decimal separator of the user's locale, used by the plain number
    // texts of the runway details (ILS frequency and range). The host sets it
    // at start-up; "." until then.
    char DecimalSeparator = '.';
};

}  // namespace corvane::airports
