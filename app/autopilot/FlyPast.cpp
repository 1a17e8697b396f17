// SPDX-License-Identifier: MIT
#include "app/autopilot/FlyPast.h"

#include <cmath>

#include "app/autopilot/DescentProfile.h"
#include "app/autopilot/FlyTherePlan.h"
#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"

namespace corvane::autopilot {
namespace {

constexpr double kFeetPerSecondPerKnot = 1.6878;
constexpr double kMinimumAheadFt = 200;
// The ground floor is converted with the exact feet per metre.
constexpr double kExactFeetPerMetre = 3.2808399;

}  // namespace

FlyPastViewpoint ComputeFlyPastViewpoint(const FlyPastInputs& in, double leadSeconds,
                                         double sideFt) {
    double aheadFt = in.trueAirspeedKnots * kFeetPerSecondPerKnot * leadSeconds;
    if (aheadFt < kMinimumAheadFt)
        aheadFt = kMinimumAheadFt;
    const double climbFt = in.verticalSpeedFpm / 60 * leadSeconds;

    const double h = in.trueHeadingDeg;
    double side = h + 90;
    if (side > 360)
        side -= 360;
    const double thetaH = QuadrantAngle(h);
    const double thetaR = QuadrantAngle(side);

    const double feetPerLonDeg =
        navdata::InterpolatedFeetPerLongitudeDegree(std::fabs(in.latitudeDeg));
    // At the poles a degree of longitude has no length: no east offsets there.
    auto east = [&](double feet) { return feetPerLonDeg > 0 ? feet / feetPerLonDeg : 0.0; };
    const double aheadN = std::sin(thetaH) * aheadFt / navdata::FeetPerDegreeLatitude;
    const double aheadE = east(std::cos(thetaH) * aheadFt);
    const double sideN = std::sin(thetaR) * sideFt / navdata::FeetPerDegreeLatitude;
    const double sideE = east(std::cos(thetaR) * sideFt);

    // By the quadrant of the heading, a later test overriding an earlier one.
    double dLat = aheadN - sideN;
    double dLon = aheadE + sideE;
    if (h >= 90) {
        dLat = -aheadN - sideN;
        dLon = aheadE - sideE;
    }
    if (h >= 180) {
        dLat = -aheadN + sideN;
        dLon = -aheadE - sideE;
    }
    if (h >= 270) {
        dLat = aheadN + sideN;
        dLon = -aheadE + sideE;
    }

    FlyPastViewpoint view;
    view.latitudeDeg = in.latitudeDeg + dLat;
    view.longitudeDeg = in.longitudeDeg + dLon;
    double z = std::nearbyint(climbFt);
    z = std::nearbyint(in.altitudeM * kFeetPerMetre + z);
    const double floorFt = (in.groundAltitudeM + 1) * kExactFeetPerMetre;
    if (floorFt > z)
        z = std::nearbyint(floorFt);
    view.altitudeFt = z;
    return view;
}

FlyPastInputs FlyPastInputsOf(const flightstate::Readings& aircraft) {
    FlyPastInputs in;
    in.latitudeDeg = aircraft.latitudeDeg;
    in.longitudeDeg = aircraft.longitudeDeg;
    in.trueHeadingDeg = aircraft.headingTrueDeg;
    in.trueAirspeedKnots = aircraft.trueAirspeedKnots;
    in.altitudeM = aircraft.altitudeM;
    in.verticalSpeedFpm = aircraft.verticalSpeedFpm;
    in.groundAltitudeM = aircraft.groundAltitudeM;
    return in;
}

flightstate::AircraftCommands FlyPastCommands(const flightstate::Readings& aircraft,
                                              double leadSeconds, double sideFt) {
    const FlyPastViewpoint view =
        ComputeFlyPastViewpoint(FlyPastInputsOf(aircraft), leadSeconds, sideFt);
    flightstate::AircraftCommands plane;
    plane.towerlat(view.latitudeDeg);
    plane.towerlon(view.longitudeDeg);
    plane.toweralt(view.altitudeFt);
    return plane;
}

}  // namespace corvane::autopilot
