// SPDX-License-Identifier: MIT
//
// The descent profile and the turning point. Three slopes, in percent (feet of
// height lost per 100 feet flown), are used: 10.0 for the initial stage, 5.0
// for the mid stage and 0.75 for the final stage. From them and the current
// true airspeed follow the heights at which the mid and final stages begin and
// the distance from the threshold at which the descent must begin; the turning
// point lies far enough out for the whole descent.
#pragma once

#include "app/autopilot/FlyTherePlan.h"
#include "app/flightstate/Readings.h"

namespace corvane::autopilot {

inline constexpr double kInitialSlopePercent = 10.0;
inline constexpr double kMidSlopePercent = 5.0;
// The final stage starts about 150 ft up at 120 kt and 70 ft at 55 kt: at
// 0.75 % it crossed the threshold about 13 ft up after a long drag in low,
// where moderate turbulence put the wheels down short.
inline constexpr double kFinalSlopePercent = 2.0;
// Knots to feet per minute.
inline constexpr double kFeetPerMinutePerKnot = 101.252;
// Touchdown aim point above the runway elevation, feet.
inline constexpr double kTouchdownAimFt = 6.0;
inline constexpr double kFeetPerNauticalMile = 6076.1033;

// ProfileSpeed := true airspeed; FinalLength := the distance flown in 0.6
// minute; FinalStart := RunwayElevation + 6 + FinalLength x slope / 100.
// Example: 120 kt, sea level, 2 % -> FinalLength 7290.14, FinalStart 151.80.
void FinalProfile(FlyTherePlan& plan, const flightstate::Readings& aircraft, double slopePercent);
// The lowest height above the runway at which the mid stage begins, feet.
inline constexpr double kMidStageLowestStartFt = 800;
// ApproachLength := FinalLength + the mid stage's length: the distance flown
// in 0.4 minute at ProfileSpeed, or the longer distance over which the slope
// climbs from FinalStart to kMidStageLowestStartFt above the runway;
// MidStart := FinalStart + (ApproachLength - FinalLength) x slope / 100.
void MidProfile(FlyTherePlan& plan, double slopePercent);
// DescentStart := ApproachLength + the distance over which the height above
// MidStart is lost at the slope. A ProfileSpeed of 0 counts as 10 ft/min.
void InitialProfile(FlyTherePlan& plan, const flightstate::Readings& aircraft, double slopePercent);

// The angle, in radians, between the east-west axis and a heading, folded into
// the heading's quadrant: 90 - H below 90, H - 90 from 90, 270 - H from 180,
// H - 270 from 270. The signs of the north and east offsets come from the
// quadrant (see QuadrantSigns).
double QuadrantAngle(double headingDeg);
struct QuadrantSigns {
    int north;
    int east;
};
// (+,+) below 90, (-,+) from 90, (-,-) from 180, (+,-) from 270.
QuadrantSigns SignsOfQuadrant(double headingDeg);

// Places TurningPoint on the extended centre line before the threshold at
// (lat, lon) for a runway heading headingDeg (true), and returns its distance
// in nautical miles: (0.02 x airspeed)^1.45 + 4, moved out to 1.3 x
// DescentStart when the descent needs more room. Computes the profile.
// Example: 100 kt gives 6.73 nm, 150 kt gives 8.92 nm (before the profile check).
double ComputeTurningPoint(FlyTherePlan& plan, const flightstate::Readings& aircraft, double lat,
                           double lon, double headingDeg);
// The base distance of the turning point, nautical miles, for an airspeed in knots.
double BaseTurningPointDistance(double airspeedKnots);

}  // namespace corvane::autopilot
