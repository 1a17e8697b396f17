// SPDX-License-Identifier: MIT
#include "app/autopilot/RouteGuidance.h"

#include <algorithm>
#include <cmath>

#include "app/autopilot/AircraftReadings.h"
#include "app/autopilot/ApproachGeometry.h"
#include "app/autopilot/DescentProfile.h"
#include "app/autopilot/FlyThereCommands.h"
#include "app/autopilot/LandingSequence.h"
#include "app/navdata/Geodesy.h"
#include "app/navdata/NavigationConstants.h"
#include "app/navdata/PositionText.h"
#include "app/startup/Program.h"

namespace corvane::autopilot {
namespace {

constexpr std::int32_t kThrottleCap = 16383;
// Below this height above the ground the en-route power is raised.
constexpr double kLowFlightFt = 500;
constexpr double kGearUpAboveFt = 300;
constexpr std::int32_t kLowBaseThrottle = 12288;
constexpr std::int32_t kCruiseBaseThrottle = 7168;
// Distances from the threshold, nautical miles, that end stages 3 and 4.
constexpr double kAlongRunwayNm = 1.2;
constexpr double kRouteEndNm = 0.2;

constexpr double kDegreesPerRadian = 180 / 3.14159265358979323846;
// Nearer the threshold than this the aircraft steers at the threshold point.
constexpr double kNearThresholdM = 100;

double DistanceNm(double lat1, double lon1, double lat2, double lon2) {
    return navdata::GreatCircleDistance(lat1, lon1, lat2, lon2) * navdata::NauticalMilesPerMetre;
}

void RouteStart(Program& p) {
    FlyTherePlan& plan = p.plan;
    plan.TurningPointDistance = ComputeTurningPoint(plan, p.flightState, plan.Threshold.lat,
                                                    plan.Threshold.lon, plan.RunwayHeading);
    // The altitude is set properly by the next SteerToPoint.
    EngageAutopilot(p, 0);
    plan.RouteStage = 2;
    p.forms.Form4.Label6.caption = "To turning point";
}

void ToTurningPoint(Program& p) {
    FlyTherePlan& plan = p.plan;
    const flightstate::FlightState& s = p.flightState;
    ++plan.RecomputeCounter;
    const double aglFt = AltitudeMetres(s) * kFeetPerMetre - s.groundaltitude * kFeetPerMetre;
    plan.RouteBaseThrottle = aglFt < kLowFlightFt ? kLowBaseThrottle : kCruiseBaseThrottle;
    if (p.plane.gearhandle() != 0 && aglFt > kGearUpAboveFt)
        p.plane.gearhandle(0);
    if (plan.RecomputeCounter > 7) {
        // Every eighth tick the turning point follows the current airspeed.
        plan.RecomputeCounter = 0;
        plan.TurningPointDistance = ComputeTurningPoint(plan, s, plan.Threshold.lat,
                                                        plan.Threshold.lon, plan.RunwayHeading);
    }
    SteerToPoint(p, plan.TurningPoint.lat, plan.TurningPoint.lon, false, 0);
    const double d = DistanceNm(AircraftLatitude(s), AircraftLongitude(s), plan.TurningPoint.lat,
                                plan.TurningPoint.lon);
    p.forms.Form4.Label7.caption = DistanceText(d - plan.TurningPointDistance / 6);
    if (plan.TurningPointDistance / 6 > d) {
        plan.RouteStage = 3;
        plan.LandingStage = 1;
        RouteTick(p);
        p.forms.Form4.Label6.caption = "To airport";
    }
}

void ToAirport(Program& p) {
    FlyTherePlan& plan = p.plan;
    const flightstate::FlightState& s = p.flightState;
    const double d = DistanceNm(AircraftLatitude(s), AircraftLongitude(s), plan.Threshold.lat,
                                plan.Threshold.lon);
    // Before the threshold the bearing to it is measured from the offset
    // beside the centre line, so that the intercept brings the aircraft onto
    // the runway's own line (the flat-earth bearing of short hops is a little
    // off at high latitudes, by metres at the threshold).
    const RunwayOffsets o = OffsetsFromRunway(plan, AircraftLatitude(s), AircraftLongitude(s));
    const double toThresholdM = -o.alongFt / kFeetPerMetre;
    const double course = CentreLineCourse(plan);
    if (toThresholdM > kNearThresholdM) {
        const double bearing =
            std::fmod(course - std::atan2(o.crossM, toThresholdM) * kDegreesPerRadian + 360, 360.0);
        SteerAlong(p, bearing, d, true, course);
    } else {
        SteerToPoint(p, plan.Threshold.lat, plan.Threshold.lon, true, plan.RunwayHeading);
    }
    p.forms.Form4.Label7.caption = DistanceText(d);
    if (d < kAlongRunwayNm) {
        plan.RouteStage = 4;
        RouteTick(p);
    }
}

void AlongRunway(Program& p) {
    FlyTherePlan& plan = p.plan;
    const flightstate::FlightState& s = p.flightState;
    // A point beyond the far end by twice the runway's length, on its centre line.
    const double targetLat = plan.FarEnd.lat + 2 * (plan.FarEnd.lat - plan.Threshold.lat);
    const double targetLon = plan.FarEnd.lon + 2 * (plan.FarEnd.lon - plan.Threshold.lon);
    // Along the runway the track is steered at a point on the centre line
    // 700 m ahead of the aircraft, measured from its offset beside the line:
    // the offset halves in about 8 s at approach speed, without overshoot in
    // gusts. (The point beyond the far end, extrapolated in latitude and
    // longitude, lies a few hundredths of a degree off the centre line's
    // course and so far ahead that the wheels would settle metres beside it.)
    const RunwayOffsets o = OffsetsFromRunway(plan, AircraftLatitude(s), AircraftLongitude(s));
    const double course = CentreLineCourse(plan);
    const double bearing = CentreLineTrack(plan, o);
    SteerAlong(p, bearing,
               DistanceNm(AircraftLatitude(s), AircraftLongitude(s), targetLat, targetLon), false,
               course);
    const double d = DistanceNm(AircraftLatitude(s), AircraftLongitude(s), plan.Threshold.lat,
                                plan.Threshold.lon);
    // While the landing sequence flies its descent, steering goes on along the
    // centre line until the touchdown (which ends it); otherwise it ends here
    // and the autopilot keeps the last heading.
    const bool descending =
        plan.LandingStage >= kInitialDescent && plan.LandingStage <= kFinalDescent;
    if (d < kRouteEndNm && !descending)
        plan.RouteStage = 0;
    p.forms.Form4.Label7.caption = DistanceText(d);
}

}  // namespace

void RouteTick(Program& p) {
    switch (p.plan.RouteStage) {
        case 1:
            RouteStart(p);
            break;
        case 2:
            ToTurningPoint(p);
            break;
        case 3:
            ToAirport(p);
            break;
        case 4:
            AlongRunway(p);
            break;
        default:
            break;
    }
}

void SteerToPoint(Program& p, double targetLat, double targetLon, bool intercept,
                  double courseDeg) {
    const flightstate::FlightState& s = p.flightState;
    const double lat = AircraftLatitude(s);
    const double lon = AircraftLongitude(s);
    SteerAlong(p, navdata::InitialBearing(lat, lon, targetLat, targetLon),
               DistanceNm(lat, lon, targetLat, targetLon), intercept, courseDeg);
}

void SteerAlong(Program& p, double bearing, double distance, bool intercept, double courseDeg) {
    const FlyTherePlan& plan = p.plan;
    if (!plan.GuidanceOn)
        return;
    const flightstate::FlightState& s = p.flightState;

    const std::int32_t altitudeM = s.altitude;

    auto targetM = static_cast<std::int32_t>(std::nearbyint(plan.CruiseHeight));
    if (plan.CruiseAboveGround)
        targetM += s.groundaltitude;
    const std::int32_t verticalSpeed = CruiseVerticalSpeed(altitudeM, targetM);

    const std::int32_t throttle = RouteThrottle(p.plane.stallfactor(), plan.RouteBaseThrottle);
    if (plan.LandingStage < 2)
        p.plane.throttles(throttle);

    const double variation = MagneticVariation(s);
    // The laws give the track to make good; the heading allows for the drift
    // measured from the positions, so that wind does not carry the aircraft
    // off the line.
    const double drift = plan.Track.Valid() ? plan.Track.DriftDeg() : 0.0;
    double heading = bearing - variation - drift;
    if (intercept) {
        const int gain = InterceptGain(distance);
        if (gain != 0)
            heading = InterceptHeading(courseDeg, bearing, gain) - variation - drift;
    }

    if (plan.LandingStage < 2) {
        p.plane.apvertspeed(verticalSpeed);
        p.plane.apaltitude(static_cast<std::int32_t>(std::nearbyint(targetM * kFeetPerMetre)));
    }
    if (plan.LandingStage == kFinalDescent &&
        AltitudeMetres(s) * kFeetPerMetre - plan.RunwayElevation < kNearGroundFt)
        heading = NearGroundHeading(heading, TrueHeading(s) - variation);
    if (plan.LandingStage < 7)
        p.plane.apheading(AutopilotHeadingUnits(heading));
}

std::int32_t CruiseVerticalSpeed(std::int32_t altitudeM, std::int32_t targetM) {
    // Checked in this order, each later match overriding.
    std::int32_t v = 0;
    if (altitudeM <= targetM - 30)
        v = 100;
    if (altitudeM >= targetM + 30)
        v = -100;
    if (altitudeM <= targetM - 100)
        v = 300;
    if (altitudeM >= targetM + 100)
        v = -500;
    if (altitudeM <= targetM - 300)
        v = 2000;
    if (altitudeM >= targetM + 300)
        v = -2500;
    return v;
}

std::int32_t RouteThrottle(std::int32_t stallfactor, std::int32_t baseThrottle) {
    auto throttle =
        static_cast<std::int32_t>(std::nearbyint(0.75 * (32767 - stallfactor) + baseThrottle));
    if (throttle > 16384)
        throttle = kThrottleCap;
    return throttle;
}

int InterceptGain(double distanceNm) {
    if (distanceNm < 2)
        return 150;
    if (distanceNm > 2 && distanceNm < 3)
        return 200;
    if (distanceNm > 3 && distanceNm < 5)
        return 350;
    if (distanceNm > 5)
        return 500;
    return 0;
}

double InterceptHeading(double courseDeg, double bearingDeg, double gainPercent) {
    double c = courseDeg;
    double b = bearingDeg;
    if (c >= 360)
        c -= 360;
    if (b >= 360)
        b -= 360;
    // Across north: compare the two on the same side of 360.
    if (std::fabs(c - b) > 180) {
        if (c < b) {
            c += 360;
        } else {
            b += 360;
        }
    }
    double h;
    if (std::fabs(c - b) * gainPercent / 100 < 70) {
        h = b - (c - b) * gainPercent / 100;
    } else {
        h = c - b < 0 ? b + 70 : b - 70;
    }
    if (h <= 0)
        h += 360;
    if (h > 360)
        h -= 360;
    return h;
}

std::int32_t AutopilotHeadingUnits(double headingDeg) {
    // The autopilot's heading unit is 1/65536 of a turn: whole degrees would
    // leave the aircraft up to half a degree off the centre line's course.
    return static_cast<std::int32_t>(std::nearbyint(headingDeg * 65536 / 360));
}

std::int32_t ThresholdDistance(const FlyTherePlan& plan, const flightstate::FlightState& s) {
    const double metres = navdata::GreatCircleDistance(AircraftLatitude(s), AircraftLongitude(s),
                                                       plan.Threshold.lat, plan.Threshold.lon);
    return static_cast<std::int32_t>(std::nearbyint(metres * kFeetPerMetre));
}

std::string DistanceText(double distanceNm) {
    return navdata::NumberText(std::floor(distanceNm * 10) / 10) + " nm";
}

}  // namespace corvane::autopilot
