// SPDX-License-Identifier: MIT
#include "app/map/MapReadouts.h"

#include <cmath>

#include "navdata/Geodesy.h"
#include "navdata/PositionText.h"

namespace corvane::map {
namespace {

// NumberText without its leading blank, added to the end of out.
void AppendBareNumberText(std::string& out, double x) {
    const std::size_t at = out.size();
    navdata::AppendNumberText(out, x);
    if (out.size() > at && out[at] == ' ')
        out.erase(at, 1);
}

// Degrees and minutes (minutes cut to two decimals) of an absolute value:
// "D* M".
void AppendDegreesMinutes(std::string& out, double wholeDegrees, double minutes) {
    AppendBareNumberText(out, wholeDegrees);
    out += "* ";
    AppendBareNumberText(out, minutes);
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
    std::string text;
    AppendBareNumberText(text, x);
    return text;
}

std::string MapPositionText(double lat, double lon) {
    std::string text;
    text.reserve(32);
    text += lat < 0 ? "S " : "N ";
    const double a = std::fabs(lat);
    const double wholeLat = std::floor(a);
    AppendDegreesMinutes(text, wholeLat, std::floor((a - wholeLat) * 60 * 100) / 100);
    text += "'  ";

    text += lon < 0 ? "W " : "E ";
    double b = std::fabs(lon);
    if (b > 360)
        b -= 360;
    const double whole = std::floor(b);
    // The minutes come from the fraction of a degree, so that a longitude of
    // exactly 360 reads "0* 0'" rather than a count of minutes past 0.
    AppendDegreesMinutes(text, std::fmod(whole, 360.0), std::floor((b - whole) * 60 * 100) / 100);
    text += '\'';
    return text;
}

std::string HeadingReadout(double headingDeg) {
    std::string text = "Heading ";
    navdata::AppendNumberText(text, std::floor(headingDeg * 10) / 10);
    return text;
}

std::string HeightReadout(double altitudeM, double groundAltitudeM, std::int32_t verticalSpeedFpm) {
    const double heightFt = std::floor((altitudeM - groundAltitudeM) * 3.2808399);
    const double climbFtPerSec = std::floor(verticalSpeedFpm / 6.0) / 10;
    std::string text;
    text.reserve(32);
    AppendBareNumberText(text, heightFt);
    text += verticalSpeedFpm > 0 ? " ft  +" : " ft  ";
    AppendBareNumberText(text, climbFtPerSec);
    text += " ft/sec";
    return text;
}

std::string SpeedReadout(double indicatedAirspeedKnots) {
    std::string text;
    AppendBareNumberText(text, std::floor(indicatedAirspeedKnots));
    text += " Kts";
    return text;
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
    std::string text;
    navdata::AppendNumberText(text, std::floor(frameSeconds * 100) / 100);
    text += '\t';
    navdata::AppendNumberText(text, dotCount);
    return text;
}

}  // namespace corvane::map
