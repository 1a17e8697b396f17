// SPDX-License-Identifier: MIT
#include "app/map/MapView.h"

#include <cmath>

#include "app/navdata/Geodesy.h"
#include "app/navdata/NavigationConstants.h"

namespace corvane::map {
namespace {

constexpr double kTwoTo32 = 4294967296.0;

// hi + lo / 2^32 for a non-negative high word, hi - lo / 2^32 for a negative
// one, with the low word taken as signed.
double PositionValue(std::int32_t hi, std::uint32_t lo) {
    const double fraction = static_cast<double>(static_cast<std::int32_t>(lo)) / kTwoTo32;
    return hi >= 0 ? hi + fraction : hi - fraction;
}

}  // namespace

double MapLatitude(const flightstate::FlightState& state) {
    return PositionValue(state.latitudehi, state.latitudelo) * 45.0 / 5000875.0;
}

double MapLongitude(const flightstate::FlightState& state) {
    return PositionValue(state.longitudehi, state.longitudelo) * 90.0 / 1073741824.0;
}

double MapHeading(const flightstate::FlightState& state) {
    double heading = state.heading * 360.0 / kTwoTo32;
    if (heading < 0)
        heading += 360.0;
    return heading;
}

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
