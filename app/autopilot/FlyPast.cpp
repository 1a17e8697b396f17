// SPDX-License-Identifier: MIT
#include "app/autopilot/FlyPast.h"

#include <cmath>

#include "app/autopilot/AircraftReadings.h"
#include "app/autopilot/DescentProfile.h"
#include "app/autopilot/FlyThereCommands.h"
#include "app/mainwindow/MainWindowCommands.h"
#include "app/navdata/Geodesy.h"
#include "app/navdata/NavigationConstants.h"
#include "app/startup/Program.h"

namespace corvane::autopilot {
namespace {

constexpr int kFlyPastIntervalMs = 20000;
constexpr double kSideOffsetFt = 100;
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

void FlyPastTick(Program& p, double leadSeconds, double sideFt) {
    const flightstate::FlightState& s = p.flightState;
    FlyPastInputs in;
    in.latitudeDeg = AircraftLatitude(s);
    in.longitudeDeg = AircraftLongitude(s);
    in.trueHeadingDeg = TrueHeading(s);
    in.trueAirspeedKnots = TrueAirspeedKnots(s);
    in.altitudeM = AltitudeMetres(s);
    in.verticalSpeedFpm = s.verticalspeed;
    in.groundAltitudeM = s.groundaltitude;
    const FlyPastViewpoint view = ComputeFlyPastViewpoint(in, leadSeconds, sideFt);
    p.plane.towerlat(view.latitudeDeg);
    p.plane.towerlon(view.longitudeDeg);
    p.plane.toweralt(view.altitudeFt);
}

void Timer4_Timer(Program& p) {
    int intervalMs = kFlyPastIntervalMs;
    if (p.Form1Timer4) {
        p.Form1Timer4->SetInterval(kFlyPastIntervalMs);
        intervalMs = p.Form1Timer4->Interval();
    }
    FlyPastTick(p, intervalMs / 2000.0, kSideOffsetFt);
}

void mnuFlyPast_Click(Program& p) {
    forms::MenuItem& item = p.forms.Form1.menu.mnuFlyPast;
    if (p.Form1Timer4) {
        const bool on = !p.Form1Timer4->Enabled();
        p.Form1Timer4->SetEnabled(on);
        if (on) {
            item.caption = "Stop fly past view";
            // The viewpoint moves at once, not 20 seconds later.
            Timer4_Timer(p);
        } else {
            item.caption = "Fly past view";
        }
    }
    mainwindow::EndMenuAction(p);
}

}  // namespace corvane::autopilot
