// SPDX-License-Identifier: MIT
//
// The moving map's view of one frame: the aircraft's position and heading, and
// the box of ground the map shows around it. Pure arithmetic, no window system.
#pragma once

#include <cstdint>
#include <functional>

namespace corvane::map {

// Lets pending window events run in the middle of a long drawing loop (the
// program passes the host's DoEvents; tests count the calls).
using LetEventsRun = std::function<void()>;

// The map picture's size as designed (twips) and the screen's twips per pixel:
// together they set the projection's scale.
struct MapScreen {
    double pictureWidthTwips = 2500;
    double pictureHeightTwips = 2500;
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
};

// The per-frame view. Degrees unless said; width and height in whole pixels.
struct MapView {
    double lat = 0;  // aircraft position, the centre of the box
    double lon = 0;
    double heading = 0;  // true heading, degrees
    double halflat = 0;  // half the box's height in degrees of latitude
    double halflon = 0;  // half the box's width in degrees of longitude
    double lonmin = 0;
    double lonmax = 0;
    double latmin = 0;
    double latmax = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
};

// The largest half width of the box in degrees of longitude: at the poles a
// degree of longitude has no length, and the box then spans every longitude.
inline constexpr double kMaxHalfLon = 180.0;

// Metres in one degree of longitude at a latitude, interpolated between the
// whole-degree rows of the feet-per-degree table (upper row held at 90).
// Example: at latitude 60 about 55597 m.
double MetresPerLongitudeDegree(double lat);

// A size in twips as whole pixels, rounded half to even (2500 / 15 -> 167).
std::int16_t PixelCount(double twips, int twipsPerPixel);

// The view of a frame: the box of half side rangeNm nautical miles around
// (lat, lon). halflon is held at kMaxHalfLon where a degree of longitude is
// (nearly) without length. Example: range 5 at latitude 60 gives halflat
// 9260 / 111130.555555555 = 0.08333 and halflon about 0.1666.
MapView MakeMapView(double lat, double lon, double heading, double rangeNm,
                    double metresPerDegreeLatitude, const MapScreen& screen);

}  // namespace corvane::map
