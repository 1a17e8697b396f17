// SPDX-License-Identifier: MIT
//
// The approach flown at the aircraft's own speeds. The program holds no table
// of aircraft: it learns each flap step's stall speed in flight from the stall
// margin the simulator reports, extends the flaps a step at a time only once
// the speed is well below what the step may be flown at, and sets the
// throttle so that the speed comes down to the approach speed (1.3 times the
// stall speed with landing flaps, plus an allowance for the headwind) by the
// 500 ft gate and stays there, a few knots below it over the last feet.
#pragma once

#include <array>
#include <cstdint>

namespace corvane::autopilot {

// Flap steps: clean, a third, two thirds and the landing flaps, and the flap
// lever of each (the landing flaps at the descent's lever).
inline constexpr int kLandingFlapStep = 3;
inline constexpr std::array<std::int32_t, 4> kFlapStepLever = {0, 5461, 10922, 16000};

// The stall speed (indicated, knots) that the stall margin gives in steady
// flight: lift grows with the angle from the zero-lift line, so at a margin m
// (0 at the stall, 1 at no lift) the wing flies at (1 - m) of its stalling
// lift and Vs = IAS x sqrt(1 - m). 0 where the reading says nothing (no lift,
// no speed).
double StallSpeedFromMargin(double iasKt, std::int32_t stallFactor);

// What the approach's laws keep from tick to tick.
struct ApproachSpeeds {
    std::array<double, 4> stallKt{};  // learned for each flap step; 0 = not yet
    int flapStep = 0;                 // the step commanded
    double flapStepSinceS = -1;       // when it was commanded (time of day)
    double lastTickS = -1;            // the previous tick the laws ran
    double quietSinceS = -1;          // since when the spoilers are in
    std::int32_t throttle = -1;       // the throttle the law set last; -1: none yet
    double lastSpeedErrorKt = 0;
    bool spoilersOut = false;
    double meanIasKt = 0;       // the speed, filtered over about ten seconds
    double iasDeviationKt = 0;  // its mean deviation from that: the gusts

    void Reset() { *this = ApproachSpeeds{}; }
};

// What the laws read of the aircraft in a tick.
struct SpeedSense {
    double timeOfDayS = 0;
    double iasKt = 0;
    std::int32_t stallFactor = 0;
    bool airborne = false;
    std::int32_t throttle = 0;  // the throttle as the simulator reads it
    bool descending = false;    // in a descent stage of the landing
    bool climbing = false;      // the autopilot climbing to a higher altitude
};

// Seconds: the seconds since the laws' previous tick (0.15 s on the first one,
// and after a jump of the clock, such as midnight).
double TickSeconds(ApproachSpeeds& s, double timeOfDayS);

// Learns the stall speed of the flap step flown, once its flaps have had time
// to move and while the spoilers are in, by a filter of about five seconds.
void LearnStallSpeed(ApproachSpeeds& s, const SpeedSense& in, double tickS);

// The flap step to fly: one step further when the present step's stall speed
// is known, the step has settled and the speed is at most 1.6 times that stall
// speed (every flap placard is well above that: 1.8 to 2.5 times the stall
// speed of the step below). A simulator that reports no stall margin leaves
// the stall speed unknown: then the flaps go out a step each time a step has
// settled in the descent, so that the landing flaps are set by the gate. Never
// a step back. Returns its lever.
std::int32_t ScheduleFlaps(ApproachSpeeds& s, const SpeedSense& in);

// The climb a go-around may ask for, ft/min: the full rate from 1.4 times
// the present flap step's stall speed, none at 1.2 times it or slower (the
// aircraft gathers speed on full power first), in between in proportion; the
// full rate while the stall speed is not known.
double GoAroundClimbFpm(const ApproachSpeeds& s, double iasKt, double fullRateFpm);

// In a go-around's climb: back to the clean wing (true returned, the step
// set to 0) once the speed passes 1.5 times the clean wing's stall speed.
bool RetractFlapsInClimb(ApproachSpeeds& s, double iasKt, double timeOfDayS);

// The landing flaps' stall speed, knots: as learned, or while the landing
// flaps are not yet learned, foreseen from the step before (flaps take a tenth
// off the stall speed per step at most); 0 while nothing is known.
double LandingStallSpeedKt(const ApproachSpeeds& s);

// The least speed while the present flap step's stall speed is not learned
// yet, knots: 1.3 times the stall speed of the last step learned before it
// (the step before, which stalls no slower), the approach speed of the wing
// as it was; 0 once the step is learned, and while nothing is known.
double UnlearnedStepLeastKt(const ApproachSpeeds& s);

// The reference speed, 1.3 times the landing flaps' stall speed, knots; 0
// while nothing is known.
double ReferenceSpeedKt(const ApproachSpeeds& s);

// Follows the speed's mean and its mean deviation over about ten seconds.
void WatchGusts(ApproachSpeeds& s, double iasKt, double tickS);

// The gust allowance, knots: twice the gusts' mean deviation, at most 7 kt.
double GustAllowanceKt(const ApproachSpeeds& s);

// The wind allowance, knots: half the headwind component or twice the gusts'
// mean deviation, whichever is more, at most 7 kt (so that the approach
// speed stays inside the gate's 15 kt).
double WindAllowanceKt(const ApproachSpeeds& s, double headwindKt);

// The speed the throttle aims at in a descent stage, knots: a few knots under
// the next flap step's extension speed until the landing flaps are out, then
// the approach speed (the reference speed + 5 kt + the wind allowance), and in
// the final stage the reference speed less 3 kt, or more in gusts: at least
// 1.15 times the stall speed plus twice the gusts' mean deviation, so that a
// gust's trough does not take the aircraft near the stall over the last
// feet. 0 while the present step's stall speed is not learned (the throttle
// then stays where it is).
double TargetSpeedKt(const ApproachSpeeds& s, bool finalStage, double headwindKt);

// The speed the throttle keeps in the flare, knots: 1.1 times the landing
// stall speed above the gusts' troughs (twice their mean deviation), so that
// the autopilot can still hold the flare's sink when the wheels meet the
// runway; 0 while nothing is known.
double FlareSpeedKt(const ApproachSpeeds& s);

// The least speed to touch down at, knots, which the throttle keeps over the
// flare's last feet with the power otherwise closed: 1.08 times the landing
// stall speed, so that a gust's trough does not put the wheels down at the
// stall's edge and sinking; 0 while nothing is known.
double LastFeetSpeedKt(const ApproachSpeeds& s);

// The throttle that brings the speed to the target: a proportional and
// integral law on the speed error (about 600 per knot and 120 per knot and
// second), from the throttle as the simulator reads it on the first tick,
// within 0..16383. With no target (0) it stays where it is.
std::int32_t SpeedThrottle(ApproachSpeeds& s, const SpeedSense& in, double targetKt, double tickS);

// Whether the spoilers help slow the aircraft: out while it is more than 10 kt
// too fast with the throttle closed, in again once it is within 3 kt.
bool SpoilersWanted(ApproachSpeeds& s, const SpeedSense& in, double targetKt);

// Why the speeds at the 500 ft gate make the approach unstable; empty when
// they do not: landing flaps not set, the speed 5 kt under or 15 kt over the
// reference speed (when it is known), sinking faster than 1,000 ft/min.
const char* UnstableSpeedReason(const ApproachSpeeds& s, double iasKt, double verticalSpeedFpm);

// The elevator on the wheels after the touchdown (the altitude hold is off
// from the touchdown on, so the pitch is the elevator's): neutral, so that the
// nose comes down and the wing cannot lift the aircraft off again, and held
// back only once the speed is under 0.7 times the landing stall speed (the
// wing's most lift then under half the weight), to take the weight off the
// nose wheel for the braking. Neutral to the end while no stall speed is known.
std::int32_t RolloutElevator(const ApproachSpeeds& s, double iasKt, std::int32_t heldBackElevator);

}  // namespace corvane::autopilot
