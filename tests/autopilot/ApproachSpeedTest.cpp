// SPDX-License-Identifier: MIT
//
// The approach's speed laws against aircraft the tests make up: the stall
// speed read from the stall margin, the flaps extended only as the speed
// allows, the throttle bringing a simple aircraft to its target, and the
// gate's speed criteria.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "app/autopilot/ApproachSpeed.h"

namespace corvane::autopilot {
namespace {

std::int32_t MarginAt(double stallKt, double iasKt) {
    return std::int32_t(std::lround(32767 * (1 - (stallKt / iasKt) * (stallKt / iasKt))));
}

TEST(ApproachSpeed, StallSpeedFromTheMarginOfAnyWing) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> stall(30, 140), over(1.05, 3.0);
    for (int i = 0; i < 500; ++i) {
        const double vs = stall(random);
        const double ias = vs * over(random);
        EXPECT_NEAR(StallSpeedFromMargin(ias, MarginAt(vs, ias)), vs, 0.01 * vs) << ias;
    }
    // No lift, no speed: nothing learned.
    EXPECT_EQ(StallSpeedFromMargin(120, 32767), 0);
    EXPECT_EQ(StallSpeedFromMargin(0, 1000), 0);
    // At the stall the wing flies at its stall speed.
    EXPECT_DOUBLE_EQ(StallSpeedFromMargin(61, 0), 61);
}

// A made-up aircraft decelerating through the approach: each flap step has its
// stall speed and its placard, the placard of every step at least 1.8 times
// the stall speed of the step before. The schedule flies every step under its
// placard, reaches the landing flaps, never steps back, and the reference
// speed it learns is 1.3 times the landing flaps' stall speed. While the
// autopilot still climbs (the first part of some flights) no flap goes out.
TEST(ApproachSpeed, FlapsExtendUnderEveryPlacardAndReachTheLandingStep) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> clean(40, 100), cut(0.82, 0.97), placard(1.8, 2.4),
        decel(0.3, 2.0), cruise(1.7, 2.6), climb(-200, 200);
    for (int flight = 0; flight < 200; ++flight) {
        double stallOf[4];
        double placardOf[4] = {1e9, 0, 0, 0};
        stallOf[0] = clean(random);
        for (int step = 1; step < 4; ++step) {
            stallOf[step] = stallOf[step - 1] * cut(random);
            placardOf[step] = stallOf[step - 1] * placard(random);
        }
        ApproachSpeeds s;
        double ias = stallOf[0] * cruise(random);
        const double rate = decel(random);
        int lastStep = 0;
        const double climbS = std::max(0.0, climb(random));
        for (double t = 0; t < 600; t += 0.15) {
            SpeedSense in;
            in.timeOfDayS = 36000 + t;
            in.iasKt = ias;
            in.airborne = true;
            in.climbing = t < climbS;
            // The flaps of the step commanded are out after 4 s.
            const int flying = s.flapStepSinceS >= 0 && in.timeOfDayS - s.flapStepSinceS < 4
                                   ? std::max(0, s.flapStep - 1)
                                   : s.flapStep;
            in.stallFactor = MarginAt(stallOf[flying], ias);
            LearnStallSpeed(s, in, TickSeconds(s, in.timeOfDayS));
            ScheduleFlaps(s, in);
            ASSERT_GE(s.flapStep, lastStep);
            if (in.climbing) {
                ASSERT_EQ(s.flapStep, 0) << "flight " << flight << " climbing at " << t << " s";
            }
            lastStep = s.flapStep;
            // While a new step is learned the throttle's least speed is the
            // approach speed of the step before, clear of the new step's stall.
            if (const double least = UnlearnedStepLeastKt(s); least > 0) {
                ASSERT_GE(least, 1.3 * 0.98 * stallOf[s.flapStep - 1]) << "flight " << flight;
                ASSERT_LE(least, 1.3 * 1.02 * stallOf[s.flapStep - 1]) << "flight " << flight;
            }
            ASSERT_LE(ias, placardOf[s.flapStep]) << "flight " << flight << " step " << s.flapStep;
            // Slowing down to the approach speed, as the throttle law would.
            const double target = std::max(TargetSpeedKt(s, false, 0), 1.3 * stallOf[3] + 5);
            ias = std::max(target, ias - rate * 0.15);
        }
        EXPECT_EQ(s.flapStep, kLandingFlapStep) << "flight " << flight;
        EXPECT_NEAR(ReferenceSpeedKt(s), 1.3 * stallOf[3], 0.02 * stallOf[3]);
        EXPECT_NEAR(TargetSpeedKt(s, false, 0), ReferenceSpeedKt(s) + 5, 1e-9);
        EXPECT_NEAR(TargetSpeedKt(s, true, 30), ReferenceSpeedKt(s) - 3, 1e-9);
    }
}

// An aircraft whose speed answers the throttle with a lag and drag: the law
// brings it from far above or below to the target and holds it there.
TEST(ApproachSpeed, ThrottleBringsTheSpeedToTheTargetAndHoldsIt) {
    struct Case {
        double startKt, targetKt, trimThrottle;
    };
    for (const Case c :
         {Case{150, 100, 6000}, Case{80, 100, 9000}, Case{100, 100, 12000}, Case{70, 65, 3000}}) {
        SCOPED_TRACE(std::to_string(c.startKt) + " to " + std::to_string(c.targetKt));
        ApproachSpeeds s;
        double ias = c.startKt;
        double worstLate = 0;
        for (double t = 0; t < 180; t += 0.15) {
            SpeedSense in;
            in.timeOfDayS = 1000 + t;
            in.iasKt = ias;
            in.throttle = 8192;
            const std::int32_t throttle =
                SpeedThrottle(s, in, c.targetKt, TickSeconds(s, in.timeOfDayS));
            ASSERT_GE(throttle, 0);
            ASSERT_LE(throttle, 16383);
            // 1 kt/s for each 4000 of throttle off the trim, at most 2 kt/s down.
            ias += 0.15 * std::clamp((throttle - c.trimThrottle) / 4000.0, -2.0, 1.0);
            if (t > 120)
                worstLate = std::max(worstLate, std::fabs(ias - c.targetKt));
        }
        EXPECT_LT(worstLate, 1.0);
    }
}

// While a new flap step's speed is not learned there is no target: the
// throttle holds, whichever way the speed was off and however it moves, and
// once the target is back at the same error only the integral moves it.
TEST(ApproachSpeed, ThrottleHoldsWhileNoTargetIsKnown) {
    for (const double offKt : {-6.0, -1.0, 4.0, 9.0}) {
        SCOPED_TRACE(offKt);
        ApproachSpeeds s;
        SpeedSense in;
        in.throttle = 8000;
        in.iasKt = 100 - offKt;
        double t = 1000;
        for (int tick = 0; tick < 10; ++tick, t += 0.15) {
            in.timeOfDayS = t;
            SpeedThrottle(s, in, 100, TickSeconds(s, t));
        }
        const std::int32_t held = s.throttle;
        for (int tick = 0; tick < 60; ++tick, t += 0.15) {
            in.timeOfDayS = t;
            in.iasKt = 100 - offKt - 0.05 * tick;  // the flaps' drag slows it
            ASSERT_EQ(SpeedThrottle(s, in, 0, TickSeconds(s, t)), held) << tick;
        }
        in.iasKt = 100 - offKt;
        in.timeOfDayS = t;
        const std::int32_t back = SpeedThrottle(s, in, 100, TickSeconds(s, t));
        if (held > 0 && held < 16383) {
            EXPECT_NEAR(back, held, 120 * std::fabs(offKt) * 0.15 + 1);
        }
    }
}

TEST(ApproachSpeed, GateJudgesFlapsSpeedAndSink) {
    ApproachSpeeds s;
    s.flapStep = kLandingFlapStep;
    s.stallKt[kLandingFlapStep] = 72.2;  // the reference speed 93.86 kt
    struct Case {
        int flapStep;
        double iasKt, verticalSpeedFpm;
        std::string why;
    };
    for (const Case& c :
         {Case{3, 99, -900, ""}, Case{2, 99, -900, "flaps not set"},
          Case{3, 88.5, -900, "too slow"}, Case{3, 89, -900, ""}, Case{3, 109.5, -900, "too fast"},
          Case{3, 108.5, -999, ""}, Case{3, 99, -1001, "sinking too fast"}}) {
        s.flapStep = c.flapStep;
        EXPECT_EQ(UnstableSpeedReason(s, c.iasKt, c.verticalSpeedFpm), c.why)
            << c.flapStep << " " << c.iasKt << " " << c.verticalSpeedFpm;
    }
    // Nothing learned yet: only the flaps and the sink are judged.
    ApproachSpeeds unknown;
    unknown.flapStep = kLandingFlapStep;
    EXPECT_EQ(std::string(UnstableSpeedReason(unknown, 300, -500)), "");
}

// A simulator that reports no stall margin: the flaps still reach the landing
// step by the gate, a step each time one has settled in the descent, and stay
// clean before it.
TEST(ApproachSpeed, WithoutAStallMarginTheFlapsStepOutInTheDescent) {
    ApproachSpeeds s;
    SpeedSense in;
    in.iasKt = 120;
    in.stallFactor = 32767;
    in.airborne = true;
    int steps = 0;
    for (double t = 0; t < 60; t += 0.15) {
        in.timeOfDayS = 36000 + t;
        in.descending = t >= 30;
        LearnStallSpeed(s, in, 0.15);
        const std::int32_t lever = ScheduleFlaps(s, in);
        if (t < 30) {
            EXPECT_EQ(lever, kFlapStepLever[0]) << t;
        }
        steps = s.flapStep;
    }
    EXPECT_EQ(steps, kLandingFlapStep);  // three steps 8 s apart within 30 s
    EXPECT_EQ(ReferenceSpeedKt(s), 0);
}

// The flare's speed and the elevator on the wheels follow the landing flaps'
// stall speed (72 kt here, the reference 93.6 kt).
TEST(ApproachSpeed, FlareSpeedAndRolloutElevatorFollowTheStallSpeed) {
    ApproachSpeeds unknown;
    EXPECT_EQ(FlareSpeedKt(unknown), 0);
    EXPECT_EQ(RolloutElevator(unknown, 10, -8000), 0);  // neutral to the end

    ApproachSpeeds s;
    s.stallKt[kLandingFlapStep] = 72;
    EXPECT_NEAR(FlareSpeedKt(s), 79.2, 1e-9);
    s.iasDeviationKt = 3;
    EXPECT_NEAR(FlareSpeedKt(s), 85.2, 1e-9);  // above the gusts' troughs
    struct Row {
        double iasKt;
        std::int32_t elevator;
    };
    for (const Row row : {Row{90, 0}, Row{51, 0}, Row{50.3, -8000}, Row{5, -8000}})
        EXPECT_EQ(RolloutElevator(s, row.iasKt, -8000), row.elevator) << row.iasKt;
}

}  // namespace
}  // namespace corvane::autopilot
