// SPDX-License-Identifier: MIT
//
// The plan of one airport in the airport window: runways filled by surface,
// labels, ATIS and fuel markers, the scale bar and the text block.
#pragma once

#include "app/forms/Controls.h"

namespace corvane {
struct Program;
}

namespace corvane::map {

void showmapall(Program& p, int airportNumber);

}  // namespace corvane::map
