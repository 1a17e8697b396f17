// SPDX-License-Identifier: MIT
#include "app/map/MapProjection.h"

#include <cmath>

namespace corvane::map {

ScaleAndTurn MapScaleAndTurn(const MapScreen& screen, double heading, double halflat,
                             double halflon) {
    ScaleAndTurn t;
    t.sx = screen.pictureWidthTwips / (2.0 * screen.twipsPerPixelX * halflon);
    t.sy = screen.pictureHeightTwips / (2.0 * screen.twipsPerPixelY * halflat);
    const double theta = heading / 57.3;
    t.s = static_cast<float>(std::sin(theta));
    t.c = static_cast<float>(std::cos(theta));
    return t;
}

CanvasPoint ProjectToCanvas(const Projection& projection, double lat, double lon) {
    const ScaleAndTurn& t = projection.turn;
    const float dx = static_cast<float>((lon - projection.centreLon) * t.sx);
    const float dy = static_cast<float>((lat - projection.centreLat) * t.sy);
    const float xc = static_cast<float>(projection.xc);
    const float yc = static_cast<float>(projection.yc);
    CanvasPoint point;
    point.x = xc + t.c * dx - t.s * dy;
    point.y = yc - t.s * dx - t.c * dy;
    return point;
}

int RoundToPixel(double value) {
    constexpr double kLimit = 16777216.0;  // 2^24
    if (std::isnan(value))
        return 0;
    if (value > kLimit)
        return static_cast<int>(kLimit);
    if (value < -kLimit)
        return -static_cast<int>(kLimit);
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace corvane::map
