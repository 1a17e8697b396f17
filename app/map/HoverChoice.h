// SPDX-License-Identifier: MIT
//
// Which dot the mouse points at: the hover label of the map and the airport
// click of the main window choose the same way.
#pragma once

#include "app/map/MapState.h"
#include "ports/Host.h"

namespace corvane::map {

// The dot nearest to (mx, my) in pixels by Manhattan distance to its top left
// corner, among dots 1 to MapDotCount; equal distances go to the later dot.
// dot is 0 when there are no dots; distance starts at 10000.
struct DotChoice {
    int dot = 0;
    float distance = 10000;
};
DotChoice ChooseNearestDot(const MapState& state, float mx, float my);

// The catch distance in pixels: the width plus the height of the Picyellow box
// (twips) in pixels. Example: 66 x 66 twips at 15 twips per pixel -> 8.8.
float CatchDistance(double widthTwips, double heightTwips, int twipsPerPixelX, int twipsPerPixelY);

// A screen point inside a rectangle, edges included on all four sides.
bool PointInRectInclusive(host::Point point, const host::Rect& rect);

// The hover label's dot: 0 (no label) when the mouse is not over the map,
// while the joystick is dragged, or when the nearest dot is not closer than
// the catch distance.
int ChooseHoverDot(const MapState& state, bool mouseOverMap, bool joystickDragging, float mx,
                   float my, float catchDistance);

}  // namespace corvane::map
