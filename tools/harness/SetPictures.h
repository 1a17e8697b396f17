// SPDX-License-Identifier: MIT
//
// Pictures of a set of flights, written beside the summary as PNG images:
// - touchdown-dispersion.png: every touchdown point on a runway diagram
//   (feet past the threshold along, metres from the centre line across),
//   good landings in green and the others in red, with the touchdown zone
//   and the centre-line limit of a 45 m runway;
// - sink-rate.png: histogram of the sink rate at touchdown, with the limit;
// - centre-line.png: histogram of the distance from the centre line at
//   touchdown (right positive).
// Drawn with Qt's image painter (needs a Qt application object).
#pragma once

#include <string>
#include <vector>

#include "tools/harness/LandingReport.h"

namespace corvane::harness {

// The files written, or an empty list with *error set.
std::vector<std::string> WriteSetPictures(const std::vector<LandingReport>& reports,
                                          const std::string& folder, std::string* error);

}  // namespace corvane::harness
