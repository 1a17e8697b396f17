// SPDX-License-Identifier: MIT
#include "sim/flightgear/Mapping.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"

namespace corvane::sim::flightgear {

namespace {

constexpr double kFpsToMps = 0.3048;
constexpr double kNewtonsPerPound = 4.4482216;

double ZeroLiftAlphaDeg(double flapsNorm, const AircraftFacts& facts) {
    const auto& d = facts.flapDetents;
    const auto& shift = facts.flapZeroLiftShiftDeg;
    const double f = std::clamp(flapsNorm, d.front(), d.back());
    for (std::size_t i = 1; i < d.size(); ++i) {
        if (f <= d[i]) {
            const double t = (f - d[i - 1]) / std::max(d[i] - d[i - 1], 1e-9);
            return facts.zeroLiftAlphaDeg + shift[i - 1] + t * (shift[i] - shift[i - 1]);
        }
    }
    return facts.zeroLiftAlphaDeg + shift.back();
}

}  // namespace

std::uint16_t StallFactor(double alphaDeg, double flapsNorm, const AircraftFacts& facts) {
    const double zeroLift = ZeroLiftAlphaDeg(flapsNorm, facts);
    const double range = facts.stallAlphaDeg - zeroLift;
    if (!(range > 0.0) || !std::isfinite(alphaDeg))
        return 0;
    const double margin = 1.0 - (alphaDeg - zeroLift) / range;
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
