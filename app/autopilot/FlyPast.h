// SPDX-License-Identifier: MIT
//
// The fly-past view: every 20 seconds the simulator's tower viewpoint moves to a
// spot ahead of the aircraft and to the right of its track, at the height the
// aircraft will have when it gets there, so that it flies past the viewpoint.
// The menu command and the timer handler are declared in FlyThereCommands.h.
#pragma once

namespace corvane {
struct Program;
}

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

// Reads the aircraft and writes the tower viewpoint (towerlat, towerlon, toweralt).
void FlyPastTick(Program& p, double leadSeconds, double sideFt);

}  // namespace corvane::autopilot
