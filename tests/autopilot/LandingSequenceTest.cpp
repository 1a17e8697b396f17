// SPDX-License-Identifier: MIT
#include "app/autopilot/LandingSequence.h"

#include <gtest/gtest.h>

#include "app/autopilot/DescentProfile.h"
#include "app/autopilot/RouteGuidance.h"
#include "app/startup/FlyThereHandlers.h"
#include "tests/autopilot/AutopilotTestSupport.h"

namespace corvane::autopilot::test {
namespace {

// ---- The descent control law -------------------------------------------------

// At 120 kt the profile speed is 12150.24 ft/min: a distance of that many feet
// is one minute to go.
constexpr double kOneMinuteAt120 = 120 * 101.252;

struct LawRow {
    const char* name;
    double slope;
    double knots;
    double heightFt;
    double toGoFt;
    bool limitClimb;
    std::int32_t required;
    std::int32_t commanded;
};

class DescentLaw : public ::testing::TestWithParam<LawRow> {};

TEST_P(DescentLaw, RequiredAndCommandedRates) {
    const LawRow r = GetParam();
    const DescentCommand c = DescentRate(r.slope, r.knots, r.heightFt, r.toGoFt, r.limitClimb);
    ASSERT_TRUE(c.computed);
    EXPECT_EQ(c.requiredRate, r.required);
    EXPECT_EQ(c.commandedRate, r.commanded);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DescentLaw,
    ::testing::Values(
        // On the profile the commanded rate is the profile rate, -1215.
        LawRow{"OnTheProfile", 10, 120, 1215.024, kOneMinuteAt120, true, -1215, -1215},
        // Below the profile: half the rate needed, so the aircraft descends slower.
        LawRow{"BelowTheProfile", 10, 120, 607.5, kOneMinuteAt120, true, -608, -1},
        // Steeper than -4000 is limited: -8000 + 1215.
        LawRow{"TooSteepIsLimited", 10, 120, 5000, kOneMinuteAt120, true, -4000, -6785},
        // Past the aim point the required rate comes out as a climb: the steepest rate.
        LawRow{"PastTheAimPoint", 10, 120, 1000, -500, true, -4000, -6785},
        LawRow{"ClimbInTheMidStage", 5, 120, -100, kOneMinuteAt120, true, -4000, -7392},
        // The final stage limits only the descent; r = -91 at 0.75 %.
        LawRow{"ClimbInTheFinalStage", 0.75, 120, -100, kOneMinuteAt120, false, 100, 291},
        LawRow{"TooSteepInTheFinalStage", 0.75, 120, 5000, kOneMinuteAt120, false, -4000, -7909}),
    [](const ::testing::TestParamInfo<LawRow>& info) { return info.param.name; });

TEST(DescentLaw, NoTimeToGoComputesNothing) {
    EXPECT_FALSE(DescentRate(10, 120, 1000, 0, true).computed);   // at the aim point
    EXPECT_FALSE(DescentRate(10, 0, 1000, 5000, true).computed);  // no airspeed
    EXPECT_FALSE(DescentRate(0.75, 0, 0, 0, false).computed);
}

TEST(DescentLaw, AnAlmostZeroDistanceSaturatesInsteadOfOverflowing) {
    const DescentCommand c = DescentRate(0.75, 120, -1000, 1e-9, false);
    ASSERT_TRUE(c.computed);
    EXPECT_EQ(c.requiredRate, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(c.commandedRate, std::numeric_limits<std::int32_t>::max());
}

TEST(DescentLaw, AStageEndsWhenTenSecondsAtTheRateLoseMoreThanTheHeightLeft) {
    EXPECT_TRUE(DescentStageEnds(-600, 99.9));
    EXPECT_FALSE(DescentStageEnds(-600, 100));
    EXPECT_FALSE(DescentStageEnds(600, 0));
}

// ---- Throttle laws ------------------------------------------------------------

// ---- The stages ------------------------------------------------------------------

// A sea-level runway at the equator heading 090 from (0, 0); the aircraft on
// the extended centre line at 120 kt.
struct Landing : ProgramFixture {
    Landing() {
        p.plan.Threshold = {0, 0};
        p.plan.FarEnd = {0, 0.03};
        p.plan.RunwayHeading = 90;
        p.plan.RunwayElevation = 0;
        p.plan.GuidanceOn = true;
        p.plan.SavedCrashSetting = 1;
        // The laws alone: the 500 ft gate is tested on its own.
        p.plan.GateChecked = true;
        // The profile at 120 kt as stage 1 computes it.
        p.plan.ApproachLength = 20254.09;
        p.plan.MidStart = 800.0;
        p.flightState.stallfactor = 32767;
        p.flightState.gearhandle = 16383;
        SetAirspeed(p.flightState, 120);
        p.forms.Form1.menu.mnuFlythereOff.visible = true;
        p.forms.Form1.menu.mnuFlyHeight.visible = true;
        p.forms.Form4.visible = true;
        p.forms.Form4.Label1.height = 255;
        p.forms.Form4.Label4.height = 255;
        p.forms.Form4.height = 510;
    }
    // The aircraft `feet` before the threshold (negative: past it) at a height.
    void At(double feet, std::int32_t altitudeM) {
        const LatLon pos = Destination(0, 0, feet >= 0 ? 270 : 90, std::fabs(feet) / 3.2808);
        PlaceAircraft(p.flightState, pos.lat, pos.lon);
        p.flightState.altitude = altitudeM;
    }
    void ClearRequests() { p.flightState = WithRequestsCleared(p.flightState); }
    static flightstate::FlightState WithRequestsCleared(flightstate::FlightState s) {
        flightstate::FlightState fresh;
        fresh.simulatorkind = s.simulatorkind;
        fresh.magvar = s.magvar;
        std::copy(std::begin(s.statusblock), std::end(s.statusblock), fresh.statusblock);
        fresh.groundaltitude = s.groundaltitude;
        fresh.crashing = s.crashing;
        fresh.trueairspeed = s.trueairspeed;
        fresh.gearhandle = s.gearhandle;
        fresh.stallfactor = s.stallfactor;
        fresh.enginetype = s.enginetype;
        fresh.latitudehi = s.latitudehi;
        fresh.latitudelo = s.latitudelo;
        fresh.longitudehi = s.longitudehi;
        fresh.longitudelo = s.longitudelo;
        fresh.altitude = s.altitude;
        fresh.heading = s.heading;
        fresh.onground = s.onground;
        fresh.out = s.out;
        return fresh;
    }
};

TEST_F(Landing, Stage1WaitsForTheDescentPoint) {
    p.plan.LandingStage = kWaitForDescent;
    At(50000, 914);  // DescentStart is about 42240 ft
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kWaitForDescent);
    EXPECT_EQ(p.flightState.out.flaps, 0);  // clean until a step's speed allows more
    EXPECT_NEAR(p.plan.DescentStart, 42240.6, 0.1);
    EXPECT_EQ(p.flightState.apaltitudepending, flightstate::kRequestClear);

    At(42000, 914);
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kInitialDescent);
    EXPECT_EQ(p.flightState.out.apaltitude, 0);
    EXPECT_EQ(p.flightState.apaltitudepending, flightstate::kRequestSet);
    EXPECT_EQ(p.forms.Form4.Label6.caption, "Initial descent");
}

TEST_F(Landing, Stage2FliesTheProfileWithGearAndArmedSpoilers) {
    p.plan.LandingStage = kInitialDescent;
    p.flightState.gearhandle = 0;
    // h = 614 m x 3.2808 - 800 = 1214.4 ft over one minute to go: on the profile.
    At(20254.09 + 12150.24, 614);
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kInitialDescent);
    EXPECT_NEAR(p.flightState.out.apvertspeed, -1214, 1);
    EXPECT_EQ(p.flightState.out.gearhandle, 16383);
    EXPECT_EQ(p.flightState.out.armspoilers, 1);
    EXPECT_EQ(p.flightState.out.spoilers, 0);  // out only while much too fast
}

TEST_F(Landing, Stage2LeavesTheGearAloneWhenItIsDown) {
    p.plan.LandingStage = kInitialDescent;
    At(20254.09 + 12150.24, 614);
    LandingTick(p);
    EXPECT_EQ(p.flightState.gearhandlepending, flightstate::kRequestClear);
}

TEST_F(Landing, Stage2HighGroundReducesTheHeightToLose) {
    p.plan.LandingStage = kInitialDescent;
    p.flightState.groundaltitude = 152;  // 498.7 ft above the runway
    At(20254.09 + 12150.24, 614);
    LandingTick(p);
    // h = 1214.4 - 498.7 = 715.7: q = -716, v = -1432 + 1215.
    EXPECT_NEAR(p.flightState.out.apvertspeed, -217, 2);
}

TEST_F(Landing, Stage2EndsNearItsAimPoint) {
    p.plan.LandingStage = kInitialDescent;
    // 6 seconds before the aim point, 122 ft above it: the commanded rate loses
    // that within 10 seconds.
    At(20254.09 + 1215, 281);
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kMidDescent);
    EXPECT_EQ(p.forms.Form4.Label6.caption, "Mid-stage descent");
}

TEST_F(Landing, Stage3EndsNearItsAimPointAndGivesTheCrashSettingBack) {
    p.plan.LandingStage = kMidDescent;
    At(7290 + 200, 57);  // 35.2 ft above FinalStart, 200 ft before the aim point
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kFinalDescent);
    EXPECT_EQ(p.forms.Form4.Label6.caption, "Final descent");
    EXPECT_EQ(p.flightState.out.crashing, 1);
    EXPECT_EQ(p.flightState.crashingpending, flightstate::kRequestSet);
}

TEST_F(Landing, WithoutAirspeedStages2And3KeepThePreviousCommand) {
    SetAirspeed(p.flightState, 0);
    for (std::int16_t stage : {kInitialDescent, kMidDescent}) {
        ClearRequests();
        p.flightState.out.apvertspeed = -777;
        p.plan.LandingStage = stage;
        At(20254.09 + 100, 281);
        LandingTick(p);
        EXPECT_EQ(p.plan.LandingStage, stage);
        EXPECT_EQ(p.flightState.out.apvertspeed, -777);
        EXPECT_EQ(p.flightState.apvertspeedpending, flightstate::kRequestClear);
        EXPECT_EQ(p.flightState.flapspending, flightstate::kRequestSet);
    }
}

TEST_F(Landing, Stage4FliesTheFinalSlope) {
    p.plan.LandingStage = kFinalDescent;
    At(3000, 5);  // 16.4 ft, 10.4 above the aim
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kFinalDescent);
    // q = -(10.4 / (3000 / 12150.24)) = -42, r = -243 at 2 %: v = -84 + 243 = 159.
    EXPECT_NEAR(p.flightState.out.apvertspeed, 159, 1);
}

// High over the threshold after an updraft the law would dive at the runway;
// the sink is held to 12 ft/min for each foot of height, never under the
// flare's 100 ft/min.
TEST_F(Landing, Stage4HoldsTheSinkToWhatTheHeightAllows) {
    struct Row {
        double feet;
        std::int32_t altitudeM;
        std::int32_t rate;
    } rows[] = {
        // 49.2 ft: q = -(43.2 / (1000 / 12150.24)) = -525, v = -807; held to -590.
        {1000, 15, -590},
        // 19.7 ft: q = -(13.7 / (400 / 12150.24)) = -415, v = -588; held to -236.
        {400, 6, -236},
        // 9.8 ft: v = -2 x 47 + 243 = 149, a climb, not held.
        {1000, 3, 149},
    };
    for (const Row& r : rows) {
        ClearRequests();
        p.plan.LandingStage = kFinalDescent;
        At(r.feet, r.altitudeM);
        LandingTick(p);
        EXPECT_NEAR(p.flightState.out.apvertspeed, r.rate, 1) << r.feet << " ft, " << r.altitudeM;
    }
}

TEST_F(Landing, Stage4Within300FeetFlaresAtAFixedRate) {
    p.plan.LandingStage = kFinalDescent;
    At(299, 5);
    LandingTick(p);
    EXPECT_EQ(p.flightState.out.throttle1, 0);  // idle while the speeds are not known
    EXPECT_EQ(p.flightState.out.apvertspeed, -100);
    // Floating past the aim point, or beside the runway past it: still the
    // fixed rate, never a computed climb at low height.
    for (double feet : {-301.0, -2000.0, -9000.0}) {
        ClearRequests();
        At(feet, 5);
        LandingTick(p);
        EXPECT_EQ(p.flightState.out.throttle1, 0) << feet;
        EXPECT_EQ(p.flightState.out.apvertspeed, -100) << feet;
    }
}

// With the speeds known the flare keeps the flare's speed with power until
// the last 8 ft; there the throttle eases back towards 1.08 times the landing
// stall speed and opens again only when a gust's trough takes the speed under
// that.
TEST_F(Landing, Stage4FlaresWithPowerThenEasesItOffOverTheLastFeet) {
    p.plan.Speeds.stallKt[kLandingFlapStep] = 90;  // the flare's speed 99 kt, the least 97.2 kt
    struct Row {
        std::int32_t altitudeM;  // 13.1 ft, then 6.6 ft above the runway
        double iasKt;
        int throttleChange;  // against the tick before: +1 opens, -1 eases back
    };
    const Row rows[] = {{4, 95, +1}, {4, 95, +1}, {2, 99, -1}, {2, 99, -1}, {2, 93, +1}};
    std::int32_t before = 8000;
    p.plan.LandingStage = kFinalDescent;
    for (const Row& r : rows) {
        ClearRequests();
        p.flightState.throttle1 = before;  // the law goes on from the lever as read
        SetAirspeed(p.flightState, r.iasKt);
        p.flightState.indicatedairspeed = static_cast<std::int32_t>(r.iasKt * 128);
        At(200, r.altitudeM);
        LandingTick(p);
        const std::int32_t throttle = p.flightState.out.throttle1;
        EXPECT_EQ(p.flightState.out.apvertspeed, -100) << r.altitudeM << " m, " << r.iasKt;
        if (r.throttleChange > 0)
            EXPECT_GT(throttle, before) << r.altitudeM << " m, " << r.iasKt << " kt";
        else
            EXPECT_LT(throttle, before) << r.altitudeM << " m, " << r.iasKt << " kt";
        before = throttle;
    }
}

TEST_F(Landing, Stage4AtTheThresholdItselfHoldsTheFixedRate) {
    p.plan.LandingStage = kFinalDescent;
    At(0, 5);
    LandingTick(p);
    EXPECT_EQ(p.flightState.out.apvertspeed, -100);
    EXPECT_EQ(p.flightState.out.throttle1, 0);
}

TEST_F(Landing, Stage4SkipsTicksWithoutAirspeed) {
    p.plan.LandingStage = kFinalDescent;
    SetAirspeed(p.flightState, 0);
    p.flightState.onground = 1;
    At(200, 2);
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kFinalDescent);
    EXPECT_EQ(p.flightState.flapspending, flightstate::kRequestClear);
    EXPECT_EQ(p.flightState.throttle1pending, flightstate::kRequestClear);
    EXPECT_EQ(p.flightState.apvertspeedpending, flightstate::kRequestClear);
}

TEST_F(Landing, TouchdownStopsTheSteeringAndStartsBraking) {
    p.plan.LandingStage = kFinalDescent;
    p.flightState.onground = 1;
    p.forms.Form4.Label7.caption = " 0 nm";
    At(-1000, 0);
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kTouchdown);
    EXPECT_FALSE(p.plan.GuidanceOn);
    EXPECT_EQ(p.forms.Form4.Label6.caption, "Touchdown");
    EXPECT_EQ(p.forms.Form4.Label7.caption, "");
    EXPECT_EQ(p.flightState.out.apvertspeed, -150);

    p.flightState.enginetype = 3;
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kTouchdown);
    EXPECT_EQ(p.flightState.out.leftbrake, 8000);
    EXPECT_EQ(p.flightState.out.rightbrake, 8000);
    EXPECT_EQ(p.flightState.out.spoilers, 16383);
    EXPECT_EQ(p.flightState.out.brakeindicator, -14136);
    EXPECT_EQ(p.flightState.out.airbrake, -1769472000);
    EXPECT_EQ(p.flightState.out.elevator, 0);   // the nose comes down
    EXPECT_EQ(p.flightState.out.apalthold, 0);  // the pitch is the elevator's on the wheels
    EXPECT_EQ(p.flightState.out.throttle1, 2);  // 3 / 2 = 1.5, to even

    p.flightState.enginetype = 1;
    LandingTick(p);
    EXPECT_EQ(p.flightState.out.throttle1, 0);  // 0.5, to even

    p.flightState.enginetype = 3;
    SetAirspeed(p.flightState, 14.9);
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kRollout);
    EXPECT_EQ(p.flightState.out.throttle1, 0);
}

// Lifted off again after the touchdown: the aircraft flies the flare's speed
// and sink, spoilers in; on the wheels again the altitude hold is off.
TEST_F(Landing, ALiftOffAfterTheTouchdownIsFlownBackDown) {
    p.plan.LandingStage = kTouchdown;
    p.plan.Speeds.stallKt[kLandingFlapStep] = 90;  // the flare's speed: 99 kt
    p.flightState.apalthold = 0;
    p.flightState.onground = 0;
    SetAirspeed(p.flightState, 95);
    At(-1500, 2);
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kTouchdown);
    EXPECT_EQ(p.flightState.out.apalthold, 1);
    EXPECT_EQ(p.flightState.out.apvertspeed, -150);
    EXPECT_EQ(p.flightState.out.spoilers, 0);
    EXPECT_GT(p.flightState.out.throttle1, 0);  // too slow for the flare: power

    ClearRequests();
    p.flightState.apalthold = 1;
    p.flightState.onground = 1;
    LandingTick(p);
    EXPECT_EQ(p.flightState.out.apalthold, 0);
    EXPECT_EQ(p.flightState.out.spoilers, 16383);
    EXPECT_EQ(p.flightState.out.throttle1, 0);
}

struct Rollout : Landing {
    Rollout() { p.plan.LandingStage = kRollout; }
    // Ticks every 125 ms (times that single precision holds exactly) for the
    // given seconds at the given speed.
    void Roll(double knots, double seconds) {
        SetAirspeed(p.flightState, knots);
        const double end = host.now + seconds;
        while (host.now < end && p.plan.LandingStage == kRollout) {
            host.now += 0.125;
            LandingTick(p);
        }
    }
};

TEST_F(Rollout, TwoKnotsForThreeAndAHalfSecondsEndsIt) {
    Roll(5, 0.125);
    const double stopped = host.now;
    Roll(2, 3.0);
    EXPECT_EQ(p.plan.LandingStage, kRollout);  // 3 seconds are not more than 3
    Roll(2, 0.5);
    EXPECT_EQ(p.plan.LandingStage, kResettingControls);
    EXPECT_GT(host.now - stopped, 3.0);
    EXPECT_LT(host.now - stopped, 3.5);
    EXPECT_EQ(p.forms.Form4.Label6.caption, "Resetting controls");
    EXPECT_EQ(p.flightState.out.parkingbrake, -14136);
    EXPECT_EQ(p.flightState.parkingbrakepending, flightstate::kRequestSet);
    EXPECT_EQ(p.flightState.out.leftbrake, 0);
    EXPECT_EQ(p.flightState.apheadingpending, flightstate::kRequestSet);
    EXPECT_EQ(p.flightState.apaltitudepending, flightstate::kRequestSet);
}

TEST_F(Rollout, RollingAgainStartsTheThreeSecondsAgain) {
    Roll(5, 0.125);
    Roll(2, 2.0);
    Roll(4, 0.125);
    Roll(2, 2.875);
    EXPECT_EQ(p.plan.LandingStage, kRollout);
    Roll(2, 0.5);
    EXPECT_EQ(p.plan.LandingStage, kResettingControls);
}

TEST_F(Rollout, StoppingDuringTheBrakingStillWaitsThreeSeconds) {
    p.plan.LandingStage = kTouchdown;
    p.plan.StopTime = 0;  // from long ago
    SetAirspeed(p.flightState, 2);
    LandingTick(p);
    ASSERT_EQ(p.plan.LandingStage, kRollout);
    Roll(2, 2.875);
    EXPECT_EQ(p.plan.LandingStage, kRollout);
    Roll(2, 0.375);
    EXPECT_EQ(p.plan.LandingStage, kResettingControls);
}

struct HandBack : Landing {
    HandBack() { p.plan.LandingStage = kResettingControls; }
};

TEST_F(HandBack, Stage7WaitsWhileAnyAutopilotValueIsUnsent) {
    for (std::int16_t flightstate::FlightState::*pending :
         {&flightstate::FlightState::apheadingpending, &flightstate::FlightState::apaltitudepending,
          &flightstate::FlightState::apvertspeedpending}) {
        ClearRequests();
        p.plan.LandingStage = kResettingControls;
        p.flightState.*pending = flightstate::kRequestSet;
        LandingTick(p);
        EXPECT_EQ(p.plan.LandingStage, kResettingControls);
        EXPECT_EQ(p.flightState.apheadingholdpending, flightstate::kRequestClear);
    }
    ClearRequests();
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kAutopilotOff);
    EXPECT_EQ(p.flightState.out.apheadinghold, 0);
    EXPECT_EQ(p.flightState.apheadingholdpending, flightstate::kRequestSet);
    EXPECT_EQ(p.flightState.apaltholdpending, flightstate::kRequestSet);
}

TEST_F(HandBack, Stage8WaitsForTheHoldSwitchesButTidiesUpEveryTick) {
    p.plan.LandingStage = kAutopilotOff;
    p.flightState.apaltholdpending = flightstate::kRequestSet;
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kAutopilotOff);
    EXPECT_EQ(p.flightState.apmasterpending, flightstate::kRequestClear);
    EXPECT_FALSE(p.forms.Form1.menu.mnuFlythereOff.visible);
    EXPECT_FALSE(p.forms.Form1.menu.mnuFlyHeight.visible);
    EXPECT_EQ(p.flightState.out.crashing, 1);
    EXPECT_EQ(p.forms.Form4.height, 255);
    EXPECT_TRUE(p.forms.Form4.visible);

    p.flightState.apaltholdpending = flightstate::kRequestClear;
    LandingTick(p);
    EXPECT_EQ(p.plan.LandingStage, kNotLanding);
    EXPECT_FALSE(p.plan.GuidanceOn);
    EXPECT_EQ(p.flightState.out.apmaster, 0);
    EXPECT_EQ(p.flightState.apmasterpending, flightstate::kRequestSet);
    EXPECT_EQ(p.flightState.out.autocoordinator, 1);
}

TEST_F(HandBack, Stage8HidesTheStatusWindowWhenTheReadoutsAreOff) {
    p.plan.LandingStage = kAutopilotOff;
    p.map.ReadoutsShown = false;
    LandingTick(p);
    EXPECT_FALSE(p.forms.Form4.visible);
}

TEST_F(HandBack, ValuesThenHoldSwitchesThenMasterInThreeExchanges) {
    p.plan.LandingStage = kRollout;
    p.plan.StopTime = static_cast<float>(host.now - 10);
    SetAirspeed(p.flightState, 0);
    link.Put(at::kTrueAirspeed, std::int32_t{0});
    int ticks = 0;
    do {
        LandingTick(p);
        Exchange();
        ++ticks;
    } while (p.plan.LandingStage != kNotLanding && ticks < 10);
    EXPECT_EQ(ticks, 3);
    ASSERT_EQ(link.WritesAt(at::kApHeading).size(), 1u);
    ASSERT_EQ(link.WritesAt(at::kApHeadingHold).size(), 1u);
    ASSERT_EQ(link.WritesAt(at::kApMaster).size(), 1u);
    EXPECT_EQ(link.WritesAt(at::kApHeading)[0].batch, 1);
    EXPECT_EQ(link.WritesAt(at::kApHeadingHold)[0].batch, 2);
    EXPECT_EQ(link.WritesAt(at::kApAltHold)[0].batch, 2);
    EXPECT_EQ(link.WritesAt(at::kApMaster)[0].batch, 3);
    EXPECT_EQ(link.WritesAt(at::kApMaster)[0].value, 0);
}

TEST_F(Landing, StagesRunOneWayFromWaitingToHandBack) {
    // One tick per stage with the aircraft where each stage ends, the landing
    // flaps out for the gate.
    p.plan.Speeds.flapStep = kLandingFlapStep;
    std::vector<std::int16_t> seen{p.plan.LandingStage = kWaitForDescent};
    At(30000, 914);
    LandingTick(p);
    seen.push_back(p.plan.LandingStage);
    At(20254.09 + 1215, 281);
    LandingTick(p);
    seen.push_back(p.plan.LandingStage);
    At(7290 + 200, 57);
    LandingTick(p);
    seen.push_back(p.plan.LandingStage);
    p.flightState.onground = 1;
    At(-500, 0);
    LandingTick(p);
    seen.push_back(p.plan.LandingStage);
    SetAirspeed(p.flightState, 10);
    LandingTick(p);
    seen.push_back(p.plan.LandingStage);
    SetAirspeed(p.flightState, 0);
    host.now += 3.5;
    LandingTick(p);
    seen.push_back(p.plan.LandingStage);
    ClearRequests();
    LandingTick(p);
    seen.push_back(p.plan.LandingStage);
    ClearRequests();
    LandingTick(p);
    seen.push_back(p.plan.LandingStage);
    EXPECT_EQ(seen, (std::vector<std::int16_t>{1, 2, 3, 4, 5, 6, 7, 8, 0}));
}

// The 500 ft gate: beside the centre line by more than half the width, the approach goes around and
// is flown again; after two go-arounds the controls are handed back in level flight.
TEST_F(Landing, UnstableAtTheGateGoesAroundTwiceThenHandsBack) {
    p.plan.RunwayWidthFt = 150;
    p.plan.RunwayLengthFt = 10000;
    p.plan.AimPointFt = 1000;
    p.plan.ApproachStartAltitudeFt = 4000;
    auto besideAtTheGate = [&] {
        p.plan.GateChecked = false;
        p.plan.LandingStage = kMidDescent;
        // 1.9 nm before the threshold, 480 ft up, 40 m right of the centre line.
        const LatLon pos = Destination(-40 / 111130.555, 0, 270, 11500 / 3.2808);
        PlaceAircraft(p.flightState, pos.lat, pos.lon);
        p.flightState.altitude = 146;
        ClearRequests();
        LandingTick(p);
    };
    for (int n = 1; n <= kMaxGoArounds; ++n) {
        besideAtTheGate();
        EXPECT_EQ(p.plan.LandingStage, kGoAround) << n;
        EXPECT_EQ(p.plan.GoArounds, n);
        EXPECT_EQ(p.forms.Form4.Label6.caption, "Go-around: beside the centre line");
        EXPECT_EQ(p.flightState.out.throttle1, 16383);
        EXPECT_EQ(p.flightState.out.apaltitude, 4000);
        EXPECT_GT(p.flightState.out.apvertspeed, 0);
        EXPECT_EQ(p.flightState.out.crashing, 0);
        // Climbing: still going around; up at the approach's height: flown again.
        p.flightState.altitude = 600;
        LandingTick(p);
        EXPECT_EQ(p.plan.LandingStage, kGoAround);
        p.flightState.altitude = 1200;
        LandingTick(p);
        EXPECT_EQ(p.plan.LandingStage, kNotLanding);
        EXPECT_EQ(p.plan.RouteStage, 1);
    }
    besideAtTheGate();
    EXPECT_EQ(p.plan.LandingStage, kNotLanding);
    EXPECT_EQ(p.plan.RouteStage, 0);
    EXPECT_FALSE(p.plan.GuidanceOn);
    EXPECT_EQ(p.forms.Form4.Label6.caption, "Landing abandoned");
    EXPECT_EQ(p.flightState.out.apvertspeed, 0);   // level flight at the present height
    EXPECT_EQ(p.flightState.out.apaltitude, 479);  // 146 m
    EXPECT_FALSE(p.forms.Form1.menu.mnuFlythereOff.visible);

    // On the centre line and on the profile, landing flaps out, the gate lets
    // the approach go on.
    p.plan.Speeds.flapStep = kLandingFlapStep;
    p.plan.GoArounds = 0;
    p.plan.GateChecked = false;
    p.plan.GuidanceOn = true;
    p.plan.LandingStage = kMidDescent;
    At(11500 - 1000, 146);
    LandingTick(p);
    EXPECT_NE(p.plan.LandingStage, kGoAround);
    EXPECT_TRUE(p.plan.GateChecked);
}

}  // namespace
}  // namespace corvane::autopilot::test
