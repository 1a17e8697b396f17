// SPDX-License-Identifier: MIT
// The simulator's autopilot flown through the variable space, as the program
// drives it: altitude capture, vertical speed, heading hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "SimTestSupport.h"
#include "sim/model/Simulator.h"
#include "sim/physics/Aircraft.h"
#include "sim/physics/FlightModel.h"
#include "sim/physics/Units.h"

namespace corvane::sim {
namespace {

using test::Command;
using test::Reading;
using test::RunTicks;
using test::StallMarginThrottle;

// Trimmed cruise at 5000 ft, autopilot holding altitude and heading.
void StartCruise(Simulator& sim, double headingTrueDeg = 90.0) {
    AirStart air;
    air.latitudeDeg = 40.0;
    air.longitudeDeg = -100.0;
    air.altitudeFt = 5000;
    air.headingTrueDeg = headingTrueDeg;
    air.iasKt = 200;
    sim.StartInAir(air);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, 5000);
    Command::ApVerticalSpeed(sim, 0);
    Command::ApHeading(sim, headingTrueDeg - sim.State().magneticVariationDeg);
}

auto PowerLaw = [](Simulator& s) { Command::Throttles(s, StallMarginThrottle(s, 0.75, 7168)); };

struct CaptureCase {
    const char* name;
    double targetFt;
    int verticalSpeedFpm;
};

class AltitudeCapture : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(AltitudeCapture, CapturesWithin50FeetAndHolds) {
    const CaptureCase& c = GetParam();
    Simulator sim(test::FixedVariation(0.0));
    StartCruise(sim);
    Command::ApAltitudeFt(sim, c.targetFt);
    Command::ApVerticalSpeed(sim, c.verticalSpeedFpm);
    const double minutes = std::abs(c.targetFt - 5000) / std::abs(c.verticalSpeedFpm);
    RunTicks(sim, minutes * 60 + 60, PowerLaw);
    EXPECT_EQ(sim.Model().AutopilotMode(), Autopilot::VerticalMode::AltitudeHold);
    double worst = 0.0;
    RunTicks(sim, 180, [&](Simulator& s) {
        PowerLaw(s);
        worst = std::max(worst, std::abs(s.State().altitudeM * 3.28084 - c.targetFt));
    });
    EXPECT_LT(worst, 50.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, AltitudeCapture,
                         ::testing::Values(CaptureCase{"Climb", 7000, 1500},
                                           CaptureCase{"SlowClimb", 5400, 300},
                                           CaptureCase{"Descent", 3000, -1000},
                                           CaptureCase{"SteepDescent", 2000, -2500}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AltitudeHold, NoCaptureWhenTheRateLeadsAway) {
    Simulator sim(test::FixedVariation(0.0));
    StartCruise(sim);
    Command::ApAltitudeFt(sim, 3000);  // below, but the rate climbs
    Command::ApVerticalSpeed(sim, 500);
    RunTicks(sim, 120, PowerLaw);
    EXPECT_GT(sim.State().altitudeM * 3.28084, 5800);
    EXPECT_EQ(sim.Model().AutopilotMode(), Autopilot::VerticalMode::VerticalSpeed);
}

TEST(AltitudeHold, HeldUntilADifferentVerticalSpeedIsWritten) {
    Simulator sim(test::FixedVariation(0.0));
    StartCruise(sim);
    Command::ApAltitudeFt(sim, 6000);
    Command::ApVerticalSpeed(sim, 1000);
    // The program keeps writing the same values every tick: still captured.
    RunTicks(sim, 150, [](Simulator& s) {
        PowerLaw(s);
        Command::ApAltitudeFt(s, 6000);
        Command::ApVerticalSpeed(s, 1000);
    });
    EXPECT_NEAR(sim.State().altitudeM * 3.28084, 6000, 50);
    // A new rate leaves the level-off and is flown, sign included.
    Command::ApVerticalSpeed(sim, 800);
    RunTicks(sim, 60, PowerLaw);
    EXPECT_GT(sim.State().altitudeM * 3.28084, 6500);
}

struct RateCase {
    const char* name;
    int verticalSpeedFpm;
};

class VerticalSpeedHold : public ::testing::TestWithParam<RateCase> {};

TEST_P(VerticalSpeedHold, TracksTheCommandedRateWithin100Fpm) {
    Simulator sim(test::FixedVariation(0.0));
    StartCruise(sim);
    const int rate = GetParam().verticalSpeedFpm;
    Command::ApAltitudeFt(sim, rate > 0 ? 30000 : -1000);
    Command::ApVerticalSpeed(sim, rate);
    RunTicks(sim, 20, PowerLaw);
    double worst = 0.0;
    RunTicks(sim, 60, [&](Simulator& s) {
        PowerLaw(s);
        worst = std::max(worst, std::abs(Reading::VerticalSpeedFpm(s) - rate));
    });
    EXPECT_LT(worst, 100.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, VerticalSpeedHold,
                         ::testing::Values(RateCase{"Climb1200", 1200}, RateCase{"Climb300", 300},
                                           RateCase{"Descent800", -800},
                                           RateCase{"Descent2500", -2500}),
                         [](const auto& info) { return std::string(info.param.name); });

// The vertical speed as the program flies its final approach: a new rate at
// every 150 ms tick (so the rate never settles into the altitude integral),
// in a steady downdraft, at each aircraft's reference speed with landing
// flaps. The rate is held over the ground, as the vertical speed indicator
// reads it: the downdraft is flown out, not all carried to the ground.
struct DraftCase {
    const char* aircraft;
    double downdraftFpm;
    int askedFpm;
};

class VerticalSpeedInADraft : public ::testing::TestWithParam<DraftCase> {};

TEST_P(VerticalSpeedInADraft, FliesTheRateOverTheGround) {
    const DraftCase& c = GetParam();
    const AircraftConfig config = *StandInAircraft(c.aircraft);
    const double refMps = DataOf(config).ReferenceKias() * units::kMpsPerKnot;
    FlightModel model(config);
    FlightModel::Environment env;
    env.windUpMps = -c.downdraftFpm * units::kMpsPerFpm;
    ControlInputs in;
    in.flapsLever = 1.0;
    const double lever = model.PlaceInAir(40.0, -100.0, 600.0, 90.0, refMps,
                                          c.askedFpm * units::kMpsPerFpm, 1.0, 1.0, 0.0, env);
    in.throttle.fill(lever);
    in.autopilot.master = true;
    in.autopilot.altitudeHold = true;
    in.autopilot.altitudeTargetM = -1000.0;  // below: the rate never captures
    double sumFpm = 0.0;
    double lowestFpm = 1e9;
    double highestFpm = -1e9;
    int samples = 0;
    for (int tick = 0; tick < 200; ++tick) {  // 30 s
        in.autopilot.verticalSpeedFpm = static_cast<std::int16_t>(c.askedFpm - tick % 2);
        for (int step = 0; step < 15; ++step) {  // 150 ms in 10 ms steps
            model.Step(in, env, 0.01);
            ASSERT_FALSE(model.State().onGround);
        }
        if (tick >= 100) {  // the last 15 s
            const double fpm = model.State().velocityUpMps * units::kFpmPerMps;
            sumFpm += fpm;
            lowestFpm = std::min(lowestFpm, fpm);
            highestFpm = std::max(highestFpm, fpm);
            ++samples;
        }
    }
    const double missedFpm = c.askedFpm - sumFpm / samples;
    // Without the ground reference the whole downdraft is missed.
    EXPECT_LT(std::abs(missedFpm), 0.7 * std::abs(c.downdraftFpm) + 15.0);
    EXPECT_GT(c.downdraftFpm < 0 ? -missedFpm : missedFpm, -15.0)
        << "never flown out past the rate";
    EXPECT_LT(highestFpm - lowestFpm, 20.0) << "the rate settles; it does not swing";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VerticalSpeedInADraft,
    ::testing::Values(DraftCase{"single", 0.0, -300}, DraftCase{"single", 300.0, -300},
                      DraftCase{"single", 400.0, -150}, DraftCase{"twin", 0.0, -600},
                      DraftCase{"twin", 400.0, -600}, DraftCase{"twin", -300.0, -300}),
    [](const auto& info) {
        const DraftCase& c = info.param;
        return std::string(c.aircraft) + "_draft" + std::to_string(int(std::abs(c.downdraftFpm))) +
               (c.downdraftFpm < 0 ? "up" : "down") + "_asked" + std::to_string(-c.askedFpm);
    });

struct TurnCase {
    const char* name;
    double magVarDeg;
    double startTrueDeg;
    double targetMagDeg;  // as the program writes it (may be unwrapped)
    int expectedSign;     // +1 right, -1 left
};

class HeadingHold : public ::testing::TestWithParam<TurnCase> {};

TEST_P(HeadingHold, TurnsTheShortestWayAndSettlesOnTheMagneticHeading) {
    const TurnCase& c = GetParam();
    Simulator sim(test::FixedVariation(c.magVarDeg));
    StartCruise(sim, c.startTrueDeg);
    EXPECT_NEAR(Reading::MagneticVariationDeg(sim), c.magVarDeg, 0.01);
    Command::ApHeading(sim, c.targetMagDeg);
    double maxBank = 0.0;
    double firstBank = 0.0;
    RunTicks(sim, 150, [&](Simulator& s) {
        PowerLaw(s);
        const double bank = s.State().bankDeg;
        maxBank = std::max(maxBank, std::abs(bank));
        if (firstBank == 0.0 && std::abs(bank) > 2.0) {
            firstBank = bank;
        }
    });
    EXPECT_LE(maxBank, 25.0 + 1e-9);
    EXPECT_GT(maxBank, 15.0);
    EXPECT_EQ(firstBank > 0 ? 1 : -1, c.expectedSign);
    const double magnetic = Reading::TrueHeadingDeg(sim) - Reading::MagneticVariationDeg(sim);
    const double error = std::remainder(magnetic - c.targetMagDeg, 360.0);
    EXPECT_LT(std::abs(error), 2.0);
    EXPECT_LT(std::abs(sim.State().bankDeg), 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeadingHold,
    ::testing::Values(TurnCase{"EastVariationRight", 12.0, 10.0, 120.0, +1},
                      TurnCase{"EastVariationLeftAcrossNorth", 12.0, 40.0, 300.0, -1},
                      TurnCase{"WestVariationRightAcrossNorth", -15.0, 300.0, 362.0, +1},
                      TurnCase{"WestVariationLeft", -15.0, 200.0, 40.0, -1},
                      TurnCase{"WestVariationBelowZero", -15.0, 90.0, -3.0, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeadingHold, StandardRateLimitsTheBankAtLowSpeed) {
    Simulator sim(test::FixedVariation(0.0));
    AirStart air;
    air.altitudeFt = 3000;
    air.iasKt = 120;
    air.flaps = 0.5;
    air.gearDown = true;
    sim.StartInAir(air);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, 3000);
    Command::ApHeading(sim, 180);
    double maxBank = 0.0;
    double maxRate = 0.0;
    double last = sim.State().headingTrueDeg;
    // Throttle left at the trimmed setting: the speed stays near 125 kt true.
    RunTicks(sim, 30, [&](Simulator& s) {
        maxBank = std::max(maxBank, std::abs(s.State().bankDeg));
        maxRate = std::max(maxRate,
                           std::abs(std::remainder(s.State().headingTrueDeg - last, 360.0)) / 0.15);
        last = s.State().headingTrueDeg;
    });
    EXPECT_LT(maxBank, 20.0);  // standard rate at about 125 kt true is about 18 degrees
    EXPECT_NEAR(maxRate, 3.0, 0.3);
}

TEST(Autopilot, ManualControlsActWhenTheAutopilotDoesNotHoldTheAxis) {
    Simulator sim(test::FixedVariation(0.0));
    StartCruise(sim);
    Command::Autopilot(sim, true, true, false);  // heading hold off: ailerons are the pilot's
    Command::Aileron(sim, 4000);
    RunTicks(sim, 1.5, PowerLaw);
    EXPECT_GT(sim.State().bankDeg, 10.0);
    Command::Aileron(sim, 0);
    Command::Autopilot(sim, false, false, false);  // everything manual
    const double altitudeBefore = sim.State().altitudeM;
    Command::Elevator(sim, -6000);  // pull
    RunTicks(sim, 3, [](Simulator&) {});
    EXPECT_GT(sim.State().velocityUpMps, 2.0);
    EXPECT_GT(sim.State().altitudeM, altitudeBefore);
}

}  // namespace
}  // namespace corvane::sim
