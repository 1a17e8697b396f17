// SPDX-License-Identifier: MIT
//
// The fly-there plan: destination runway, its geometry, the turning point, the
// cruise height, the stage counters and the descent profile.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::autopilot {

struct LatLon {
    double lat = 0;  // degrees north
    double lon = 0;  // degrees east
};

struct FlyTherePlan {
    std::int16_t DestAirport = 0;     // airport record number
    std::int16_t RunwayChoice = 0;    // +i: runway i touching down at end A; -i: at end B
    std::string RunwayDesignator;
    LatLon Threshold;                 // the touchdown end
    LatLon FarEnd;
    double RunwayElevation = 0;       // feet
    double RunwayHeading = 0;         // degrees true
    LatLon TurningPoint;
    double TurningPointDistance = 0;  // nautical miles
    std::int16_t RouteStage = 0;      // 0..4
    std::int16_t LandingStage = 0;    // 0..8
    bool GuidanceOn = false;
    std::int32_t RouteBaseThrottle = 7168;
    std::uint8_t SavedCrashSetting = 0;
    int RecomputeCounter = 0;
    float StopTime = 0;               // seconds since midnight

    // Cruise height.
    double CruiseHeight = 4000 / 3.2808;  // metres
    bool CruiseAboveGround = true;

    // Descent profile (feet).
    double ProfileSpeed = 0;  // knots
    double FinalLength = 0;
    double FinalStart = 0;
    double ApproachLength = 0;
    double MidStart = 0;
    double DescentStart = 0;
};

}  // namespace corvane::autopilot
