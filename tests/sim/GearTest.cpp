// SPDX-License-Identifier: MIT
// The gear on its struts for both of the stand-in's aircraft (standing,
// touchdowns at several sink rates and attitudes), the light single's own
// ways (fixed gear, no spoilers, flaps in detents, its speeds), and the
// touchdown and lift-off decisions both simulators share.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "SimTestSupport.h"
#include "sim/model/Simulator.h"
#include "sim/physics/Aircraft.h"
#include "sim/physics/GroundContactDetector.h"

namespace corvane::sim {
namespace {

using test::Command;
using test::RunTicks;

constexpr double kFeetPerMetre = 1.0 / 0.3048;

SimulatorOptions OptionsFor(const std::string& id) {
    SimulatorOptions options = test::FixedVariation(0.0);
    options.aircraft = *StandInAircraft(id);
    options.crashDetection = false;
    return options;
}

// What the trace shows of the first touchdown.
struct TouchdownSeen {
    double sinkFpm = 0.0;
    double pitchDeg = 0.0;
    double peakLoadG = 0.0;  // the first two seconds on the ground
    bool mainFirst = false;
    bool noseFirst = false;
    int liftoffs = 0;
};

class TouchdownWatch final : public TraceSink {
  public:
    void OnStep(const TraceRecord& r) override {
        if (!touchdownS_ && (r.mainWheelsOnGround || r.noseWheelOnGround)) {
            touchdownS_ = r.timeS;
            seen.mainFirst = r.mainWheelsOnGround && !r.noseWheelOnGround;
            seen.noseFirst = r.noseWheelOnGround && !r.mainWheelsOnGround;
            seen.pitchDeg = r.pitchDeg;
        }
        if (touchdownS_ && r.timeS - *touchdownS_ <= 2.0)
            seen.peakLoadG = std::max(seen.peakLoadG, r.normalLoadG);
    }
    void OnEvent(const SimEvent& e) override {
        if (e.kind == SimEventKind::Touchdown && seen.sinkFpm == 0.0)
            seen.sinkFpm = e.sinkRateFpm;
        if (e.kind == SimEventKind::Liftoff && touchdownS_)
            ++seen.liftoffs;
    }
    TouchdownSeen seen;

  private:
    std::optional<double> touchdownS_;
};

// Hands off on a straight path down to the runway, landing flaps out: the
// path's angle sets the sink, the speed the angle of attack and so the pitch.
TouchdownSeen LandHandsOff(const std::string& aircraft, double iasKt, double pathDeg) {
    Simulator sim(OptionsFor(aircraft));
    TouchdownWatch watch;
    sim.SetTraceSink(&watch);
    FinalStart final;
    final.runway = {0.0, 0.0, 0.05, 0.0};
    final.distanceNm = 0.15;
    final.iasKt = iasKt;
    final.flaps = 1.0;
    final.glidePathDeg = pathDeg;
    sim.StartOnFinal(final);
    Command::Flaps(sim, 16383);
    RunTicks(sim, 30.0, [](Simulator&) {});
    return watch.seen;
}

class BothAircraft : public ::testing::TestWithParam<const char*> {};

TEST_P(BothAircraft, StandsLevelOnItsStrutsAtItsGearHeight) {
    Simulator sim(OptionsFor(GetParam()));
    sim.StartOnGround(0.0, 0.0, 90.0);
    RunTicks(sim, 5.0, [](Simulator&) {});
    const AircraftState& s = sim.State();
    EXPECT_NEAR(s.altitudeM - s.groundElevationM, sim.GearHeightM(), 0.005);
    EXPECT_NEAR(s.pitchDeg, 0.0, 0.05);
    EXPECT_NEAR(s.normalLoadG, 1.0, 0.01);
    EXPECT_TRUE(s.onGround && s.mainWheelsOnGround && s.noseWheelOnGround);
    EXPECT_NEAR(s.groundSpeedMps, 0.0, 1e-6);
    EXPECT_TRUE(sim.Events().size() == 1u) << "no lift-off or touchdown standing still";
}

// Landing gear is made to take a 10 ft/s (600 ft/min) touchdown at about 1.6
// times the weight on the main wheels, some 2.6 g with the lift; a gentle one
// is far below the 1.6 g limit of a good landing, and the load grows with the
// sink.
TEST_P(BothAircraft, TouchdownLoadGrowsWithTheSink) {
    const double vs = StallSpeedKias(*StandInAircraft(GetParam()), 1.0);
    std::vector<TouchdownSeen> seen;
    for (double path : {0.8, 1.8, 3.0, 5.0})
        seen.push_back(LandHandsOff(GetParam(), 1.4 * vs, path));
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GT(seen[i].sinkFpm, seen[i - 1].sinkFpm + 50.0);
        EXPECT_GT(seen[i].peakLoadG, seen[i - 1].peakLoadG);
    }
    for (const TouchdownSeen& t : seen) {
        SCOPED_TRACE(t.sinkFpm);
        if (t.sinkFpm < 200.0) {
            EXPECT_LT(t.peakLoadG, 1.6);
        }
        if (t.sinkFpm > 550.0 && t.sinkFpm < 700.0) {
            EXPECT_GT(t.peakLoadG, 2.0);
            EXPECT_LT(t.peakLoadG, 3.2);
        }
    }
    EXPECT_GT(seen.back().sinkFpm, 550.0) << "the steepest path reaches a hard touchdown";
}

// Nose up (slow, a shallow path) the main wheels meet the ground and the nose
// wheel follows; nose down (fast, steep) the nose wheel comes first.
TEST_P(BothAircraft, WhichWheelsTouchFirstFollowsThePitch) {
    const double vs = StallSpeedKias(*StandInAircraft(GetParam()), 1.0);
    const TouchdownSeen slow = LandHandsOff(GetParam(), 1.2 * vs, 1.5);
    EXPECT_GT(slow.pitchDeg, 2.0);
    EXPECT_TRUE(slow.mainFirst);
    const TouchdownSeen fast = LandHandsOff(GetParam(), 1.9 * vs, 4.0);
    EXPECT_LT(fast.pitchDeg, -1.0);
    EXPECT_TRUE(fast.noseFirst);
}

// Trimmed level at 1.2 times the handbook's stall speed, in both
// configurations, the wing flies at (1/1.2)^2 of its stalling angle from the
// zero-lift line: the stall factor the variable space carries shows it (a
// little more margin: the engine's thrust carries some of the weight).
TEST_P(BothAircraft, LevelAtOnePointTwoStallSpeedsUsesItsShareOfTheStallAngle) {
    const AircraftConfig config = *StandInAircraft(GetParam());
    const AircraftData data = DataOf(config);
    for (const double flaps : {0.0, 1.0}) {
        SCOPED_TRACE(flaps);
        const double vs = flaps > 0.5 ? data.stallLandingKias.value : data.stallCleanKias.value;
        Simulator sim(OptionsFor(GetParam()));
        AirStart air;
        air.altitudeFt = 0.0;
        air.iasKt = 1.2 * vs;
        air.flaps = flaps;
        air.gearDown = true;
        sim.StartInAir(air);
        const double expected = 32767.0 * (1.0 - 1.0 / (1.2 * 1.2));
        EXPECT_GT(sim.State().stallFactor, expected);
        EXPECT_LT(sim.State().stallFactor, expected * 1.08);
    }
}

INSTANTIATE_TEST_SUITE_P(Stand, BothAircraft, ::testing::Values("twin", "single"));

TEST(LightSingle, KeepsItsGearHasNoSpoilersAndSetsItsFlapsToDetents) {
    Simulator sim(OptionsFor("single"));
    AirStart air;
    air.altitudeFt = 3000.0;
    air.iasKt = 90.0;
    sim.StartInAir(air);
    EXPECT_DOUBLE_EQ(sim.State().gear, 1.0) << "a fixed gear is always down";
    Command::Gear(sim, 0);
    Command::Spoilers(sim, 16383);
    Command::Flaps(sim, 8192);  // half the lever: the 20-degree detent
    RunTicks(sim, 15.0, [](Simulator&) {});
    EXPECT_DOUBLE_EQ(sim.State().gear, 1.0);
    EXPECT_DOUBLE_EQ(sim.State().spoilers, 0.0);
    EXPECT_NEAR(sim.State().flaps, 2.0 / 3.0, 1e-9);
    Command::Flaps(sim, 3000);  // nearer 10 degrees than up
    RunTicks(sim, 10.0, [](Simulator&) {});
    EXPECT_NEAR(sim.State().flaps, 1.0 / 3.0, 1e-9);
    EXPECT_EQ(test::Reading::EngineType(sim), 0) << "piston";
}

TEST(LightSingle, CruisesAsASingleOfItsClass) {
    Simulator sim(OptionsFor("single"));
    AirStart air;
    air.altitudeFt = 2000.0;
    air.iasKt = 100.0;
    sim.StartInAir(air);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, 2000);
    Command::ApVerticalSpeed(sim, 0);
    Command::Throttles(sim, 16383);
    RunTicks(sim, 300.0, [](Simulator&) {});
    EXPECT_GT(sim.State().tasMps * 1.943844, 115.0);
    EXPECT_LT(sim.State().tasMps * 1.943844, 130.0);
    EXPECT_NEAR(sim.State().altitudeM * kFeetPerMetre, 2000.0, 50.0);
}

// The shared decisions, step by step: a flicker shorter than a quarter second
// is no lift-off, a real one is, and the next contact is a touchdown with the
// larger sink of its step and the one before, judged for a crash.
TEST(GroundContactDetectorTest, SmoothsTheFlickerAndJudgesEachTouchdown) {
    GroundContactDetector d({1000.0, 8.0, 0.25});
    d.Reset(false, 0.0);
    struct Step {
        double t;
        bool onGround;
        double sinkFpm;
        double bankDeg;
        bool touchdown;
        bool liftoff;
        CrashReason crash;
    };
    const Step steps[] = {
        {0.02, false, 300, 0, false, false, CrashReason::None},
        {0.04, true, 250, 0, true, false, CrashReason::None},  // sink 300, the step before
        {0.06, false, -20, 0, false, false, CrashReason::None},
        {0.24, false, -20, 0, false, false, CrashReason::None},  // 0.20 s: still down
        {0.26, true, 0, 0, false, false, CrashReason::None},
        {0.40, false, -50, 0, false, false, CrashReason::None},
        {0.66, false, -50, 0, false, true, CrashReason::None},  // 0.26 s without a wheel
        {0.90, false, 1200, 0, false, false, CrashReason::None},
        {0.92, true, 400, 0, true, false, CrashReason::HardTouchdown},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.t);
        GroundContactDetector::Sense sense;
        sense.timeS = s.t;
        sense.onGround = s.onGround;
        sense.sinkFpm = s.sinkFpm;
        sense.bankDeg = s.bankDeg;
        sense.crashDetection = true;
        const GroundContactDetector::Events e = d.Update(sense);
        EXPECT_EQ(e.touchdown, s.touchdown);
        EXPECT_EQ(e.liftoff, s.liftoff);
        EXPECT_EQ(e.crashReason, s.crash);
        if (s.t == 0.04) {
            EXPECT_DOUBLE_EQ(e.sinkFpm, 300.0);
        }
    }
}

TEST(GroundContactDetectorTest, CrashReasonsAndTheStop) {
    struct Case {
        bool gearDown;
        double sinkFpm;
        double bankDeg;
        bool detection;
        CrashReason reason;
    };
    for (const Case& c : {Case{false, 100, 0, true, CrashReason::GearUp},
                          Case{true, 1001, 0, true, CrashReason::HardTouchdown},
                          Case{true, 100, -8.5, true, CrashReason::WingStrike},
                          Case{true, 1000, 8.0, true, CrashReason::None},
                          Case{false, 2000, 20, false, CrashReason::None}}) {
        GroundContactDetector d({1000.0, 8.0, 0.25});
        d.Reset(false, 0.0);
        GroundContactDetector::Sense s;
        s.timeS = 1.0;
        s.onGround = true;
        s.gearDownAndLocked = c.gearDown;
        s.sinkFpm = c.sinkFpm;
        s.bankDeg = c.bankDeg;
        s.crashDetection = c.detection;
        s.groundSpeedMps = 30.0;
        const GroundContactDetector::Events e = d.Update(s);
        EXPECT_TRUE(e.touchdown);
        EXPECT_EQ(e.crashReason, c.reason);
        EXPECT_EQ(e.crash, c.reason != CrashReason::None);
        s.timeS = 2.0;
        s.groundSpeedMps = 0.1;
        EXPECT_TRUE(d.Update(s).stopped) << "rolled, then slower than 0.25 m/s";
        s.timeS = 3.0;
        EXPECT_FALSE(d.Update(s).stopped) << "once";
    }
}

}  // namespace
}  // namespace corvane::sim
