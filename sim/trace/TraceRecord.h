// SPDX-License-Identifier: MIT
//
// One line of the flight trace, filled after every step: where the aircraft
// is, how it flies, what the controls and the autopilot are set to, and which
// stage events happened in the step (a bit per SimEventKind in eventMask).
#pragma once

#include <cstdint>

namespace corvane::sim {

struct TraceRecord {
    double timeS = 0.0;
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFt = 0.0;
    double groundElevationFt = 0.0;
    double heightAboveGroundFt = 0.0;
    double iasKt = 0.0;
    double tasKt = 0.0;
    double groundSpeedKt = 0.0;
    double verticalSpeedFpm = 0.0;
    double pitchDeg = 0.0;
    double bankDeg = 0.0;
    double headingTrueDeg = 0.0;
    double headingMagneticDeg = 0.0;
    double alphaDeg = 0.0;
    int stallFactor = 0;
    double throttle1 = 0.0;  // lever, -1..1
    double throttle2 = 0.0;
    double thrustN = 0.0;
    double flaps = 0.0;  // positions 0..1
    double spoilers = 0.0;
    double gear = 0.0;
    double leftBrake = 0.0;  // 0..1
    double rightBrake = 0.0;
    bool parkingBrake = false;
    double elevator = 0.0;  // inputs -1..1
    double aileron = 0.0;
    double rudder = 0.0;
    bool apMaster = false;
    bool apWingLeveller = false;
    bool apHeadingHold = false;
    bool apAltitudeHold = false;
    double apHeadingMagneticDeg = 0.0;
    double apAltitudeFt = 0.0;
    int apVerticalSpeedFpm = 0;
    int apVerticalMode = 0;  // 0 off, 1 vertical speed, 2 altitude hold
    bool onGround = false;
    bool mainWheelsOnGround = false;
    bool noseWheelOnGround = false;
    double normalLoadG = 1.0;  // from the flight model's forces (AircraftState)
    bool crashed = false;
    bool paused = false;
    bool crashDetection = false;
    std::uint32_t eventMask = 0;
};

}  // namespace corvane::sim
