// SPDX-License-Identifier: MIT
//
// How the aircraft is handled on its wheels: the turn the nose wheel and the
// brakes give it, and the pitching moment of the elevator while the wheels
// carry the aircraft.
#pragma once

#include "sim/physics/AircraftConfig.h"
#include "sim/physics/ControlInputs.h"

namespace corvane::sim {

class GroundHandling {
  public:
    explicit GroundHandling(const AircraftConfig& config);

    // Yaw rate (right positive) from the nose wheel, turned by the rudder (and
    // the ailerons while the auto-coordinator ties them), 40 degrees at
    // walking pace down to 4 degrees above 60 kt (the aircraft's figures),
    // limited by the tyres' side grip, and from differential braking.
    double YawRateRadS(const ControlInputs& in, double speedMps) const;

    // The elevator's pitching moment on the ground: it works towards the
    // commanded angle of attack like a spring and a damper whose frequency
    // grows with the square root of the dynamic pressure. At the reference
    // landing speed it settles the angle in about the time the angle of
    // attack takes in the air.
    double ElevatorMomentNm(double alphaCommandRad, double alphaRad, double pitchRateRadS,
                            double dynamicPressurePa) const;

  private:
    const AircraftConfig& config_;
    double referenceDynamicPressurePa_;
    double referenceFrequencyRadS_;
};

}  // namespace corvane::sim
