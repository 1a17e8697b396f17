// SPDX-License-Identifier: MIT
//
// The aircraft readings the fly-there autopilot works with, in its own units,
// taken from the flight-state record as refreshed by the last exchange. Each
// reads 0 while no simulator link is up (simulatorkind other than 2), except
// AltitudeMetres, which always reports the record's altitude.
#pragma once

#include "app/flightstate/FlightState.h"

namespace corvane::autopilot {

// Degrees north: (latitudehi + latitudelo / 2^32) x 45 / 5000875, the low word signed.
double AircraftLatitude(const flightstate::FlightState& s);
// Degrees east: (longitudehi + longitudelo / 2^32) x 90 / 2^30, the low word signed.
double AircraftLongitude(const flightstate::FlightState& s);
// Whole metres above sea level, as a double.
double AltitudeMetres(const flightstate::FlightState& s);
// Knots: trueairspeed / 128.
double TrueAirspeedKnots(const flightstate::FlightState& s);
// Degrees true in [0, 360): heading x 360 / 2^32, plus 360 when negative.
double TrueHeading(const flightstate::FlightState& s);
// Degrees, east positive: magvar x 360 / 65536, minus 360 when above 180.
double MagneticVariation(const flightstate::FlightState& s);

// Feet per metre, as every altitude of the autopilot is converted.
inline constexpr double kFeetPerMetre = 3.2808;

}  // namespace corvane::autopilot
