// SPDX-License-Identifier: MIT
#include "app/map/MapReadouts.h"

#include <cmath>

#include "navdata/Geodesy.h"
#include "navdata/PositionText.h"

namespace corvane::map {
namespace {

// Degrees and minutes (cut to two decimals) of an absolute value.
std::string DegreesMinutes(double degrees, double wholeDegrees) {
    const double minutes = std::floor((degrees - wholeDegrees) * 60 * 100) / 100;
    return BareNumberText(wholeDegrees) + "* " + BareNumberText(minutes);
}

template <typename Beacon>
std::string BeaconName(const char* kind, const std::vector<Beacon>& table, int item) {
    std::string name = std::string(kind) + " - ";
    if (item < 1 || item >= static_cast<int>(table.size()))
        return name;
    const Beacon& beacon = table[static_cast<std::size_t>(item)];
    return name + beacon.label1 + " - " + beacon.label2;
}

}  // namespace

std::string BareNumberText(double x) {
    std::string text = navdata::NumberText(x);
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    return text;
}

std::string MapPositionText(double lat, double lon) {
    std::string text = lat < 0 ? "S " : "N ";
    const double a = std::fabs(lat);
    text += DegreesMinutes(a, std::floor(a)) + "'  ";

    text += lon < 0 ? "W " : "E ";
    double b = std::fabs(lon);
    if (b > 360)
        b -= 360;
    const double whole = std::floor(b);
    const double wrapped = std::fmod(whole, 360.0);
    // The minutes come from the fraction of a degree, so that a longitude of
    // exactly 360 reads "0* 0'" rather than a count of minutes past 0.
    const double minutes = std::floor((b - whole) * 60 * 100) / 100;
    text += BareNumberText(wrapped) + "* " + BareNumberText(minutes) + "'";
    return text;
}

std::string HeadingReadout(double headingDeg) {
    return "Heading " + navdata::NumberText(std::floor(headingDeg * 10) / 10);
}

std::string HeightReadout(double altitudeM, double groundAltitudeM, std::int32_t verticalSpeedFpm) {
    const double heightFt = std::floor((altitudeM - groundAltitudeM) * 3.2808399);
    const double climbFtPerSec = std::floor(verticalSpeedFpm / 6.0) / 10;
    return BareNumberText(heightFt) + " ft  " + (verticalSpeedFpm > 0 ? "+" : "") +
           BareNumberText(climbFtPerSec) + " ft/sec";
}

std::string SpeedReadout(double indicatedAirspeedKnots) {
    return BareNumberText(std::floor(indicatedAirspeedKnots)) + " Kts";
}

std::string BearingText(double bearingDeg) {
    return "Bearing" + navdata::NumberText(std::floor(bearingDeg));
}

std::string DistanceText(double distanceNm) {
    return BareNumberText(std::floor(distanceNm * 10) / 10) + " miles";
}

std::string EtaText(double distanceNm, double trueAirspeedKnots) {
    if (trueAirspeedKnots < 2)
        return "ETA long";
    const double hours = distanceNm / trueAirspeedKnots;
    const double h = std::floor(hours);
    const double m = std::floor((hours - h) * 60);
    if (h == 0)
        return "ETA " + navdata::NumberText(m) + " mins";
    return "ETA " + BareNumberText(h) + " hr " + navdata::NumberText(m) + " m";
}

ReadoutLines HoverReadout(const navdata::AirportDatabase& db, const MapDot& dot, double lat,
                          double lon, double trueAirspeedKnots) {
    ReadoutLines r;
    r.shown = true;
    double targetLat = lat;
    double targetLon = lon;
    const int item = dot.item;
    switch (dot.kind) {
        case kAirportWithoutFuel:
        case kAirportWithFuel:
            if (item >= 1 && item < static_cast<int>(db.Airports.size())) {
                const navdata::AirportRecord& airport = db.Airports[static_cast<std::size_t>(item)];
                r.lines[0] = airport.name;
                targetLat = airport.latitude;
                targetLon = airport.longitude;
            }
            break;
        case kVorDot:
            r.lines[0] = BeaconName("VOR", db.Vors, item);
            if (item >= 1 && item < static_cast<int>(db.Vors.size())) {
                targetLat = db.Vors[static_cast<std::size_t>(item)].latitude;
                targetLon = db.Vors[static_cast<std::size_t>(item)].longitude;
            }
            break;
        case kNdbDot:
            r.lines[0] = BeaconName("NDB", db.Ndbs, item);
            if (item >= 1 && item < static_cast<int>(db.Ndbs.size())) {
                targetLat = db.Ndbs[static_cast<std::size_t>(item)].latitude;
                targetLon = db.Ndbs[static_cast<std::size_t>(item)].longitude;
            }
            break;
        default:
            break;
    }
    // A dot across the 180 degree meridian is measured on the aircraft's side
    // of it, as the map places it.
    targetLon = navdata::NearestLongitude(targetLon, lon);
    const double distanceNm = navdata::GreatCircleDistance(lat, lon, targetLat, targetLon) / 1852;
    const double bearing = navdata::InitialBearing(lat, lon, targetLat, targetLon);
    r.lines[1] = BearingText(bearing);
    r.lines[2] = DistanceText(distanceNm);
    r.lines[3] = EtaText(distanceNm, trueAirspeedKnots);
    return r;
}

ReadoutLines AircraftReadout(const std::string& positionText, double headingDeg,
                             const flightstate::Readings& aircraft) {
    ReadoutLines r;
    r.shown = true;
    r.lines[0] = positionText;
    r.lines[1] = HeadingReadout(headingDeg);
    r.lines[2] =
        HeightReadout(aircraft.altitudeM, aircraft.groundAltitudeM, aircraft.verticalSpeedFpm);
    r.lines[3] = SpeedReadout(aircraft.indicatedAirspeedKnots);
    return r;
}

std::string FrameText(double frameSeconds, int dotCount) {
    return navdata::NumberText(std::floor(frameSeconds * 100) / 100) + "\t" +
           navdata::NumberText(dotCount);
}

}  // namespace corvane::map
