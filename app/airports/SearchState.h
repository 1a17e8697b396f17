// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace corvane::airports {

struct SearchState {
    std::string SearchText;
    std::int32_t SelectedAirport = 0;  // the airport whose plan is shown
};

}  // namespace corvane::airports
