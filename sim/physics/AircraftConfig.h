// SPDX-License-Identifier: MIT
//
// Parameters of the stand-in's aircraft: a generic twin turboprop of the light
// business class (about 5.7 t, 17.6 m span). Clean stall about 88 kt, full-flap
// stall about 72 kt, cruise about 235 kt true at 0.6 throttle. The values and
// what they were tuned for are listed in docs/flight-model.md.
#pragma once

#include <string>
#include <vector>

namespace corvane::sim {

// A flap setting of the aircraft's handbook: how far the flaps are out, and
// the highest indicated airspeed they may be flown at there (VFE).
struct FlapPlacard {
    std::string name;
    double position = 1.0;  // 0 up .. 1 full
    double limitKias = 0.0;
};

struct AircraftConfig {
    // Identity: how scenarios, the command line and reports name the aircraft.
    std::string id = "twin";
    std::string name = "stand-in twin turboprop";

    // Mass and wing.
    double massKg = 5700.0;
    double wingAreaM2 = 28.8;
    double wingSpanM = 17.6;
    double oswaldEfficiency = 0.8;

    // Lift: CL = liftSlopePerRad * (alpha - zero-lift alpha of the configuration).
    double liftSlopePerRad = 5.2;
    double zeroLiftAlphaBodyDeg = 0.0;  // clean wing, body reference
    double clMaxClean = 1.55;
    double flapsDeltaCl = 0.6;          // at full flaps, at a given body alpha
    double flapsDeltaClMax = 0.75;      // at full flaps
    double spoilersDeltaCl = -0.35;     // at full spoilers
    double spoilersDeltaClMax = -0.35;  // at full spoilers
    double postStallLiftFactor = 0.7;   // CL falls to this share of CLmax past the stall

    // Drag: CD = cd0 + k CL^2 + configuration increments.
    double cd0 = 0.025;
    double flapsCd = 0.055;     // full flaps
    double gearCd = 0.020;      // gear down
    double spoilersCd = 0.080;  // full spoilers
    double sideslipCdPerRad2 = 0.5;
    double sideForcePerRad = 0.8;  // side-force coefficient per radian of sideslip

    // Engines (two used; levers 3 and 4 are read back but drive nothing).
    int engineCount = 2;
    double staticThrustPerEngineN = 7000.0;
    double thrustPowerPerEngineW = 675000.0;  // propulsive power (shaft power * efficiency)
    double powerLapseExponent = 0.7;          // thrust ~ density ratio ^ exponent
    double reverseThrustFraction = 0.4;       // of static thrust at full reverse
    double engineTimeConstantS = 2.0;
    int engineType = 5;  // published at 0x0B00

    // Flap settings and their limiting speeds, in the order they extend, as
    // for the class (a twin turboprop of this wing and weight: approach flaps
    // to 200 kt, full flaps to 150 kt); the flaps land at landingFlaps.
    std::vector<FlapPlacard> flapSettings = {{"approach", 0.4, 200.0}, {"down", 1.0, 150.0}};
    double landingFlaps = 1.0;
    // The flap lever moves the flaps to the nearest setting (up or one of the
    // settings) instead of anywhere between.
    bool flapDetents = false;
    bool hasSpoilers = true;

    // Surfaces and gear: full travel times.
    double flapsTravelS = 10.0;
    double spoilersTravelS = 1.5;
    double gearTravelS = 6.0;
    bool retractableGear = true;

    // Pitch and roll response.
    double alphaTimeConstantS = 0.4;
    double elevatorAlphaRangeDeg = 12.0;  // full elevator moves alpha this far from trim
    double manualRollRateDegPerS = 45.0;  // at full aileron
    double maxBankDeg = 80.0;
    double rudderSideslipDeg = 8.0;  // full rudder in the air, auto-coordinator off

    // Ground.
    double gearHeightM = 2.0;   // reference point above the ground on the wheels
    double bellyHeightM = 0.5;  // reference point above the ground on the belly
    double wheelbaseM = 5.2;
    double mainGearAftOfCgM = 0.6;  // the rest of the wheelbase is ahead, to the nose wheel
    double mainGearTrackM = 5.2;
    // The struts (both main wheels together, and the nose wheel): a spring
    // that the static load compresses by 0.25 m (main) and 0.10 m (nose), and
    // a damper of 0.3 of the critical damping of the mass each carries, 0.9 on
    // the rebound. A touchdown sinking at 10 ft/s then loads the main gear
    // with about 1.6 times the weight, as landing gear is designed for.
    double mainStrutStiffnessNPerM = 1.98e5;
    double mainStrutDampingNsPerM = 1.9e4;
    double mainStrutReboundDampingNsPerM = 5.7e4;
    double noseStrutStiffnessNPerM = 6.45e4;
    double noseStrutDampingNsPerM = 3.9e3;
    double noseStrutReboundDampingNsPerM = 1.17e4;
    // Pitch inertia about the centre of gravity (radius of gyration 2.2 m).
    double pitchInertiaKgM2 = 27000.0;
    double maxNoseWheelDeg = 40.0;          // at walking pace
    double maxNoseWheelHighSpeedDeg = 4.0;  // above 60 kt
    double maxGroundLateralG = 0.35;
    double rollingFriction = 0.015;
    double brakeFriction = 0.45;  // at full brake
    double bellyFriction = 0.45;
    double maxGroundPitchDeg = 11.0;
    double pitchRateGroundDegPerS = 3.0;

    // Crash detection thresholds (while the crash setting is on).
    double crashSinkFpm = 1000.0;
    double wingStrikeBankDeg = 8.0;

    // The simulator's autopilot.
    double apBankLimitDeg = 25.0;
    double apStandardRateDegPerS = 3.0;
    double apBankPerHeadingError = 2.0;  // degrees of bank per degree of heading error
    double apRollRateDegPerS = 5.0;
    double apMaxFlightPathDeg = 15.0;
    double apMinLoadFactor = 0.7;
    double apMaxLoadFactor = 1.3;
    double apFlightPathGainPerS = 0.6;
    // Degrees of flight path per m/s of climb missed over the ground (the
    // same share of the miss as FlightGear's pitch loop flies for the Cessna).
    double apClimbErrorPathDegPerMps = 1.2;
    double apAltitudeGainPerS = 0.1;      // capture: climb rate per metre of error
    double apVsIntegratorGainPerS = 0.2;  // pulls back to the integrated rate
    double apMinCaptureRateFpm = 500.0;
    double apStallMarginFraction = 0.9;  // autopilot flies at most this share of the stall alpha
};

}  // namespace corvane::sim
