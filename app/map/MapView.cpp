// SPDX-License-Identifier: MIT
#include "app/map/MapView.h"

#include <cmath>

#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"

namespace corvane::map {

double MetresPerLongitudeDegree(double lat) {
    return navdata::InterpolatedFeetPerLongitudeDegree(std::fabs(lat)) / navdata::FeetPerMetre;
}

std::int16_t PixelCount(double twips, int twipsPerPixel) {
    if (twipsPerPixel <= 0)
        return 0;
    const double pixels = std::nearbyint(twips / twipsPerPixel);
    if (!(pixels > 0))
        return 0;
    return pixels > 32767 ? std::int16_t{32767} : static_cast<std::int16_t>(pixels);
}

MapView MakeMapView(double lat, double lon, double heading, double rangeNm,
                    double metresPerDegreeLatitude, const MapScreen& screen) {
    MapView v;
    v.lat = lat;
    v.lon = lon;
    v.heading = heading;
    v.halflat = rangeNm * 1852.0 / metresPerDegreeLatitude;
    const double metresPerLonDegree = MetresPerLongitudeDegree(lat);
    const double halflon = rangeNm * 1852.0 / metresPerLonDegree;
    // At the poles (and for a position beyond them) the table gives no length:
    // the box then covers every longitude instead of an infinite span.
    v.halflon = (halflon >= 0 && halflon <= kMaxHalfLon) ? halflon : kMaxHalfLon;
    v.lonmin = lon - v.halflon;
    v.lonmax = lon + v.halflon;
    v.latmin = lat - v.halflat;
    v.latmax = lat + v.halflat;
    v.width = PixelCount(screen.pictureWidthTwips, screen.twipsPerPixelX);
    v.height = PixelCount(screen.pictureHeightTwips, screen.twipsPerPixelY);
    return v;
}

}  // namespace corvane::map
