// SPDX-License-Identifier: MIT
#include "sim/flightgear/ControlLoops.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/Units.h"

namespace corvane::sim::flightgear {

LoopOutput ControlLoops::Update(const Autopilot::Command& command, const LoopSense& sense,
                                double pilotElevator, double pilotAileron, double pilotRudder,
                                bool autoCoordinator, double dtS) {
    const Gains& g = gains_;
    LoopOutput out;
    const double dt = std::isfinite(dtS) ? std::clamp(dtS, 0.0, 0.5) : 0.0;

    if (command.holdsPitch && !sense.onGround && sense.tasMps > 10.0) {
        const double ratio = std::clamp(command.climbTargetMps / sense.tasMps, -0.5, 0.5);
        const double pathDeg = std::asin(ratio) * units::kRadToDeg;
        const double climbError = command.climbTargetMps - sense.climbMps;
        double target = pathDeg + sense.alphaDeg + g.climbToPitchDegPerMps * climbError;
        // Never more angle of attack than a safe one over the path flown now,
        // and less pitch below the lowest speed (from the lift share, the
        // stall speed of the wing as it is now): a climb the engine cannot
        // hold trades height, not speed (a go-around at 1,500 ft/min stalled
        // the Cessna without this).
        const double pathNowDeg =
            std::asin(std::clamp(sense.climbMps / sense.tasMps, -1.0, 1.0)) * units::kRadToDeg;
        target = std::min(target, pathNowDeg + g.maxAlphaDeg);
        const double share =
            std::isfinite(sense.liftShare) ? std::clamp(sense.liftShare, 0.0, 1.0) : 0.0;
        const double lowestKt = g.minSpeedStallRatio * sense.iasKt * std::sqrt(share);
        if (sense.iasKt < lowestKt)
            target -= g.pitchDegPerKtSlow * (lowestKt - sense.iasKt);
        pitchTargetDeg_ = std::clamp(target, g.maxPitchDownDeg, g.maxPitchUpDeg);
        const double error = pitchTargetDeg_ - sense.pitchDeg;
        // Nose up needs the elevator negative (stick back).
        elevatorTrim_ = std::clamp(elevatorTrim_ - g.elevatorTrimPerDegS * error * dt,
                                   -g.maxAutopilotElevator, g.maxAutopilotElevator);
        out.elevator = std::clamp(
            elevatorTrim_ - g.elevatorPerDeg * error + g.elevatorPerDegS * sense.pitchRateDegS,
            -g.maxAutopilotElevator, g.maxAutopilotElevator);
    } else {
        out.elevator = std::clamp(pilotElevator, -1.0, 1.0);
        elevatorTrim_ = std::clamp(out.elevator, -g.maxAutopilotElevator, g.maxAutopilotElevator);
        pitchTargetDeg_ = sense.pitchDeg;
    }

    if (command.holdsRoll && !sense.onGround) {
        const double error = command.bankTargetDeg - sense.bankDeg;
        aileronTrim_ = std::clamp(aileronTrim_ + g.aileronTrimPerDegS * error * dt,
                                  -g.maxAileronTrim, g.maxAileronTrim);
        out.aileron = std::clamp(
            aileronTrim_ + g.aileronPerDeg * error - g.aileronPerDegS * sense.rollRateDegS,
            -g.maxAutopilotAileron, g.maxAutopilotAileron);
    } else {
        out.aileron = std::clamp(pilotAileron, -1.0, 1.0);
        aileronTrim_ = std::clamp(out.aileron, -g.maxAileronTrim, g.maxAileronTrim);
    }

    out.rudder = std::clamp(pilotRudder, -1.0, 1.0);
    if (autoCoordinator && !sense.onGround && sense.tasMps > 10.0) {
        // Air from the right wants the nose to the right: rudder right.
        rudderTrim_ = std::clamp(rudderTrim_ + g.rudderTrimPerDegSlipS * sense.sideslipDeg * dt,
                                 -g.maxRudderTrim, g.maxRudderTrim);
        out.rudder = std::clamp(out.rudder + rudderTrim_ + g.rudderPerDegSlip * sense.sideslipDeg,
                                -1.0, 1.0);
    } else {
        rudderTrim_ = 0.0;
    }
    return out;
}

}  // namespace corvane::sim::flightgear
