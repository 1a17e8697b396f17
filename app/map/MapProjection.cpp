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

}  // namespace corvane::map
