// SPDX-License-Identifier: MIT
//
// The heading-up projection of the moving map: a position in degrees to a
// canvas position in pixels (origin top left, y down). The aircraft's heading
// points to the top edge. Pure values, no window system.
#pragma once

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
CanvasPoint ProjectToCanvas(const Projection& projection, double lat, double lon);

// A canvas coordinate as a whole pixel, rounded half to even. Values beyond
// +-2^24 pixels (far off any canvas) are held there, so that every input,
// however far off, converts safely; not-a-number gives 0.
int RoundToPixel(double value);

}  // namespace corvane::map
