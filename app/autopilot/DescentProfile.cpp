// SPDX-License-Identifier: MIT
#include "app/autopilot/DescentProfile.h"

#include <algorithm>
#include <cmath>

#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"

namespace corvane::autopilot {
namespace {

constexpr double kPi = 3.14159265359;

}  // namespace

void FinalProfile(FlyTherePlan& plan, const flightstate::Readings& aircraft, double slopePercent) {
    plan.ProfileSpeed = aircraft.trueAirspeedKnots;
    plan.FinalLength = plan.ProfileSpeed * kFeetPerMinutePerKnot * 0.6;
    plan.FinalStart =
        plan.FinalLength * slopePercent / 100 + (plan.RunwayElevation + kTouchdownAimFt);
}

void MidProfile(FlyTherePlan& plan, double slopePercent) {
    // The mid stage is flown for 0.4 minute, and always from at least
    // kMidStageLowestStartFt above the runway, so that the aircraft passes the
    // 500 ft gate settled on the mid stage's slope: on the initial stage's
    // slope a fast aircraft sinks at 1,000 ft/min and more there.
    double midLengthFt = plan.ProfileSpeed * kFeetPerMinutePerKnot * 0.4;
    const double finalTopFt = plan.FinalStart - plan.RunwayElevation;
    if (slopePercent > 0)
        midLengthFt =
            std::max(midLengthFt, (kMidStageLowestStartFt - finalTopFt) * 100 / slopePercent);
    plan.ApproachLength = midLengthFt + plan.FinalLength;
    plan.MidStart = (plan.ApproachLength - plan.FinalLength) * slopePercent / 100 + plan.FinalStart;
}

void InitialProfile(FlyTherePlan& plan, const flightstate::Readings& aircraft,
                    double slopePercent) {
    double feetPerMinute = plan.ProfileSpeed * kFeetPerMinutePerKnot;
    if (feetPerMinute == 0)
        feetPerMinute = 10;
    const double height = aircraft.altitudeM * kFeetPerMetre - plan.MidStart;
    const double minutes = height / (feetPerMinute * slopePercent / 100);
    plan.DescentStart = plan.ApproachLength + minutes * feetPerMinute;
}

double QuadrantAngle(double headingDeg) {
    // Tested in this order, a later test overriding an earlier one.
    double degrees = 90 - headingDeg;
    if (headingDeg >= 90)
        degrees = headingDeg - 90;
    if (headingDeg >= 180)
        degrees = 270 - headingDeg;
    if (headingDeg >= 270)
        degrees = headingDeg - 270;
    return degrees * kPi / 180;
}

QuadrantSigns SignsOfQuadrant(double headingDeg) {
    if (headingDeg >= 270)
        return {+1, -1};
    if (headingDeg >= 180)
        return {-1, -1};
    if (headingDeg >= 90)
        return {-1, +1};
    return {+1, +1};
}

double BaseTurningPointDistance(double airspeedKnots) {
    // A negative airspeed reading (never a real one) would make the power undefined.
    return std::pow(std::max(airspeedKnots, 0.0) * 0.02, 1.45) + 4.0;
}

double ComputeTurningPoint(FlyTherePlan& plan, const flightstate::Readings& aircraft, double lat,
                           double lon, double headingDeg) {
    double distanceNm = BaseTurningPointDistance(aircraft.trueAirspeedKnots);
    double distanceFt = distanceNm * kFeetPerNauticalMile;

    FinalProfile(plan, aircraft, kFinalSlopePercent);
    MidProfile(plan, kMidSlopePercent);
    InitialProfile(plan, aircraft, kInitialSlopePercent);
    // Far enough out for the whole three-stage descent plus 30 percent.
    if (1.3 * plan.DescentStart > distanceFt) {
        distanceFt = 1.3 * plan.DescentStart;
        distanceNm = distanceFt / kFeetPerNauticalMile;
    }

    const double theta = QuadrantAngle(headingDeg);
    const double north = std::sin(theta) * distanceFt / navdata::FeetPerDegreeLatitude;
    const double feetPerLonDeg = navdata::InterpolatedFeetPerLongitudeDegree(std::fabs(lat));
    // At the poles a degree of longitude has no length: no east offset there.
    const double east = feetPerLonDeg > 0 ? std::cos(theta) * distanceFt / feetPerLonDeg : 0.0;
    const QuadrantSigns sign = SignsOfQuadrant(headingDeg);
    // The point ahead of the threshold is (lat + sn n, lon + se e); the turning
    // point is its mirror through the threshold.
    plan.TurningPoint = {lat - sign.north * north, lon - sign.east * east};
    return distanceNm;
}

}  // namespace corvane::autopilot
