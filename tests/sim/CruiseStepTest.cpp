// SPDX-License-Identifier: MIT
// The simulator's longer step high above the ground: the same flight as the
// 20 ms step within the integration's own error, the 20 ms step kept below
// the height it starts at (bit for bit) and on the ground, and fewer steps.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "SimTestSupport.h"
#include "sim/model/Simulator.h"
#include "sim/physics/Aircraft.h"
#include "sim/physics/Units.h"

namespace corvane::sim {
namespace {

using test::Command;

struct CruiseCase {
    const char* name;
    const char* aircraft;
    double startFt;
    double iasKt;
    int verticalSpeedFpm;
    double turnDeg;  // the heading bug moved by this at the start
    double seconds;
};

SimulatorOptions Options(const CruiseCase& c, double cruiseStepS) {
    SimulatorOptions options = test::FixedVariation(0.0);
    options.aircraft = *StandInAircraft(c.aircraft);
    options.cruiseStepS = cruiseStepS;
    options.cruiseStepAboveM = 2000.0 * units::kMetresPerFoot;
    return options;
}

// Flies the case as the harness does: the program's commands every 150 ms,
// the simulator's time after each in the batches given (the map's reads
// split a main cycle). Returns the time flown in main cycles that began more
// than 2,000 ft above the ground.
double Fly(Simulator& sim, const CruiseCase& c, std::initializer_list<double> batches = {0.15}) {
    AirStart air;
    air.latitudeDeg = 40.0;
    air.longitudeDeg = -100.0;
    air.altitudeFt = c.startFt;
    air.headingTrueDeg = 90.0;
    air.iasKt = c.iasKt;
    sim.StartInAir(air);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, c.verticalSpeedFpm < 0 ? 500 : c.startFt + 5000);
    Command::ApVerticalSpeed(sim, c.verticalSpeedFpm);
    Command::ApHeading(sim, 90.0 + c.turnDeg);
    const int ticks = static_cast<int>(std::lround(c.seconds / 0.15));
    double highS = 0.0;
    for (int i = 0; i < ticks; ++i) {
        Command::Throttles(sim, test::StallMarginThrottle(sim, 0.75, 7168));
        if (sim.State().altitudeM > 2000.0 * units::kMetresPerFoot)
            highS += 0.15;
        for (const double batchS : batches)
            sim.Advance(batchS);
    }
    return highS;
}

class CruiseStep : public ::testing::TestWithParam<CruiseCase> {};

TEST_P(CruiseStep, FliesTheFineStepsFlightWithinTheIntegrationsError) {
    const CruiseCase& c = GetParam();
    Simulator fine(Options(c, 0.0));
    Simulator cruise(Options(c, 0.15));
    Fly(fine, c);
    const double highS = Fly(cruise, c);
    const AircraftState& a = fine.State();
    const AircraftState& b = cruise.State();
    const double northM = (b.latitudeDeg - a.latitudeDeg) * units::kMetresPerNm * 60.0;
    const double eastM = (b.longitudeDeg - a.longitudeDeg) * units::kMetresPerNm * 60.0 *
                         std::cos(a.latitudeDeg * units::kDegToRad);
    const double flownM = a.tasMps * c.seconds;
    // Three tenths of a percent of the way flown, a dozen feet, a fifth of a
    // knot and of a degree (measured: at most 0.16 %, 6.4 ft, 0.04 kt).
    EXPECT_LT(std::hypot(northM, eastM), 0.003 * flownM);
    EXPECT_NEAR(b.altitudeM * units::kFeetPerMetre, a.altitudeM * units::kFeetPerMetre, 12.0);
    EXPECT_NEAR(b.iasMps * units::kKnotsPerMps, a.iasMps * units::kKnotsPerMps, 0.2);
    EXPECT_NEAR(b.headingTrueDeg, a.headingTrueDeg, 0.2);
    EXPECT_NEAR(b.velocityUpMps * units::kFpmPerMps, a.velocityUpMps * units::kFpmPerMps, 20.0);
    EXPECT_NEAR(cruise.TimeS(), fine.TimeS(), 0.02);  // within the step still pending

    if (c.startFt <= 2000.0) {
        // Never above the height: the same steps, bit for bit.
        EXPECT_EQ(cruise.StepCount(), fine.StepCount());
        EXPECT_EQ(b.latitudeDeg, a.latitudeDeg);
        EXPECT_EQ(b.altitudeM, a.altitudeM);
    } else {
        // One step a batch while high, 20 ms steps after.
        const double expected = highS / 0.15 + (c.seconds - highS) / 0.02;
        EXPECT_NEAR(static_cast<double>(cruise.StepCount()), expected, 0.01 * expected);
        EXPECT_LT(static_cast<double>(cruise.StepCount()), 0.9 * fine.StepCount());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CruiseStep,
    ::testing::Values(CruiseCase{"TwinDescendingInATurn", "twin", 9000, 250, -1500, 90, 150},
                      CruiseCase{"TwinClimbing", "twin", 5000, 220, 2000, -45, 120},
                      CruiseCase{"SingleDescendingInATurn", "single", 7000, 110, -700, 120, 180},
                      CruiseCase{"SingleThroughTheHeight", "single", 3000, 100, -800, 0, 150},
                      CruiseCase{"TwinThroughTheHeight", "twin", 3500, 180, -1500, 30, 120},
                      CruiseCase{"SingleBelowTheHeight", "single", 1800, 100, -500, 45, 60}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CruiseStep, ReadsBetweenTheMainCyclesSeeTheLastStepAndMoveNothing) {
    // High all the way: a main cycle split by reads at 100 ms (the map) or
    // at 20 and 70 ms is still one step of 150 ms, and the flight is the
    // unsplit one but for the last bits of the summed batches.
    const CruiseCase c{"TwinDescendingInATurn", "twin", 9000, 250, -1500, 90, 150};
    Simulator whole(Options(c, 0.15));
    Fly(whole, c);
    for (const auto& split : {std::initializer_list<double>{0.1, 0.05},
                              std::initializer_list<double>{0.02, 0.05, 0.08}}) {
        Simulator sim(Options(c, 0.15));
        Fly(sim, c, split);
        EXPECT_EQ(sim.StepCount(), whole.StepCount());
        const AircraftState& a = whole.State();
        const AircraftState& b = sim.State();
        EXPECT_NEAR(b.latitudeDeg, a.latitudeDeg, 1e-8);  // a millimetre
        EXPECT_NEAR(b.longitudeDeg, a.longitudeDeg, 1e-8);
        EXPECT_NEAR(b.altitudeM, a.altitudeM, 1e-3);
        EXPECT_NEAR(b.iasMps, a.iasMps, 1e-5);
    }
    // A read sooner than a long step after the last sees the aircraft where
    // that step left it.
    const double timeS = whole.TimeS();
    const double latitudeDeg = whole.State().latitudeDeg;
    whole.Advance(0.1);
    EXPECT_EQ(whole.TimeS(), timeS);
    EXPECT_EQ(whole.State().latitudeDeg, latitudeDeg);
    whole.Advance(0.05);
    EXPECT_NEAR(whole.TimeS(), timeS + 0.15, 1e-9);
}

TEST(CruiseStep, NeverOnTheGround) {
    SimulatorOptions options;
    options.cruiseStepS = 0.15;
    options.cruiseStepAboveM = -100.0;  // every height would do
    Simulator sim(options);
    sim.StartOnGround(40.0, -100.0, 90.0);
    const std::uint64_t before = sim.StepCount();
    for (int i = 0; i < 20; ++i)
        sim.Advance(0.05);
    // 1 s of 20 ms steps, whatever the batches.
    EXPECT_EQ(sim.StepCount() - before, 50u);
}

}  // namespace
}  // namespace corvane::sim
