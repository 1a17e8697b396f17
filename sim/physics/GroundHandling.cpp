// SPDX-License-Identifier: MIT
#include "sim/physics/GroundHandling.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Aircraft.h"
#include "sim/physics/Atmosphere.h"
#include "sim/physics/Units.h"

namespace corvane::sim {

namespace {

constexpr double kDifferentialBrakeYawRadPerS = 0.15;
constexpr double kPitchDamping = 0.8;  // of the critical damping
constexpr double kMaxFrequencyShare = 1.5;

}  // namespace

GroundHandling::GroundHandling(const AircraftConfig& config) : config_(config) {
    const double referenceMps =
        1.3 * StallSpeedKias(config, config.landingFlaps) * units::kMpsPerKnot;
    referenceDynamicPressurePa_ =
        0.5 * Atmosphere::kSeaLevelDensityKgM3 * referenceMps * referenceMps;
    referenceFrequencyRadS_ = 2.0 / std::max(config.alphaTimeConstantS, 0.05);
}

double GroundHandling::YawRateRadS(const ControlInputs& in, double speedMps) const {
    const double steer = std::clamp(in.rudder + (in.autoCoordinator ? in.aileron : 0.0), -1.0, 1.0);
    const double gsKt = std::abs(speedMps) * units::kKnotsPerMps;
    const double share = std::clamp((gsKt - 10.0) / 50.0, 0.0, 1.0);
    const double maxSteerDeg = config_.maxNoseWheelDeg +
                               (config_.maxNoseWheelHighSpeedDeg - config_.maxNoseWheelDeg) * share;
    double yawRate =
        speedMps * std::tan(steer * maxSteerDeg * units::kDegToRad) / config_.wheelbaseM;
    const double gripLimit =
        config_.maxGroundLateralG * units::kGravityMps2 / std::max(std::abs(speedMps), 0.1);
    yawRate = std::clamp(yawRate, -gripLimit, gripLimit);
    if (!in.parkingBrake) {
        const double differential =
            std::clamp(in.rightBrake, 0.0, 1.0) - std::clamp(in.leftBrake, 0.0, 1.0);
        yawRate += differential * kDifferentialBrakeYawRadPerS *
                   std::min(1.0, std::abs(speedMps) / 5.0) * (speedMps >= 0.0 ? 1.0 : -1.0);
    }
    return yawRate;
}

double GroundHandling::ElevatorMomentNm(double alphaCommandRad, double alphaRad,
                                        double pitchRateRadS, double dynamicPressurePa) const {
    const double frequency =
        std::min(std::sqrt(std::max(dynamicPressurePa, 0.0) / referenceDynamicPressurePa_),
                 kMaxFrequencyShare) *
        referenceFrequencyRadS_;
    return config_.pitchInertiaKgM2 * (frequency * frequency * (alphaCommandRad - alphaRad) -
                                       2.0 * kPitchDamping * frequency * pitchRateRadS);
}

}  // namespace corvane::sim
