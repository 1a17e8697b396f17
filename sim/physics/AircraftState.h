// SPDX-License-Identifier: MIT
//
// The aircraft's state after a step, in physical units. Velocities are
// relative to the earth (east, north, up); airspeeds are relative to the air.
#pragma once

#include <array>
#include <cstdint>

namespace corvane::sim {

struct AircraftState {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeM = 0.0;  // reference point, above sea level

    double velocityEastMps = 0.0;
    double velocityNorthMps = 0.0;
    double velocityUpMps = 0.0;

    double headingTrueDeg = 0.0;    // 0..360
    double pitchDeg = 0.0;          // nose up positive
    double bankDeg = 0.0;           // right wing down positive
    double alphaBodyDeg = 0.0;      // angle of attack of the body reference
    double sideslipDeg = 0.0;       // nose right of the air flow positive
    double trimAlphaBodyDeg = 4.0;  // alpha flown with the elevator at 0

    bool onGround = false;  // any wheel (or the belly) touches
    bool crashed = false;
    // Which wheels touch the ground: the main wheels and the nose wheel.
    bool mainWheelsOnGround = false;
    bool noseWheelOnGround = false;
    // Normal load factor: the specific force along the aircraft's vertical
    // axis over g, from the flight model's own forces (1 in level flight,
    // 1/cos(bank) in a level turn, about 1 standing).
    double normalLoadG = 1.0;

    // Surface positions 0..1.
    double flaps = 0.0;
    double spoilers = 0.0;
    double gear = 1.0;

    // Derived after each step.
    double tasMps = 0.0;
    double iasMps = 0.0;
    double groundSpeedMps = 0.0;
    double groundElevationM = 0.0;
    double magneticVariationDeg = 0.0;
    std::uint16_t stallFactor = 32767;
    double thrustN = 0.0;
    std::array<double, 4> engineThrustN{};
    double staticThrustPerEngineN = 1.0;
    // Control surface deflections actually applied, -1..1.
    double elevatorApplied = 0.0;
    double aileronApplied = 0.0;
    double rudderApplied = 0.0;
};

}  // namespace corvane::sim
