// SPDX-License-Identifier: MIT
//
// The fixed overlays of the moving map (range circles or crosswires, centred
// on the aircraft) and the scale bar of the airport plan. Each draws with the
// canvas's own line and circle methods, in its scale units and fore colour;
// W and H are the picture's width and height read as numbers in those units.
#pragma once

#include "ports/Canvas.h"

namespace corvane::map {

// Three circles around (W / 2, H / 2) with radii H / 8, H / 4 and 3 H / 8: a
// quarter, a half and three quarters of the map's range.
// Example: on a 2500 x 2500 picture the radii are 312.5, 625 and 937.5.
void DrawCircles(forms::Canvas& canvas, double W, double H);

// A horizontal and a vertical line through the centre, then ticks at half the
// range on each axis: across the horizontal line at W / 2 +- W / 4 (half
// length W / 40), across the vertical line at H / 2 +- H / 4 (half length
// H / 40).
void DrawCrosswires(forms::Canvas& canvas, double W, double H);

// The length in picture units of 3000 feet when spanMetres of ground cover
// 0.85 x H / 2 units: 3000 x (0.85 H / 2) / (spanMetres x 3.2808).
double ScaleBarLength(double H, double spanMetres);

// Longest scale bar drawn, in picture units: a longer one is drawn this long,
// which looks the same since both run far past any picture's right edge.
inline constexpr double kMaxScaleBarLength = 1e6;

// A 3000 ft scale bar in the lower left corner from x0 = 100, y0 = H - 500:
// end ticks of half length 100 at x0 and x0 + L, thirds ticks of half length
// 50, the bar itself, and "3000 ft" centred under it (top at y0 + 100) in the
// canvas's font. A bar longer than the picture runs past its edge (clipped).
// Nothing is drawn for a span that is not a positive number.
void DrawScale(forms::Canvas& canvas, double H, double spanMetres);

}  // namespace corvane::map
