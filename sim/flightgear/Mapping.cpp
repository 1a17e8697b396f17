// SPDX-License-Identifier: MIT
#include "sim/flightgear/Mapping.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"

namespace corvane::sim::flightgear {

namespace {

constexpr double kFpsToMps = 0.3048;
constexpr double kNewtonsPerPound = 4.4482216;

// A table's value at x: straight lines between the rows, the end rows' values
// held beyond them (as JSBSim looks up its tables); x not a number takes the
// last row's. An empty table is 0.
double Lookup(double x, const std::vector<TableRow>& rows) {
    if (rows.empty())
        return 0.0;
    if (!(x < rows.back().x))
        return rows.back().y;
    if (x <= rows.front().x)
        return rows.front().y;
    const auto above = std::upper_bound(rows.begin(), rows.end(), x,
                                        [](double v, const TableRow& r) { return v < r.x; });
    const TableRow& lo = *(above - 1);
    const TableRow& hi = *above;
    return lo.y + (x - lo.x) / (hi.x - lo.x) * (hi.y - lo.y);
}

// The row of the most lift with the flaps up (the first, if two are equal).
TableRow MostLift(const AircraftFacts& facts) {
    const auto& lift = facts.liftByAlphaRad;
    const auto most = std::max_element(
        lift.begin(), lift.end(), [](const TableRow& a, const TableRow& b) { return a.y < b.y; });
    return most == lift.end() ? TableRow{} : *most;
}

}  // namespace

double LiftCoefficient(double alphaDeg, double flapsNorm, const AircraftFacts& facts) {
    return Lookup(alphaDeg * units::kDegToRad, facts.liftByAlphaRad) +
           Lookup(flapsNorm, facts.flapLiftByPosition);
}

double MaxLiftCoefficient(double flapsNorm, const AircraftFacts& facts) {
    return MostLift(facts).y + Lookup(flapsNorm, facts.flapLiftByPosition);
}

std::uint16_t StallFactor(double alphaDeg, double flapsNorm, const AircraftFacts& facts) {
    const double clMax = MaxLiftCoefficient(flapsNorm, facts);
    // From the angle of the most lift on the wing is stalling, though a table
    // that runs on has its lift fall again there: no margin.
    if (facts.liftByAlphaRad.empty() || !(clMax > 0.0) || !std::isfinite(alphaDeg) ||
        alphaDeg * units::kDegToRad >= MostLift(facts).x)
        return 0;
    const double margin = 1.0 - LiftCoefficient(alphaDeg, flapsNorm, facts) / clMax;
    return static_cast<std::uint16_t>(std::lround(std::clamp(margin, 0.0, 1.0) * 32767.0));
}

double FlapDetent(double lever, const AircraftFacts& facts) {
    const double f = std::isfinite(lever) ? std::clamp(lever, 0.0, 1.0) : 0.0;
    double best = facts.flapDetents.front();
    for (double detent : facts.flapDetents) {
        if (std::fabs(detent - f) < std::fabs(best - f))
            best = detent;
    }
    return best;
}

LoopSense LoopSenseOf(const Readings& r, const AircraftState& state) {
    LoopSense sense;
    sense.pitchDeg = r.pitchDeg;
    sense.bankDeg = r.rollDeg;
    sense.pitchRateDegS = r.pitchRateDegS;
    sense.rollRateDegS = r.rollRateDegS;
    sense.alphaDeg = r.alphaDeg;
    sense.sideslipDeg = r.sideslipDeg;
    sense.iasKt = r.iasKt;
    sense.liftShare = 1.0 - state.stallFactor / 32767.0;
    sense.climbMps = state.velocityUpMps;
    sense.tasMps = state.tasMps;
    sense.onGround = state.onGround;
    return sense;
}

AircraftState StateFromReadings(const Readings& r, const AircraftFacts& facts) {
    AircraftState s;
    s.latitudeDeg = r.latitudeDeg;
    s.longitudeDeg = r.longitudeDeg;
    s.altitudeM = r.altitudeFt * units::kMetresPerFoot;
    s.velocityNorthMps = r.northFps * kFpsToMps;
    s.velocityEastMps = r.eastFps * kFpsToMps;
    s.velocityUpMps = -r.downFps * kFpsToMps;
    s.headingTrueDeg = std::fmod(std::fmod(r.headingTrueDeg, 360.0) + 360.0, 360.0);
    s.pitchDeg = r.pitchDeg;
    s.bankDeg = r.rollDeg;
    s.alphaBodyDeg = r.alphaDeg;
    s.onGround = r.noseWheelOnGround || r.leftWheelOnGround || r.rightWheelOnGround;
    s.mainWheelsOnGround = r.leftWheelOnGround || r.rightWheelOnGround;
    s.noseWheelOnGround = r.noseWheelOnGround;
    s.normalLoadG = r.normalLoadG;
    s.flaps = std::clamp(r.flapsNorm, 0.0, 1.0);
    s.spoilers = 0.0;
    s.gear = 1.0;
    s.tasMps = std::max(r.tasKt, 0.0) * units::kMpsPerKnot;
    s.iasMps = std::max(r.iasKt, 0.0) * units::kMpsPerKnot;
    s.groundSpeedMps = std::hypot(s.velocityNorthMps, s.velocityEastMps);
    s.groundElevationM = r.groundElevationFt * units::kMetresPerFoot;
    s.magneticVariationDeg = r.magneticVariationDeg;
    s.stallFactor = StallFactor(r.alphaDeg, r.flapsNorm, facts);
    s.staticThrustPerEngineN = facts.staticThrustLbs * kNewtonsPerPound;
    s.thrustN = r.thrustLbs * kNewtonsPerPound;
    s.engineThrustN = {s.thrustN, 0.0, 0.0, 0.0};
    s.elevatorApplied = std::clamp(r.elevatorNorm, -1.0, 1.0);
    s.aileronApplied = std::clamp(r.aileronNorm, -1.0, 1.0);
    s.rudderApplied = std::clamp(r.rudderNorm, -1.0, 1.0);
    return s;
}

}  // namespace corvane::sim::flightgear
