// SPDX-License-Identifier: MIT
#include "app/autopilot/ApproachGeometry.h"

#include <algorithm>
#include <cmath>

#include "app/autopilot/DescentProfile.h"
#include "navdata/Geodesy.h"

namespace corvane::autopilot {
namespace {

constexpr double kFeetPerMetreExact = 3.2808;
constexpr double kDegToRad = 3.14159265358979323846 / 180;
constexpr double kAimFt = 1000;
constexpr double kAimShareOfLength = 0.2;

double Wrap180(double deg) {
    deg = std::fmod(deg, 360.0);
    if (deg > 180)
        deg -= 360;
    if (deg <= -180)
        deg += 360;
    return deg;
}

}  // namespace

double AimPointDistance(double runwayLengthFt) {
    if (!(runwayLengthFt > 0))
        return kAimFt;
    return std::min(kAimFt, kAimShareOfLength * runwayLengthFt);
}

namespace {

// Great-circle initial bearing, radians, from point 1 to point 2.
double SphericalBearing(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg) {
    const double lat1 = lat1Deg * kDegToRad;
    const double lat2 = lat2Deg * kDegToRad;
    const double dLon = (lon2Deg - lon1Deg) * kDegToRad;
    return std::atan2(
        std::sin(dLon) * std::cos(lat2),
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon));
}

}  // namespace

double CentreLineCourse(const FlyTherePlan& plan) {
    if (plan.FarEnd.lat == plan.Threshold.lat && plan.FarEnd.lon == plan.Threshold.lon)
        return plan.RunwayHeading;
    const double deg =
        SphericalBearing(plan.Threshold.lat, plan.Threshold.lon, plan.FarEnd.lat, plan.FarEnd.lon) /
        kDegToRad;
    return deg < 0 ? deg + 360 : deg;
}

RunwayOffsets OffsetsFromRunway(const FlyTherePlan& plan, double latDeg, double lonDeg) {
    // The distance and the great-circle bearing from the threshold: exact
    // along and beside the great circle of the centre line, at any latitude
    // (the program's flat-earth bearing for short hops is off by up to a
    // percent near the poles).
    const double metres =
        navdata::GreatCircleDistance(plan.Threshold.lat, plan.Threshold.lon, latDeg, lonDeg);
    RunwayOffsets o;
    if (!(metres > 0))
        return o;
    const double bearing = SphericalBearing(plan.Threshold.lat, plan.Threshold.lon, latDeg, lonDeg);
    const double angle = bearing - CentreLineCourse(plan) * kDegToRad;
    o.alongFt = metres * std::cos(angle) * kFeetPerMetreExact;
    o.crossM = metres * std::sin(angle);
    return o;
}

double ProfileHeightAt(const FlyTherePlan& plan, double toAimFt) {
    const double finalStart = plan.FinalStart - plan.RunwayElevation;
    const double midStart = plan.MidStart - plan.RunwayElevation;
    if (toAimFt <= plan.FinalLength) {
        const double share = plan.FinalLength > 0 ? std::max(toAimFt, 0.0) / plan.FinalLength : 0;
        return kTouchdownAimFt + (finalStart - kTouchdownAimFt) * share;
    }
    if (toAimFt <= plan.ApproachLength)
        return finalStart + (toAimFt - plan.FinalLength) * kMidSlopePercent / 100;
    return midStart + (toAimFt - plan.ApproachLength) * kInitialSlopePercent / 100;
}

double ProfileDistanceAt(const FlyTherePlan& plan, double heightAboveRunwayFt) {
    const double finalStart = plan.FinalStart - plan.RunwayElevation;
    const double midStart = plan.MidStart - plan.RunwayElevation;
    if (heightAboveRunwayFt <= finalStart) {
        const double span = finalStart - kTouchdownAimFt;
        return span > 0
                   ? plan.FinalLength * std::max(heightAboveRunwayFt - kTouchdownAimFt, 0.0) / span
                   : 0;
    }
    if (heightAboveRunwayFt <= midStart)
        return plan.FinalLength + (heightAboveRunwayFt - finalStart) * 100 / kMidSlopePercent;
    return plan.ApproachLength + (heightAboveRunwayFt - midStart) * 100 / kInitialSlopePercent;
}

double TerrainFloorFt(const FlyTherePlan& plan, double toAimFt) {
    return std::min(std::clamp(0.03 * toAimFt, 200.0, 1000.0),
                    0.5 * ProfileHeightAt(plan, toAimFt));
}

double TerrainLimitedRate(double aglFt, double floorFt) {
    return std::min(1000.0, -(aglFt - floorFt) * 6);
}

const char* UnstableReason(const FlyTherePlan& plan, const RunwayOffsets& o, double heightFt,
                           bool trackKnown, double trackDeg) {
    const double widthM = plan.RunwayWidthFt / kFeetPerMetreExact;
    if (widthM > 0 && std::fabs(o.crossM) > widthM / 2)
        return "beside the centre line";
    if (trackKnown && std::fabs(Wrap180(trackDeg - CentreLineCourse(plan))) > 30)
        return "not lined up";
    const double expected = ProfileDistanceAt(plan, heightFt);
    const double toAim = ToAimPointFt(plan, o);
    if (toAim < 0.5 * expected)
        return "too high";
    if (toAim > 2.5 * expected)
        return "too low";
    return "";
}

double CentreLineTrack(const FlyTherePlan& plan, const RunwayOffsets& o, double groundSpeedKt) {
    constexpr double kLookAheadS = 11.5;
    constexpr double kMostLookAheadM = 700;
    constexpr double kLeastLookAheadM = 150;
    constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;
    const double speedKt = std::isfinite(groundSpeedKt) ? groundSpeedKt : 0.0;
    const double lookAheadM = std::clamp(kLookAheadS * speedKt * kMetresPerSecondPerKnot,
                                         kLeastLookAheadM, kMostLookAheadM);
    const double deg = CentreLineCourse(plan) - std::atan2(o.crossM, lookAheadM) / kDegToRad;
    return std::fmod(deg + 360, 360.0);
}

double NearGroundHeading(double wantedDeg, double presentDeg) {
    constexpr double kStepDeg = 2;
    return presentDeg +
           std::clamp(std::remainder(wantedDeg - presentDeg, 360.0), -kStepDeg, kStepDeg);
}

double RolloutSteering(const FlyTherePlan& plan, const RunwayOffsets& o, double headingTrueDeg,
                       double turnRateDegS) {
    // Back to the centre line at up to 5 degrees, half a degree a metre, and
    // a twentieth of full deflection for each degree off that heading. The
    // heading steered is the one the turn will have reached in a second, so
    // that a nose already swinging back is not kicked further.
    constexpr double kLeadS = 1.0;
    const double wanted = CentreLineCourse(plan) - std::clamp(0.5 * o.crossM, -5.0, 5.0);
    const double rate = std::isfinite(turnRateDegS) ? turnRateDegS : 0.0;
    return std::clamp(0.05 * Wrap180(wanted - headingTrueDeg - kLeadS * rate), -1.0, 1.0);
}

}  // namespace corvane::autopilot
