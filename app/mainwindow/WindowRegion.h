// SPDX-License-Identifier: MIT
//
// The main window's outline, in window pixels (twips divided by the screen's
// twips per pixel, rounded half to even): the map's shape, round or square,
// the throttle bar's rectangle, and the window's shape commands (round or
// square, shrunk to a spot in the middle of the map or restored).
#pragma once

#include <vector>

#include "app/forms/Forms.h"

namespace corvane::mainwindow {

// The screen's twips per pixel, for the outline's measures.
struct PixelScale {
    int x = 15;
    int y = 15;
};

// Twips to window pixels, rounded half to even.
int PixelsX(PixelScale scale, double twips);
int PixelsY(PixelScale scale, double twips);

// The map's outline: an ellipse or a rectangle from (0, 0) to Picture1's size.
forms::RegionShape MapOutline(const forms::Form1Model& form1, PixelScale scale, bool round);
// The throttle bar's rectangle.
forms::RegionShape ThrottleRectangle(const forms::Form1Model& form1, PixelScale scale);
// The window's region: the map's outline, with the throttle's rectangle joined
// to it when the throttle is shown.
std::vector<forms::RegionShape> WindowRegion(const forms::Form1Model& form1, PixelScale scale,
                                             bool round, bool withThrottle);

// "Round window" / "Square window": the caption names the outline the command
// gives next; the outline is set, with the throttle's rectangle while the
// throttle is shown.
void SwitchShape(forms::Form1Model& form1, PixelScale scale);

// "Minimize" / "Restore". Shrinking gives the window a round spot in the
// middle of the map, hides the knob and the readout window; restoring gives
// the outline again (the shape command twice, so that it stays what it was),
// the knob when the joystick is on and the readout window. Returns true when
// the window was shrunk (the map cycle then stops; restored, both cycles run).
bool SwitchMinimized(forms::Form1Model& form1, forms::Form4Model& form4, PixelScale scale);

}  // namespace corvane::mainwindow
