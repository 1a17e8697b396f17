// SPDX-License-Identifier: MIT
//
// The approach and landing sequence: waiting for the descent point, the
// initial, mid-stage and final descents flown by the autopilot's vertical
// speed, touchdown and braking, the rollout to a stop and the hand-back of the
// controls: LandingStep, one step of the stage machine, and its laws.
#pragma once

#include <cstdint>

#include "app/autopilot/FlyTherePlan.h"
#include "app/autopilot/FlyThereStep.h"
#include "app/flightstate/Readings.h"

namespace corvane::autopilot {

// Landing stages.
enum LandingStages : std::int16_t {
    kNotLanding = 0,
    kWaitForDescent = 1,
    kInitialDescent = 2,
    kMidDescent = 3,
    kFinalDescent = 4,
    kTouchdown = 5,
    kRollout = 6,
    kResettingControls = 7,
    kAutopilotOff = 8,
    // An approach that could not end on the runway: full power, a climb on
    // the runway heading to the height the approach began at, then the
    // approach is flown again from the turning point.
    kGoAround = 9,
};

// What a landing step reads besides the plan.
struct LandingInputs {
    const flightstate::Readings& aircraft;
    double timeOfDayS = 0;  // seconds since midnight
    // The exchange has sent the last autopilot heading, altitude and vertical
    // speed written (their write requests are clear), and the last heading and
    // altitude hold switches.
    bool autopilotTargetsSent = false;
    bool holdSwitchesSent = false;
};

// One step of the landing sequence in the plan's landing stage (nothing in
// stage 0): the commands of the stage, the next stage in the plan, and the
// stage's text when it changes.
FlyThereStep LandingStep(const LandingInputs& in, FlyTherePlan& plan);

// The end of a flight's display: the simulator gets its crash setting back
// and the report says the display ends.
void EndFlightDisplay(const FlyTherePlan& plan, FlyThereStep& step);

// Go-arounds a flight may fly; after the next unstable approach the controls
// are handed back in level flight.
inline constexpr int kMaxGoArounds = 2;

// The vertical speed a descent stage commands, ft/min.
struct DescentCommand {
    // False when the time to go is zero or undefined (no distance left to the
    // stage's aim point, or no airspeed): the previous command is kept.
    bool computed = false;
    std::int32_t profileRate = 0;    // -(slope x speed in ft/min / 100), rounded (16-bit)
    std::int32_t requiredRate = 0;   // the rate that reaches the aim point, limited
    std::int32_t commandedRate = 0;  // 2 x required - profile
};

// The descent control law for a slope (percent), the profile speed (knots), the
// height above the stage's aim (feet) and the distance still to fly before the
// stage's aim point (feet). The required rate is limited to -4000 ft/min; with
// limitClimb (initial and mid stages) a required climb becomes -4000 as well.
// Example: 120 kt, slope 10, required -5000 -> commanded -8000 + 1215 = -6785.
DescentCommand DescentRate(double slopePercent, double profileSpeedKnots, double heightFt,
                           double toGoFt, bool limitClimb);

// A stage ends when the commanded rate would lose more than the height left
// within 10 seconds: -rate / 6 > height.
bool DescentStageEnds(std::int32_t commandedRate, double heightFt);

}  // namespace corvane::autopilot
