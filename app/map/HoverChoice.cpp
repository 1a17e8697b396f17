// SPDX-License-Identifier: MIT
#include "app/map/HoverChoice.h"

#include <cmath>

namespace corvane::map {

DotChoice ChooseNearestDot(const MapState& state, float mx, float my) {
    DotChoice choice;
    for (int i = 1; i <= state.MapDotCount; ++i) {
        const MapDot& dot = state.MapDots[static_cast<std::size_t>(i)];
        const float distance = std::fabs(mx - dot.x) + std::fabs(my - dot.y);
        if (distance <= choice.distance) {
            choice.distance = distance;
            choice.dot = i;
        }
    }
    return choice;
}

float CatchDistance(double widthTwips, double heightTwips, int twipsPerPixelX, int twipsPerPixelY) {
    if (twipsPerPixelX <= 0 || twipsPerPixelY <= 0)
        return 0;
    return static_cast<float>(widthTwips / twipsPerPixelX + heightTwips / twipsPerPixelY);
}

bool PointInRectInclusive(host::Point point, const host::Rect& rect) {
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
           point.y <= rect.bottom;
}

int ChooseHoverDot(const MapState& state, bool mouseOverMap, bool joystickDragging, float mx,
                   float my, float catchDistance) {
    if (!mouseOverMap || joystickDragging)
        return 0;
    const DotChoice choice = ChooseNearestDot(state, mx, my);
    return choice.distance < catchDistance ? choice.dot : 0;
}

}  // namespace corvane::map
