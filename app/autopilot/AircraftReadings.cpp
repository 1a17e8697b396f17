// SPDX-License-Identifier: MIT
#include "app/autopilot/AircraftReadings.h"

#include <cstdint>

namespace corvane::autopilot {
namespace {

constexpr double kTwoTo32 = 4294967296.0;

bool LinkUp(const flightstate::FlightState& s) {
    return s.simulatorkind == flightstate::kFs98;
}

}  // namespace

double AircraftLatitude(const flightstate::FlightState& s) {
    if (!LinkUp(s))
        return 0;
    const double lo = static_cast<std::int32_t>(s.latitudelo);
    return (s.latitudehi + lo / kTwoTo32) * 45.0 / 5000875.0;
}

double AircraftLongitude(const flightstate::FlightState& s) {
    if (!LinkUp(s))
        return 0;
    const double lo = static_cast<std::int32_t>(s.longitudelo);
    return (s.longitudehi + lo / kTwoTo32) * 90.0 / 1073741824.0;
}

double AltitudeMetres(const flightstate::FlightState& s) {
    return s.altitude;
}

double TrueAirspeedKnots(const flightstate::FlightState& s) {
    if (!LinkUp(s))
        return 0;
    return s.trueairspeed / 128.0;
}

double TrueHeading(const flightstate::FlightState& s) {
    if (!LinkUp(s))
        return 0;
    double degrees = s.heading * 360.0 / kTwoTo32;
    if (degrees < 0)
        degrees += 360;
    return degrees;
}

double MagneticVariation(const flightstate::FlightState& s) {
    if (!LinkUp(s))
        return 0;
    double degrees = s.magvar * 360.0 / 65536.0;
    if (degrees > 180)
        degrees -= 360;
    return degrees;
}

}  // namespace corvane::autopilot
