// SPDX-License-Identifier: MIT
//
// FlightGear's readings as the stand-in's aircraft state, and the stand-in's
// levers as FlightGear's controls, for the Cessna 172P that comes with
// FlightGear's base data (JSBSim). The aircraft's figures come from its
// JSBSim file: the lift coefficient against the angle of attack, the most
// lift at 0.28 rad (16 degrees) with or without flaps, the lift the flaps
// add, three flap detents (10, 20 and 30 degrees), a fixed gear and one
// piston engine.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/flightgear/ControlLoops.h"
#include "sim/flightgear/Protocol.h"
#include "sim/physics/AircraftState.h"

namespace corvane::sim::flightgear {

// One row of a table as JSBSim looks it up: straight lines between the rows
// (x ascending), the first and last values held beyond them.
struct TableRow {
    double x = 0.0;
    double y = 0.0;
};

struct AircraftFacts {
    // Reference point above the ground on the wheels, until measured standing
    // (1.34 m standing after a landing at Honolulu: Cessna172pData).
    double gearHeightM = 1.34;
    int engineType = 0;  // piston, published at 0x0B00
    double staticThrustLbs = 600.0;
    // The wing's lift coefficient with the flaps up against the angle of
    // attack in radians, up to the most lift, unstalled: c172p.xml
    // aero/coefficient/CLwbh, the column of stall-hyst-norm 0 (ground effect,
    // kCLge, left out). Its largest value is the clean CLmax.
    std::vector<TableRow> liftByAlphaRad = {
        {-0.09, -0.22}, {0.00, 0.25}, {0.09, 0.73}, {0.10, 0.83}, {0.12, 0.92},
        {0.14, 1.02},   {0.16, 1.08}, {0.17, 1.13}, {0.19, 1.19}, {0.21, 1.25},
        {0.24, 1.35},   {0.26, 1.44}, {0.28, 1.47}};
    // The lift the flaps add at every angle of attack against the flap
    // position (0..1 of 30 degrees): c172p.xml aero/coefficient/CLDf, rows
    // at fcs/flap-pos-deg 0, 10, 20 and 30.
    std::vector<TableRow> flapLiftByPosition = {
        {0.0, 0.0}, {1.0 / 3.0, 0.20}, {2.0 / 3.0, 0.30}, {1.0, 0.35}};
    // The flap lever's detents.
    std::array<double, 4> flapDetents = {0.0, 1.0 / 3.0, 2.0 / 3.0, 1.0};
    // Crash detection: a touchdown sinking faster than this, or banked more.
    double crashSinkFpm = 1000.0;
    double wingStrikeBankDeg = 20.0;
};

// The aircraft's state from one frame (the derived fields included: speeds,
// stall factor, thrust share). Fixed gear: always down.
AircraftState StateFromReadings(const Readings& r, const AircraftFacts& facts);

// The lift coefficient at an angle of attack (degrees) and flap position
// (0..1; not a number counts as the last row, the most flap): the wing's
// table plus the flaps' increment. Example: 5.16 degrees (0.09 rad) with
// full flaps is 0.73 + 0.35 = 1.08 for the Cessna.
double LiftCoefficient(double alphaDeg, double flapsNorm, const AircraftFacts& facts);

// The most lift the wing gives at a flap position: the table's largest
// value plus the flaps' increment (1.47 clean and 1.82 with full flaps for
// the Cessna).
double MaxLiftCoefficient(double flapsNorm, const AircraftFacts& facts);

// The margin to the stall as the variable space carries it: the share of
// the most lift at the flap position that the wing is not using,
// 32767 x (1 - CL / CLmax). 32767 at and below zero lift, 0 at and past the
// angle of the most lift and at an angle that is not a number. In steady
// flight at the load factor n, IAS x sqrt(1 - margin) is the speed at which
// the wing stalls at n.
std::uint16_t StallFactor(double alphaDeg, double flapsNorm, const AircraftFacts& facts);

// What the control loops sense: the attitude and its rates, the angles of
// attack and sideslip, the airspeed from the readings; the climb, the true
// airspeed and the ground contact (smoothed) from the state made of them.
LoopSense LoopSenseOf(const Readings& r, const AircraftState& state);

// The detent nearest to the flap lever (0..1).
double FlapDetent(double lever, const AircraftFacts& facts);

}  // namespace corvane::sim::flightgear
