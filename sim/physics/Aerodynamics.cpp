// SPDX-License-Identifier: MIT
#include "sim/physics/Aerodynamics.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"

namespace corvane::sim {

namespace {
constexpr double kStallBreakRad = 4.0 * units::kDegToRad;  // lift falls off over this
}

Aerodynamics::Aerodynamics(const AircraftConfig& config) : config_(config) {
    const double aspectRatio = config.wingSpanM * config.wingSpanM / config.wingAreaM2;
    inducedDragFactor_ = 1.0 / (units::kPi * config.oswaldEfficiency * aspectRatio);
}

double Aerodynamics::ZeroLiftAlphaBodyRad(double flaps, double spoilers) const {
    const double deltaCl = config_.flapsDeltaCl * flaps + config_.spoilersDeltaCl * spoilers;
    return config_.zeroLiftAlphaBodyDeg * units::kDegToRad - deltaCl / config_.liftSlopePerRad;
}

double Aerodynamics::ClMax(double flaps, double spoilers) const {
    return config_.clMaxClean + config_.flapsDeltaClMax * flaps +
           config_.spoilersDeltaClMax * spoilers;
}

double Aerodynamics::StallAlphaZeroLiftRad(double flaps, double spoilers) const {
    return ClMax(flaps, spoilers) / config_.liftSlopePerRad;
}

double Aerodynamics::AlphaBodyForCl(double cl, double flaps, double spoilers) const {
    return ZeroLiftAlphaBodyRad(flaps, spoilers) + cl / config_.liftSlopePerRad;
}

std::uint16_t Aerodynamics::StallFactor(double alphaZeroLiftRad, double stallAlphaZeroLiftRad) {
    if (stallAlphaZeroLiftRad <= 0.0) {
        return 0;
    }
    const double margin = 1.0 - alphaZeroLiftRad / stallAlphaZeroLiftRad;
    return static_cast<std::uint16_t>(std::lround(std::clamp(margin, 0.0, 1.0) * 32767.0));
}

Aerodynamics::Outputs Aerodynamics::Compute(const Inputs& in) const {
    Outputs out;
    const double clMax = ClMax(in.flaps, in.spoilers);
    out.alphaZeroLiftRad = in.alphaBodyRad - ZeroLiftAlphaBodyRad(in.flaps, in.spoilers);
    out.stallAlphaZeroLiftRad = clMax / config_.liftSlopePerRad;
    out.stallFactor = StallFactor(out.alphaZeroLiftRad, out.stallAlphaZeroLiftRad);

    const double alpha = out.alphaZeroLiftRad;
    const double stallAlpha = out.stallAlphaZeroLiftRad;
    double stallDrag = 0.0;
    if (alpha > stallAlpha) {
        const double past = alpha - stallAlpha;
        const double share = std::min(1.0, past / kStallBreakRad);
        out.cl = clMax * (1.0 - (1.0 - config_.postStallLiftFactor) * share);
        const double s = std::sin(std::min(past, units::kPi / 2));
        stallDrag = 1.2 * s * s + 0.05 * share;
    } else if (alpha < -0.6 * stallAlpha) {
        out.cl = -0.6 * clMax;  // negative stall: no further lift, no recovery model
    } else {
        out.cl = config_.liftSlopePerRad * alpha;
    }

    const double beta = in.sideslipRad;
    out.cd = config_.cd0 + inducedDragFactor_ * out.cl * out.cl + config_.flapsCd * in.flaps +
             config_.gearCd * in.gear + config_.spoilersCd * in.spoilers +
             config_.sideslipCdPerRad2 * beta * beta + stallDrag;

    const double qS = in.dynamicPressurePa * config_.wingAreaM2;
    out.liftN = qS * out.cl;
    out.dragN = qS * out.cd;
    out.sideForceN = qS * config_.sideForcePerRad * beta;
    return out;
}

}  // namespace corvane::sim
