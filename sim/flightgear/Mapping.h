// SPDX-License-Identifier: MIT
//
// FlightGear's readings as the stand-in's aircraft state, and the stand-in's
// levers as FlightGear's controls, for the Cessna 172P that comes with
// FlightGear's base data (JSBSim). The aircraft's figures come from its
// JSBSim file: lift from the body angle of attack with the flap increments,
// the wing stalling near 16 degrees with or without flaps, three flap detents
// (10, 20 and 30 degrees), a fixed gear and one piston engine.
#pragma once

#include <array>
#include <cstdint>

#include "sim/flightgear/ControlLoops.h"
#include "sim/flightgear/Protocol.h"
#include "sim/physics/AircraftState.h"

namespace corvane::sim::flightgear {

struct AircraftFacts {
    // Reference point above the ground on the wheels, until measured standing
    // (1.34 m standing after a landing at Honolulu: Cessna172pData).
    double gearHeightM = 1.34;
    int engineType = 0;  // piston, published at 0x0B00
    double staticThrustLbs = 600.0;
    // Angle of attack of zero lift with the flaps up, and where the wing stalls.
    double zeroLiftAlphaDeg = -2.7;
    double stallAlphaDeg = 16.0;
    // The flap lever's detents and how far each moves the zero-lift angle.
    std::array<double, 4> flapDetents = {0.0, 1.0 / 3.0, 2.0 / 3.0, 1.0};
    std::array<double, 4> flapZeroLiftShiftDeg = {0.0, -2.15, -3.2, -3.76};
    // Crash detection: a touchdown sinking faster than this, or banked more.
    double crashSinkFpm = 1000.0;
    double wingStrikeBankDeg = 20.0;
};

// The aircraft's state from one frame (the derived fields included: speeds,
// stall factor, thrust share). Fixed gear: always down.
AircraftState StateFromReadings(const Readings& r, const AircraftFacts& facts);

// The margin to the stall as the variable space carries it: 32767 at zero
// lift, 0 at and past the stall; alpha measured from the zero-lift line of
// the flap position (0..1, between detents interpolated).
std::uint16_t StallFactor(double alphaDeg, double flapsNorm, const AircraftFacts& facts);

// What the control loops sense: the attitude and its rates, the angles of
// attack and sideslip, the airspeed from the readings; the climb, the true
// airspeed and the ground contact (smoothed) from the state made of them.
LoopSense LoopSenseOf(const Readings& r, const AircraftState& state);

// The detent nearest to the flap lever (0..1).
double FlapDetent(double lever, const AircraftFacts& facts);

}  // namespace corvane::sim::flightgear
