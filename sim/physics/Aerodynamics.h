// SPDX-License-Identifier: MIT
//
// Lift, drag and side force of the aircraft from its angle of attack, its
// sideslip and the positions of flaps, spoilers and gear. Angles of attack are
// "body" angles (of the fuselage reference to the air flow); the lift curve is
// linear up to the stall and falls off past it.
#pragma once

#include <cstdint>

#include "sim/physics/AircraftConfig.h"

namespace corvane::sim {

class Aerodynamics {
  public:
    struct Inputs {
        double alphaBodyRad = 0.0;
        double sideslipRad = 0.0;
        double flaps = 0.0;     // 0 retracted .. 1 full
        double spoilers = 0.0;  // 0 stowed .. 1 full
        double gear = 0.0;      // 0 up .. 1 down
        double dynamicPressurePa = 0.0;
    };

    struct Outputs {
        double cl = 0.0;
        double cd = 0.0;
        double liftN = 0.0;
        double dragN = 0.0;
        double sideForceN = 0.0;        // positive to the right of the air flow
        double alphaZeroLiftRad = 0.0;  // alpha measured from the zero-lift line
        double stallAlphaZeroLiftRad = 0.0;
        std::uint16_t stallFactor = 0;
    };

    explicit Aerodynamics(const AircraftConfig& config);

    Outputs Compute(const Inputs& in) const;

    // Body alpha of zero lift, and the stalling alpha measured from that line,
    // for a configuration.
    double ZeroLiftAlphaBodyRad(double flaps, double spoilers) const;
    double StallAlphaZeroLiftRad(double flaps, double spoilers) const;
    double ClMax(double flaps, double spoilers) const;

    // Body alpha that gives the lift coefficient cl on the linear part of the
    // lift curve.
    double AlphaBodyForCl(double cl, double flaps, double spoilers) const;

    // Margin to the stall: 32767 at zero (or negative) angle of attack from the
    // zero-lift line, falling linearly to 0 at the stalling angle.
    static std::uint16_t StallFactor(double alphaZeroLiftRad, double stallAlphaZeroLiftRad);

  private:
    const AircraftConfig& config_;
    double inducedDragFactor_;
};

}  // namespace corvane::sim
