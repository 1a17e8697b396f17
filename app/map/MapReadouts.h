// SPDX-License-Identifier: MIT
//
// The texts of the moving map: the position text, the four lines of the
// readout window (the aircraft's readouts or the hover label of a beacon or
// airport) and the frame line of Text1. Numbers are written by the program's
// number rule (NumberText: a leading blank for values >= 0, no zero before the
// point), "*" stands for the degree sign.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/flightstate/Readings.h"
#include "app/map/MapState.h"
#include "navdata/AirportDatabase.h"

namespace corvane::map {

// NumberText without its leading blank (negative values keep their "-").
std::string BareNumberText(double x);

// Degrees and minutes cut to two decimals, latitude then longitude.
// Example: (51.5, -0.25) -> "N 51* 30'  W 0* 15'".
std::string MapPositionText(double lat, double lon);

// "Heading " + NumberText(heading cut to a tenth). Example: 123.45 -> "Heading  123.4".
std::string HeadingReadout(double headingDeg);

// Height above the ground in feet (cut) and the climb rate in feet per second
// (cut to a tenth, "+" when climbing). altitudeM and groundAltitudeM in metres,
// verticalSpeedFpm in feet per minute.
// Examples: "1250 ft  +8.3 ft/sec"; -100 ft/min reads "... ft  -1.7 ft/sec".
std::string HeightReadout(double altitudeM, double groundAltitudeM, std::int32_t verticalSpeedFpm);

// Indicated airspeed in whole knots (cut). Example: 120.9 -> "120 Kts".
std::string SpeedReadout(double indicatedAirspeedKnots);

// "Bearing" + NumberText(bearing cut to whole degrees). Example: 123.9 -> "Bearing 123".
std::string BearingText(double bearingDeg);

// Distance cut to a tenth of a nautical mile. Examples: 12.34 -> "12.3 miles",
// 0.56 -> ".5 miles".
std::string DistanceText(double distanceNm);

// Time to fly distanceNm at the true airspeed: "ETA long" below 2 knots, else
// minutes or hours and minutes, both cut.
// Examples: "ETA  25 mins", "ETA 1 hr  25 m", "ETA long".
std::string EtaText(double distanceNm, double trueAirspeedKnots);

// The readout window's four lines, top to bottom, and whether it is shown.
struct ReadoutLines {
    bool shown = false;
    std::array<std::string, 4> lines;
};

// The hover label of a dot seen from (lat, lon): the airport's name or
// "VOR - label1 - label2" / "NDB - label1 - label2", the bearing, the distance
// and the time to reach it. A dot whose record is not in the database shows
// its kind only.
ReadoutLines HoverReadout(const navdata::AirportDatabase& db, const MapDot& dot, double lat,
                          double lon, double trueAirspeedKnots);

// The aircraft's readouts: position text, heading, height and climb rate,
// indicated airspeed.
ReadoutLines AircraftReadout(const std::string& positionText, double headingDeg,
                             const flightstate::Readings& aircraft);

// Text1 after a frame: the frame time cut to hundredths of a second, a tab and
// the dot count. Example: (0.0123, 57) -> " .01\t 57".
std::string FrameText(double frameSeconds, int dotCount);

}  // namespace corvane::map
