// SPDX-License-Identifier: MIT
//
// Where the aircraft is relative to the landing runway, and the measures the
// approach is judged by: the aim point in the touchdown zone, the distance
// along the extended centre line (signed, so that an aircraft past the aim
// point is never taken for one before it), the offset beside the centre line,
// the height the descent profile has at a distance, the lowest height above
// the ground a descent may take the aircraft to, and the stabilised-approach
// gate at 500 ft.
#pragma once

#include "app/autopilot/FlyTherePlan.h"

namespace corvane::autopilot {

// The aim point's distance past the threshold, feet: 1,000 ft, or a fifth of
// a shorter runway, so that the touchdown falls inside the zone with room on
// both sides.
double AimPointDistance(double runwayLengthFt);

// The course of the centre line at the threshold, degrees true: the
// great-circle bearing from the threshold to the far end (the plan's runway
// heading when the two ends coincide). The program's bearing for short hops
// is a flat-earth one read from a table, a little off at high latitudes; the
// approach is steered and judged against the runway itself.
double CentreLineCourse(const FlyTherePlan& plan);

struct RunwayOffsets {
    double alongFt = 0;  // past the threshold along the runway heading (before it: negative)
    double crossM = 0;   // beside the extended centre line, right of the landing direction positive
};
RunwayOffsets OffsetsFromRunway(const FlyTherePlan& plan, double latDeg, double lonDeg);

// Feet still to fly along the centre line to the aim point (negative past it).
inline double ToAimPointFt(const FlyTherePlan& plan, const RunwayOffsets& o) {
    return plan.AimPointFt - o.alongFt;
}

// The height above the runway, feet, that the descent profile (final, mid and
// initial slopes) has at a distance before the aim point, from the plan's
// current profile values; and the inverse: the distance at which the profile
// passes a height.
double ProfileHeightAt(const FlyTherePlan& plan, double toAimFt);
double ProfileDistanceAt(const FlyTherePlan& plan, double heightAboveRunwayFt);

// The lowest height above the ground under the aircraft that a descent stage
// may take it to before the final approach: a surface rising at 3 % from the
// aim point, no lower than 200 ft and no higher than 1,000 ft, and never above
// half the profile's own height there (over level ground near the runway the
// profile itself is the limit).
double TerrainFloorFt(const FlyTherePlan& plan, double toAimFt);
// The vertical speed (ft/min) no descent may exceed over ground at aglFt with
// that floor: the rate that reaches the floor in 10 seconds; below the floor a
// climb back to it (at most 1,000 ft/min).
double TerrainLimitedRate(double aglFt, double floorFt);

inline constexpr double kStabilisedGateFt = 500;

// Why an approach at the 500 ft gate cannot end on the runway; empty when it is
// stabilised: within half the runway's width of the centre line, its
// track within 30 degrees of the runway heading, and within half to two and a
// half times the distance the profile has at that height.
const char* UnstableReason(const FlyTherePlan& plan, const RunwayOffsets& o, double heightFt,
                           bool trackKnown, double trackDeg);

// Along the runway: the track (degrees true) towards a point on the centre
// line 11.5 s of flight ahead of the aircraft at its ground speed (knots),
// 700 m at most (the distance at 120 kt); so the offset halves in about 8 s
// at any approach speed, without overshoot in gusts.
double CentreLineTrack(const FlyTherePlan& plan, const RunwayOffsets& o, double groundSpeedKt);

// Near the ground the heading moves at most 2 degrees from the present one
// (both in the same reference), so that the autopilot keeps the wings nearly
// level.
double NearGroundHeading(double wantedDeg, double presentDeg);
inline constexpr double kNearGroundFt = 50;

// Nose-wheel steering on the ground, -1..1 (right positive): turns towards a
// heading that brings the wheels back to the centre line, judging the heading
// a second ahead at the present turn rate (degrees a second, right positive;
// not finite: 0), so that the swing of a nose the tyres straighten after a
// touchdown in a crab is checked instead of driven further.
double RolloutSteering(const FlyTherePlan& plan, const RunwayOffsets& o, double headingTrueDeg,
                       double turnRateDegS);

}  // namespace corvane::autopilot
