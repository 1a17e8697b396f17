// SPDX-License-Identifier: MIT
//
// The heading-up projection of the moving map: a position in degrees to a
// canvas position in pixels (origin top left, y down). The aircraft's heading
// points to the top edge. Pure values, no window system.
#pragma once

#include <cmath>

#include "app/map/MapView.h"

namespace corvane::map {

// The projection's scale and rotation, shared by every layer of a frame.
struct ScaleAndTurn {
    double sx = 0;  // pixels per degree of longitude
    double sy = 0;  // pixels per degree of latitude
    float s = 0;    // sine of the heading (heading / 57.3 radians), single precision
    float c = 1;    // cosine of the heading, single precision
};

// sx = picture width in twips / (2 x twips per pixel in x x halflon), sy the
// same with the height and halflat; the heading turns by heading / 57.3
// radians (the map's own divisor, not 180 / pi).
ScaleAndTurn MapScaleAndTurn(const MapScreen& screen, double heading, double halflat,
                             double halflon);

// A projection: the map centre (degrees), the canvas centre (pixels) and the
// scale and rotation.
struct Projection {
    double centreLat = 0;
    double centreLon = 0;
    double xc = 0;
    double yc = 0;
    ScaleAndTurn turn;
};

struct CanvasPoint {
    float x = 0;
    float y = 0;
};

// dx = (lon - centreLon) x sx and dy = (lat - centreLat) x sy, each rounded to
// single precision; x = xc + c dx - s dy, y = yc - s dx - c dy, in single
// precision. Example: at heading 0 a point north of the centre lies straight
// above the canvas centre; at heading 90 a point east of it does.
// Inline: the coastline layer projects every point of the blocks in view.
inline CanvasPoint ProjectToCanvas(const Projection& projection, double lat, double lon) {
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

// A canvas coordinate as a whole pixel, rounded half to even. Values beyond
// +-2^24 pixels (far off any canvas) are held there, so that every input,
// however far off, converts safely; not-a-number gives 0.
inline int RoundToPixel(double value) {
    constexpr double kLimit = 16777216.0;  // 2^24
    if (std::isnan(value))
        return 0;
    if (value > kLimit)
        return static_cast<int>(kLimit);
    if (value < -kLimit)
        return -static_cast<int>(kLimit);
    // Half to even without a call: below 2^52 adding and taking away 2^52
    // rounds in the machine's own rounding (to nearest, ties to even), as
    // std::nearbyint does; held to 2^24 the value is far below that.
    constexpr double kShift = 4503599627370496.0;  // 2^52
    const double rounded = value >= 0 ? (value + kShift) - kShift : (value - kShift) + kShift;
    return static_cast<int>(rounded);
}

}  // namespace corvane::map
