// SPDX-License-Identifier: MIT
//
// The pieces of the main window's outline, in window pixels (twips divided by
// the screen's twips per pixel, rounded half to even): the map's shape, round
// or square, and the throttle bar's rectangle.
#pragma once

#include <vector>

#include "app/forms/Controls.h"

namespace corvane {
struct Program;
}

namespace corvane::mainwindow {

// The map's outline: an ellipse or a rectangle from (0, 0) to Picture1's size.
forms::RegionShape MapOutline(Program& p, bool round);
// The throttle bar's rectangle.
forms::RegionShape ThrottleRectangle(Program& p);
// The window's region: the map's outline, with the throttle's rectangle joined
// to it when the throttle is shown.
std::vector<forms::RegionShape> WindowRegion(Program& p, bool round, bool withThrottle);

}  // namespace corvane::mainwindow
