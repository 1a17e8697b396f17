// SPDX-License-Identifier: MIT
//
// The fly-past view: every 20 seconds the simulator's tower viewpoint moves to a
// spot ahead of the aircraft and to the right of its track, at the height the
// aircraft will have when it gets there, so that it flies past the viewpoint.
#pragma once

#include "app/flightstate/AircraftCommands.h"
#include "app/flightstate/Readings.h"

namespace corvane::autopilot {

// What the viewpoint is computed from.
struct FlyPastInputs {
    double latitudeDeg = 0;
    double longitudeDeg = 0;
    double trueHeadingDeg = 0;
    double trueAirspeedKnots = 0;
    double altitudeM = 0;  // whole metres above sea level
    double verticalSpeedFpm = 0;
    double groundAltitudeM = 0;  // whole metres
};

struct FlyPastViewpoint {
    double latitudeDeg = 0;
    double longitudeDeg = 0;
    double altitudeFt = 0;  // whole feet
};

// The viewpoint for a lead time (seconds) and a side offset (feet): the
// distance flown in the lead time ahead along the heading (at least 200 ft),
// then sideFt to the right, at the present height plus the height gained in
// the lead time, never lower than 1 m above the ground under the aircraft.
// Example: 150 kt, 10 s -> 2531.7 ft ahead.
FlyPastViewpoint ComputeFlyPastViewpoint(const FlyPastInputs& in, double leadSeconds,
                                         double sideFt);

// The aircraft's readings the viewpoint is computed from.
FlyPastInputs FlyPastInputsOf(const flightstate::Readings& aircraft);

// The tower viewpoint (towerlat, towerlon, toweralt) for the aircraft as read.
flightstate::AircraftCommands FlyPastCommands(const flightstate::Readings& aircraft,
                                              double leadSeconds, double sideFt);

// The fly-past timer's interval, and the viewpoint's offset to the right of
// the track.
inline constexpr int kFlyPastIntervalMs = 20000;
inline constexpr double kFlyPastSideFt = 100;

}  // namespace corvane::autopilot
