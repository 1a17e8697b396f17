// SPDX-License-Identifier: MIT
//
// The fly-there plan: destination runway, its geometry, the turning point, the
// cruise height, the stage counters and the descent profile. One record for
// the whole run of the program; only one flight can be under way.
#pragma once

#include <cstdint>
#include <string>

#include "app/autopilot/ApproachSpeed.h"
#include "app/autopilot/GroundTrack.h"

namespace corvane::autopilot {

// Feet per metre, as every altitude of the autopilot is converted.
inline constexpr double kFeetPerMetre = 3.2808;

struct LatLon {
    double lat = 0;  // degrees north
    double lon = 0;  // degrees east
};

struct FlyTherePlan {
    std::int16_t DestAirport = 0;   // airport record number chosen with "Fly there"
    std::int16_t RunwayChoice = 0;  // +i: runway i touching down at end A; -i: at end B
    std::string RunwayDesignator;   // designator text of the touchdown end
    LatLon Threshold;               // the touchdown end
    LatLon FarEnd;
    double RunwayElevation = 0;       // feet, of the touchdown end
    double RunwayHeading = 0;         // degrees true, threshold to far end
    LatLon TurningPoint;              // on the extended centre line before the threshold
    double TurningPointDistance = 0;  // nautical miles from the threshold
    std::int16_t RouteStage = 0;      // 0..4; 0 = no en-route guidance
    std::int16_t LandingStage = 0;    // 0..8; 0 = not landing
    bool GuidanceOn = false;          // en-route steering acts only while true
    std::int32_t RouteBaseThrottle = 7168;
    std::uint8_t SavedCrashSetting = 0;  // the simulator's crash setting before the flight
    int RecomputeCounter = 0;            // ticks of en-route stage 2; never reset between flights
    float StopTime = 0;  // seconds since midnight: last time rolling at 3 kt or more

    // A landing direction was chosen and the start is waiting its two seconds;
    // the stop command or a new "Fly there" in that time cancels the start.
    bool StartPending = false;

    // Cruise height, read by the en-route guidance every tick.
    double CruiseHeight = 4000 / 3.2808;  // metres
    bool CruiseAboveGround = true;        // above the ground under the aircraft, else sea level

    // Descent profile (feet, except ProfileSpeed).
    double ProfileSpeed = 0;    // knots, true airspeed when the final values were computed
    double FinalLength = 0;     // distance flown in 0.6 minute
    double FinalStart = 0;      // height above sea level where the final stage begins
    double ApproachLength = 0;  // distance flown in one minute
    double MidStart = 0;        // height where the mid stage begins
    double DescentStart = 0;    // distance from the threshold where the initial descent begins

    // The runway as the approach is judged against it.
    double RunwayLengthFt = 0;  // threshold to far end, as the database lists it
    double RunwayWidthFt = 0;
    double AimPointFt = 0;  // past the threshold: where the final stage aims

    // Motion over the ground from successive positions (speed, track, drift).
    GroundTrack Track;
    // The aircraft's speeds as learned in flight, the flap step and the
    // throttle law's state.
    ApproachSpeeds Speeds;

    // Go-arounds: how many this flight has flown, whether this approach has
    // passed its 500 ft gate, and the altitude (feet) at which it began.
    int GoArounds = 0;
    bool GateChecked = false;
    double ApproachStartAltitudeFt = 0;
};

}  // namespace corvane::autopilot
