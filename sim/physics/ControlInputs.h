// SPDX-License-Identifier: MIT
//
// Everything the pilot (or the program) sets: levers, switches and the
// autopilot's targets, in physical units. ImageBinding fills it from the
// variable space before every step; a test can fill it directly.
#pragma once

#include <array>
#include <cstdint>

namespace corvane::sim {

struct AutopilotSettings {
    bool master = false;
    bool wingLeveller = false;
    bool headingHold = false;
    bool altitudeHold = false;
    double headingMagneticDeg = 0.0;  // 0..360
    double altitudeTargetM = 0.0;
    std::int16_t verticalSpeedFpm = 0;  // signed: positive climbs
};

struct ControlInputs {
    // Lever per engine: 0..1 forward, -1..0 reverse.
    std::array<double, 4> throttle{};
    double flapsLever = 0.0;     // 0..1
    double spoilersLever = 0.0;  // 0..1
    bool spoilersArmed = false;  // deploy fully at touchdown
    bool gearDown = true;
    double leftBrake = 0.0;   // 0..1
    double rightBrake = 0.0;  // 0..1
    bool parkingBrake = false;
    double elevator = 0.0;  // -1..1, positive nose down
    double aileron = 0.0;   // -1..1, positive roll right
    double rudder = 0.0;    // -1..1, positive yaw right
    bool autoCoordinator = true;
    AutopilotSettings autopilot;
    bool paused = false;
    bool crashDetection = true;
};

}  // namespace corvane::sim
