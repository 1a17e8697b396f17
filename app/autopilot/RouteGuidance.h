// SPDX-License-Identifier: MIT
//
// En-route guidance: steering to the turning point, onto the extended centre
// line and along the runway, by setting the simulator autopilot's heading,
// altitude and vertical speed and the throttles: RouteStep, one step of the
// stage machine, and its laws.
#pragma once

#include <cstdint>
#include <string>

#include "app/autopilot/FlyTherePlan.h"
#include "app/autopilot/FlyThereStep.h"
#include "app/flightstate/AircraftCommands.h"
#include "app/flightstate/Readings.h"

namespace corvane::autopilot {

// One step of the en-route guidance in the plan's route stage (nothing in
// stage 0). Stage 1 computes the turning point and asks for the simulator's
// autopilot to be engaged; stage 2 flies to the turning point and starts the
// landing sequence there; stages 3 and 4 fly to the airport and along the
// runway. A stage that ends goes on into the next one in the same step.
FlyThereStep RouteStep(const flightstate::Readings& aircraft, FlyTherePlan& plan);

// Sets altitude, vertical speed, throttles and heading for flying to the
// target. With intercept true the heading brings the aircraft onto the line of
// the given course (degrees true) through the target; otherwise it points
// straight at the target. Does nothing while GuidanceOn is false. From landing
// stage 2 on, throttles, altitude and vertical speed are left to the landing;
// from stage 7 on, the heading as well.
void SteerToPoint(const flightstate::Readings& aircraft, const FlyTherePlan& plan, double targetLat,
                  double targetLon, bool intercept, double courseDeg,
                  flightstate::AircraftCommands& out);
// The same with the bearing (degrees true) and distance (nautical miles) of
// the target already measured.
void SteerAlong(const flightstate::Readings& aircraft, const FlyTherePlan& plan, double bearingDeg,
                double distanceNm, bool intercept, double courseDeg,
                flightstate::AircraftCommands& out);

// Vertical speed in ft/min for an altitude and a target height, whole metres:
// 0 within 30 m; climbs 100 / 300 / 2000 beyond 30 / 100 / 300 m below;
// descends 100 / 500 / 2500 beyond 30 / 100 / 300 m above.
std::int32_t CruiseVerticalSpeed(std::int32_t altitudeM, std::int32_t targetM);

// En-route throttle: 0.75 x (32767 - stallfactor) + base, rounded half to
// even; above 16384 it becomes 16383 (exactly 16384 stays).
std::int32_t RouteThrottle(std::int32_t stallfactor, std::int32_t baseThrottle);

// Intercept gain (percent of the angle between course and bearing) by distance
// to the target: 150 inside 2 nm, 200 between 2 and 3, 350 between 3 and 5,
// 500 beyond 5. Exactly 2, 3 or 5 nm gives 0: no intercept in that tick.
int InterceptGain(double distanceNm);

// The heading (degrees true, in (0, 360]) that brings the aircraft onto the
// line of course courseDeg through a target at bearing bearingDeg: the bearing
// turned away from the course by gain percent of their difference, at most 70.
// Example: course 90, bearing 80, gain 350 -> 45.
double InterceptHeading(double courseDeg, double bearingDeg, double gainPercent);

// A heading in degrees in the autopilot's unit: x 65536 / 360, rounded half to
// even. Not wrapped into 0..360.
std::int32_t AutopilotHeadingUnits(double headingDeg);

// Whole feet from the aircraft to the threshold (rounded half to even).
std::int32_t ThresholdDistance(const FlyTherePlan& plan, const flightstate::Readings& aircraft);

// "<distance cut down to tenths> nm", the number in the program's number text.
// Example: 12.37 -> " 12.3 nm".
std::string DistanceText(double distanceNm);

}  // namespace corvane::autopilot
