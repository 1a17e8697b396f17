// SPDX-License-Identifier: MIT
#include "app/flightstate/Readings.h"

#include "app/flightstate/FlightState.h"

namespace corvane::flightstate {
namespace {

constexpr double kTwoTo32 = 4294967296.0;

}  // namespace

double PositionUnits(std::int32_t hi, std::uint32_t lo, FractionRule rule) {
    const double fraction = static_cast<std::int32_t>(lo) / kTwoTo32;
    if (rule == FractionRule::SignOfHighWord && hi < 0)
        return hi - fraction;
    return hi + fraction;
}

double LatitudeDegrees(std::int32_t hi, std::uint32_t lo, FractionRule rule) {
    return PositionUnits(hi, lo, rule) * 45.0 / 5000875.0;
}

double LongitudeDegrees(std::int32_t hi, std::uint32_t lo, FractionRule rule) {
    return PositionUnits(hi, lo, rule) * 90.0 / 1073741824.0;
}

double TrueHeadingDegrees(std::int32_t heading) {
    double degrees = heading * 360.0 / kTwoTo32;
    if (degrees < 0)
        degrees += 360;
    return degrees;
}

double MagneticVariationDegrees(std::int32_t magvar) {
    double degrees = magvar * 360.0 / 65536.0;
    if (degrees > 180)
        degrees -= 360;
    return degrees;
}

Readings DecodeReadings(const FlightState& s) {
    Readings r;
    r.latitudeDeg = LatitudeDegrees(s.latitudehi, s.latitudelo);
    r.longitudeDeg = LongitudeDegrees(s.longitudehi, s.longitudelo);
    r.mapLatitudeDeg = LatitudeDegrees(s.latitudehi, s.latitudelo, FractionRule::SignOfHighWord);
    r.mapLongitudeDeg =
        LongitudeDegrees(s.longitudehi, s.longitudelo, FractionRule::SignOfHighWord);
    r.headingTrueDeg = TrueHeadingDegrees(s.heading);
    r.magneticVariationDeg = MagneticVariationDegrees(s.magvar);
    r.trueAirspeedKnots = s.trueairspeed / 128.0;
    r.indicatedAirspeedKnots = s.indicatedairspeed / 128.0;
    r.altitudeM = s.altitude;
    r.groundAltitudeM = s.groundaltitude;
    r.verticalSpeedFpm = s.verticalspeed;
    r.onGround = s.onground;
    r.paused = s.paused;
    r.crashSetting = s.crashing;
    r.throttle1 = s.throttle1;
    r.throttle2 = s.throttle2;
    r.throttle3 = s.throttle3;
    r.throttle4 = s.throttle4;
    r.gearHandle = s.gearhandle;
    r.stallFactor = s.stallfactor;
    r.apAltHold = s.apalthold;
    r.apMaster = s.apmaster;
    r.apAltitudeFt = s.apaltitude;
    r.apVerticalSpeedFpm = s.apvertspeed;
    r.engineType = s.enginetype;
    return r;
}

}  // namespace corvane::flightstate
