// SPDX-License-Identifier: MIT
#include "app/autopilot/RouteGuidance.h"

#include <algorithm>
#include <cmath>

#include "app/autopilot/ApproachGeometry.h"
#include "app/autopilot/DescentProfile.h"
#include "app/autopilot/LandingSequence.h"
#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"
#include "navdata/PositionText.h"

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

// One route step in the making.
struct Step {
    const flightstate::Readings& aircraft;
    FlyTherePlan& plan;
    FlyThereStep& out;
};

void StageStep(Step& st);

void RouteStart(Step& st) {
    FlyTherePlan& plan = st.plan;
    plan.TurningPointDistance = ComputeTurningPoint(plan, st.aircraft, plan.Threshold.lat,
                                                    plan.Threshold.lon, plan.RunwayHeading);
    // The altitude is set properly by the next SteerToPoint.
    st.out.engageAtAltitudeFt = 0;
    plan.RouteStage = 2;
    st.out.report.stage = "To turning point";
}

void ToTurningPoint(Step& st) {
    FlyTherePlan& plan = st.plan;
    const flightstate::Readings& r = st.aircraft;
    ++plan.RecomputeCounter;
    const double aglFt = r.altitudeM * kFeetPerMetre - r.groundAltitudeM * kFeetPerMetre;
    plan.RouteBaseThrottle = aglFt < kLowFlightFt ? kLowBaseThrottle : kCruiseBaseThrottle;
    if (r.gearHandle != 0 && aglFt > kGearUpAboveFt)
        st.out.commands.gearhandle(0);
    if (plan.RecomputeCounter > 7) {
        // Every eighth tick the turning point follows the current airspeed.
        plan.RecomputeCounter = 0;
        plan.TurningPointDistance = ComputeTurningPoint(plan, r, plan.Threshold.lat,
                                                        plan.Threshold.lon, plan.RunwayHeading);
    }
    // Steered at the turning point as SteerToPoint steers, with the one
    // distance that the report and the stage's end use as well.
    const double d =
        DistanceNm(r.latitudeDeg, r.longitudeDeg, plan.TurningPoint.lat, plan.TurningPoint.lon);
    SteerAlong(r, plan,
               navdata::InitialBearing(r.latitudeDeg, r.longitudeDeg, plan.TurningPoint.lat,
                                       plan.TurningPoint.lon),
               d, false, 0, st.out.commands);
    st.out.report.distance = DistanceText(d - plan.TurningPointDistance / 6);
    if (plan.TurningPointDistance / 6 > d) {
        plan.RouteStage = 3;
        plan.LandingStage = 1;
        StageStep(st);
        st.out.report.stage = "To airport";
    }
}

void ToAirport(Step& st) {
    FlyTherePlan& plan = st.plan;
    const flightstate::Readings& r = st.aircraft;
    const double d =
        DistanceNm(r.latitudeDeg, r.longitudeDeg, plan.Threshold.lat, plan.Threshold.lon);
    // Before the threshold the bearing to it is measured from the offset
    // beside the centre line, so that the intercept brings the aircraft onto
    // the runway's own line (the flat-earth bearing of short hops is a little
    // off at high latitudes, by metres at the threshold).
    const RunwayOffsets o = OffsetsFromRunway(plan, r.latitudeDeg, r.longitudeDeg);
    const double toThresholdM = -o.alongFt / kFeetPerMetre;
    const double course = CentreLineCourse(plan);
    if (toThresholdM > kNearThresholdM) {
        const double bearing =
            std::fmod(course - std::atan2(o.crossM, toThresholdM) * kDegreesPerRadian + 360, 360.0);
        SteerAlong(r, plan, bearing, d, true, course, st.out.commands);
    } else {
        // At the threshold point, as SteerToPoint steers, with the distance d.
        SteerAlong(r, plan,
                   navdata::InitialBearing(r.latitudeDeg, r.longitudeDeg, plan.Threshold.lat,
                                           plan.Threshold.lon),
                   d, true, plan.RunwayHeading, st.out.commands);
    }
    st.out.report.distance = DistanceText(d);
    if (d < kAlongRunwayNm) {
        plan.RouteStage = 4;
        StageStep(st);
    }
}

void AlongRunway(Step& st) {
    FlyTherePlan& plan = st.plan;
    const flightstate::Readings& r = st.aircraft;
    // A point beyond the far end by twice the runway's length, on its centre line.
    const double targetLat = plan.FarEnd.lat + 2 * (plan.FarEnd.lat - plan.Threshold.lat);
    const double targetLon = plan.FarEnd.lon + 2 * (plan.FarEnd.lon - plan.Threshold.lon);
    // Along the runway the track is steered at a point on the centre line
    // 700 m ahead of the aircraft, measured from its offset beside the line:
    // the offset halves in about 8 s at approach speed, without overshoot in
    // gusts. (The point beyond the far end, extrapolated in latitude and
    // longitude, lies a few hundredths of a degree off the centre line's
    // course and so far ahead that the wheels would settle metres beside it.)
    const RunwayOffsets o = OffsetsFromRunway(plan, r.latitudeDeg, r.longitudeDeg);
    const double course = CentreLineCourse(plan);
    const double groundSpeedKt = plan.Track.Valid() ? plan.Track.SpeedKnots() : r.trueAirspeedKnots;
    const double bearing = CentreLineTrack(plan, o, groundSpeedKt);
    SteerAlong(r, plan, bearing, DistanceNm(r.latitudeDeg, r.longitudeDeg, targetLat, targetLon),
               false, course, st.out.commands);
    const double d =
        DistanceNm(r.latitudeDeg, r.longitudeDeg, plan.Threshold.lat, plan.Threshold.lon);
    // While the landing sequence flies its descent, steering goes on along the
    // centre line until the touchdown (which ends it); otherwise it ends here
    // and the autopilot keeps the last heading.
    const bool descending =
        plan.LandingStage >= kInitialDescent && plan.LandingStage <= kFinalDescent;
    if (d < kRouteEndNm && !descending)
        plan.RouteStage = 0;
    st.out.report.distance = DistanceText(d);
}

void StageStep(Step& st) {
    switch (st.plan.RouteStage) {
        case 1:
            RouteStart(st);
            break;
        case 2:
            ToTurningPoint(st);
            break;
        case 3:
            ToAirport(st);
            break;
        case 4:
            AlongRunway(st);
            break;
        default:
            break;
    }
}

}  // namespace

FlyThereStep RouteStep(const flightstate::Readings& aircraft, FlyTherePlan& plan) {
    FlyThereStep out;
    Step st{aircraft, plan, out};
    StageStep(st);
    return out;
}

void SteerToPoint(const flightstate::Readings& aircraft, const FlyTherePlan& plan, double targetLat,
                  double targetLon, bool intercept, double courseDeg,
                  flightstate::AircraftCommands& out) {
    const double lat = aircraft.latitudeDeg;
    const double lon = aircraft.longitudeDeg;
    SteerAlong(aircraft, plan, navdata::InitialBearing(lat, lon, targetLat, targetLon),
               DistanceNm(lat, lon, targetLat, targetLon), intercept, courseDeg, out);
}

void SteerAlong(const flightstate::Readings& aircraft, const FlyTherePlan& plan, double bearing,
                double distance, bool intercept, double courseDeg,
                flightstate::AircraftCommands& out) {
    if (!plan.GuidanceOn)
        return;
    const std::int32_t altitudeM = aircraft.altitudeM;

    auto targetM = static_cast<std::int32_t>(std::nearbyint(plan.CruiseHeight));
    if (plan.CruiseAboveGround)
        targetM += aircraft.groundAltitudeM;
    const std::int32_t verticalSpeed = CruiseVerticalSpeed(altitudeM, targetM);

    // From the turning point on the landing sequence sets the throttle: it
    // slows the aircraft for its flaps before the descent begins.
    const std::int32_t throttle = RouteThrottle(aircraft.stallFactor, plan.RouteBaseThrottle);
    if (plan.LandingStage < 1)
        out.throttles(throttle);

    const double variation = aircraft.magneticVariationDeg;
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
        out.apvertspeed(verticalSpeed);
        out.apaltitude(static_cast<std::int32_t>(std::nearbyint(targetM * kFeetPerMetre)));
    }
    if (plan.LandingStage == kFinalDescent &&
        aircraft.altitudeM * kFeetPerMetre - plan.RunwayElevation < kNearGroundFt)
        heading = NearGroundHeading(heading, aircraft.headingTrueDeg - variation);
    if (plan.LandingStage < 7)
        out.apheading(AutopilotHeadingUnits(heading));
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

std::int32_t ThresholdDistance(const FlyTherePlan& plan, const flightstate::Readings& aircraft) {
    const double metres = navdata::GreatCircleDistance(aircraft.latitudeDeg, aircraft.longitudeDeg,
                                                       plan.Threshold.lat, plan.Threshold.lon);
    return static_cast<std::int32_t>(std::nearbyint(metres * kFeetPerMetre));
}

std::string DistanceText(double distanceNm) {
    return navdata::NumberText(std::floor(distanceNm * 10) / 10) + " nm";
}

}  // namespace corvane::autopilot
