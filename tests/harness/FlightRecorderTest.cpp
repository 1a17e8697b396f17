// SPDX-License-Identifier: MIT
//
// The harness's measures: the runway frame (along the centre line past the
// threshold, beside it to the right), and the flight recorder on a real
// stand-in simulator: the normal load factor in level flight and in a turn,
// the threshold crossing, the touchdown and the stop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "sim/inprocess/AirportLookup.h"
#include "sim/model/Simulator.h"
#include "sim/physics/AirportTerrain.h"
#include "sim/variables/Offsets.h"
#include "tests/fltsim98/TestDatabase.h"
#include "tools/harness/Destination.h"
#include "tools/harness/FlightRecorder.h"
#include "tools/harness/RunwayFrame.h"

namespace corvane::harness {
namespace {

namespace o = sim::offsets;

constexpr double kMetresPerDegree = 20003500.0 / 180.0;
constexpr double kFeetPerMetre = 1.0 / 0.3048;

navdata::AirportDatabase Database() {
    navdata::AirportDatabase db = sim::test::TestDatabase();
    db.Runways[1].widthFeet = 150;  // 45.7 m
    return db;
}

void Put(sim::Simulator& sim, std::uint32_t offset, std::int32_t value, std::uint32_t size) {
    ASSERT_TRUE(sim.Variables().Write(offset, size, &value));  // little-endian host
}

TEST(RunwayFrameTest, MeasuresAlongAndBesideTheLandingDirection) {
    const navdata::AirportDatabase db = Database();
    // 35L: end B of the first runway, at 39.80 N, landing north.
    const RunwayFrame north(db, -1);
    EXPECT_EQ(north.Designator(), " 35L");
    EXPECT_NEAR(north.HeadingTrueDeg(), 0.0, 1e-9);
    EXPECT_NEAR(north.LengthFt(), 0.03 * kMetresPerDegree * kFeetPerMetre, 0.5);
    EXPECT_DOUBLE_EQ(north.ListedLengthFt(), 10900);
    EXPECT_NEAR(north.WidthM(), 45.72, 0.01);
    EXPECT_NEAR(north.ElevationFt(), 1650 * kFeetPerMetre, 1e-6);

    const double eastOneMetre = 1.0 / (kMetresPerDegree * std::cos(39.8 * M_PI / 180.0));
    const RunwayPoint p =
        north.Locate(39.80 + 100.0 / kMetresPerDegree, -104.70 + 20 * eastOneMetre);
    EXPECT_NEAR(p.alongFt, 100.0 * kFeetPerMetre, 0.01);
    EXPECT_NEAR(p.crossM, 20.0, 0.01) << "east is right of a northbound landing";

    // 17R: end A, landing south: the same point is now left and far down the strip.
    const RunwayFrame south(db, 1);
    const RunwayPoint q =
        south.Locate(39.80 + 100.0 / kMetresPerDegree, -104.70 + 20 * eastOneMetre);
    EXPECT_NEAR(q.crossM, -20.0, 0.01);
    EXPECT_NEAR(q.alongFt, south.LengthFt() - 100.0 * kFeetPerMetre, 0.01);

    EXPECT_TRUE(north.OnRunway({0.0, 22.8}));
    EXPECT_FALSE(north.OnRunway({0.0, 22.9}));
    EXPECT_FALSE(north.OnRunway({-1.0, 0.0})) << "before the threshold";
    EXPECT_FALSE(north.OnRunway({north.LengthFt() + 1.0, 0.0})) << "past the far end";
    EXPECT_THROW(RunwayFrame(db, 9), std::out_of_range);
}

class FlightRecorderTest : public ::testing::Test {
  protected:
    FlightRecorderTest() {
        const sim::TerrainInput input = sim::TerrainInputFromDatabase(db);
        terrain = std::make_unique<sim::AirportTerrain>(input.airports, input.runways);
        simulator = std::make_unique<sim::Simulator>(sim::SimulatorOptions{}, terrain.get());
        recorder = std::make_unique<FlightRecorder>(*simulator);
        simulator->SetTraceSink(recorder.get());
    }

    navdata::AirportDatabase db = Database();
    std::unique_ptr<sim::AirportTerrain> terrain;
    std::unique_ptr<sim::Simulator> simulator;
    std::unique_ptr<FlightRecorder> recorder;
};

TEST_F(FlightRecorderTest, LevelFlightPullsOneG) {
    simulator->StartInAir({39.0, -104.0, 12000.0, 90.0, 200.0});
    recorder->BeginFlight(RunwayFrame(db, -1));
    simulator->Advance(20.0);
    EXPECT_NEAR(recorder->PeakNormalLoadG(), 1.0, 0.02);
    EXPECT_NEAR(recorder->MinNormalLoadG(), 1.0, 0.02);
    EXPECT_FALSE(recorder->Touchdown());
    EXPECT_FALSE(recorder->Standing());
}

TEST_F(FlightRecorderTest, ALevelTurnAtTheAutopilotsBankLimitPullsOneOverCosineBank) {
    simulator->StartInAir({39.0, -104.0, 12000.0, 0.0, 200.0});
    recorder->BeginFlight(RunwayFrame(db, -1));
    const double variation = simulator->MagneticVariationAt(39.0, -104.0);
    Put(*simulator, o::kApMaster, 1, 4);
    Put(*simulator, o::kApAltitudeHold, 1, 4);
    Put(*simulator, o::kApVerticalSpeed, 0, 2);
    Put(*simulator, o::kApHeadingHold, 1, 4);
    // A right turn of 150 degrees: long enough to settle at the 25 degree limit.
    Put(*simulator, o::kApHeading,
        static_cast<std::int32_t>(std::lround((150.0 - variation) * 65536 / 360)) & 0xFFFF, 4);
    simulator->Advance(40.0);
    EXPECT_GT(simulator->State().headingTrueDeg, 60.0) << "the aircraft turns";
    EXPECT_NEAR(recorder->PeakNormalLoadG(), 1.0 / std::cos(25.0 * M_PI / 180.0), 0.03);
}

TEST_F(FlightRecorderTest, ShortFinalCrossesTheThresholdTouchesDownAndStands) {
    const RunwayFrame runway(db, -1);
    sim::FinalStart final;
    final.runway = RunwayStartOf(db, -1);
    final.distanceNm = 1.0;
    final.iasKt = 120.0;
    final.flaps = 1.0;
    simulator->StartOnFinal(final);
    recorder->BeginFlight(runway);
    Put(*simulator, o::kCrashDetection, 0, 1);
    simulator->Advance(40.0);

    ASSERT_TRUE(recorder->Touchdown());
    const TouchdownFacts& td = *recorder->Touchdown();
    // Hands off on the trimmed path, a little past the threshold, on the
    // centre line.
    EXPECT_GT(td.alongFt, 0.0);
    EXPECT_LT(td.alongFt, 1500.0);
    EXPECT_TRUE(td.onRunway);
    EXPECT_NEAR(td.crossM, 0.0, 1.0);
    EXPECT_GT(td.sinkFpm, 200.0);
    EXPECT_LT(td.sinkFpm, 900.0);
    // The crossing height and the float to the touchdown agree with the
    // path the aircraft came down at the touchdown.
    ASSERT_TRUE(recorder->Crossing());
    const double pathSlope = td.sinkFpm / (td.groundSpeedKt * 6076.12 / 60.0);
    EXPECT_NEAR(recorder->Crossing()->heightFt / td.alongFt, pathSlope, 0.3 * pathSlope);
    EXPECT_NEAR(recorder->Crossing()->crossM, td.crossM, 0.5);

    // Full brakes: it stands within the runway.
    Put(*simulator, o::kThrottle1, 0, 2);
    Put(*simulator, o::kThrottle2, 0, 2);
    Put(*simulator, o::kParkingBrake, 1, 2);
    simulator->Advance(60.0);
    EXPECT_TRUE(recorder->Standing());
    EXPECT_GT(recorder->StandingSinceS(), td.timeS);
    const RunwayPoint stop = recorder->Position();
    EXPECT_GT(stop.alongFt, td.alongFt + 500.0);
    EXPECT_FALSE(recorder->LeftRunway());
    EXPECT_LT(recorder->MaxRolloutCrossM(), 2.0);
    // Hands off at the trimmed angle the aircraft may skip: every lift-off
    // the simulator reports after the first touchdown is a bounce.
    int liftoffs = 0;
    for (const sim::SimEvent& e : simulator->Events())
        liftoffs += e.kind == sim::SimEventKind::Liftoff && e.timeS > td.timeS ? 1 : 0;
    EXPECT_EQ(recorder->Bounces(), liftoffs);
    EXPECT_FALSE(recorder->Crashed());
}

// The handling measures from records fed one by one: the last descent through
// the 500 ft gate before the threshold, the worst flap excess and how long the
// limits were exceeded, and which wheels met the ground first with the load
// of the two seconds after it.
TEST_F(FlightRecorderTest, GateFlapExcessAndFirstContactFromTheRecords) {
    const RunwayFrame runway(db, -1);  // 35L, landing north from 39.80 N
    recorder->BeginFlight(runway);
    const double gearFt = simulator->GearHeightM() * kFeetPerMetre;
    double t = 0.0;
    auto step = [&](double distanceBeforeM, double heightFt, double iasKt, double flaps, bool main,
                    bool nose, double loadG) {
        sim::TraceRecord r;
        t += 0.02;
        r.timeS = t;
        r.latitudeDeg = 39.80 - distanceBeforeM / kMetresPerDegree;
        r.longitudeDeg = -104.70;
        r.altitudeFt = runway.ElevationFt() + gearFt + heightFt;
        r.iasKt = iasKt;
        r.flaps = flaps;
        r.verticalSpeedFpm = -700.0;
        r.mainWheelsOnGround = main;
        r.noseWheelOnGround = nose;
        r.onGround = main || nose;
        r.normalLoadG = loadG;
        recorder->OnStep(r);
    };
    // The twin: "down" flaps (over 0.4 of their travel) to 150 kt. Two passes
    // through the gate (a go-around between); the second one counts.
    step(5000, 520, 160, 0.5, false, false, 1.0);
    step(4990, 480, 158, 0.5, false, false, 1.0);  // 8 kt over for 0.02 s
    step(4900, 700, 140, 1.0, false, false, 1.0);
    step(3000, 505, 120, 1.0, false, false, 1.0);
    step(2990, 495, 118, 1.0, false, false, 1.0);
    for (int i = 0; i < 10; ++i)
        step(100 - i, 5, 100, 1.0, false, false, 1.0);
    sim::SimEvent touchdown;
    touchdown.kind = sim::SimEventKind::Touchdown;
    touchdown.timeS = t + 0.02;
    touchdown.latitudeDeg = 39.80 + 300 / kMetresPerDegree;
    touchdown.longitudeDeg = -104.70;
    recorder->OnEvent(touchdown);
    step(-300, 0, 100, 1.0, true, false, 1.4);
    step(-302, 0, 100, 1.0, true, false, 1.5);
    for (int i = 0; i < 50; ++i)
        step(-304 - i, 0, 99, 1.0, true, i >= 49, 1.1);  // the nose wheel after 1 s
    for (int i = 0; i < 100; ++i)
        step(-360 - i, 0, 95, 1.0, true, true, i == 99 ? 1.9 : 1.0);  // 3 s after: not counted

    ASSERT_TRUE(recorder->Gate());
    EXPECT_NEAR(recorder->Gate()->iasKt, 118, 1e-9) << "the last pass through the gate";
    EXPECT_NEAR(recorder->Gate()->distanceNm, 2990 / 1852.0, 0.01);
    EXPECT_NEAR(recorder->Gate()->sinkFpm, 700, 1e-9);
    ASSERT_TRUE(recorder->WorstFlapExcess());
    EXPECT_NEAR(recorder->WorstFlapExcess()->excessKt, 10.0, 1e-9);
    EXPECT_EQ(recorder->WorstFlapExcess()->setting, "down");
    EXPECT_NEAR(recorder->WorstFlapExcess()->secondsOver, 0.02, 1e-9)
        << "the first step has no time before it";
    ASSERT_TRUE(recorder->Touchdown());
    const TouchdownFacts& td = *recorder->Touchdown();
    EXPECT_EQ(td.firstContact, "main wheels");
    ASSERT_TRUE(td.noseWheelAfterS);
    EXPECT_NEAR(*td.noseWheelAfterS, 1.02, 1e-6);
    EXPECT_NEAR(td.peakLoadG, 1.5, 1e-9);
    // The recorder's channel over its eighth of a second at the best: four
    // steps of 1.1, the 1.5 and the 1.4, and a quarter step of the air's 1.0.
    EXPECT_NEAR(td.recordedLoadG, (4 * 1.1 + 1.5 + 1.4 + 0.25) * 0.02 / 0.125, 1e-9);
    EXPECT_NEAR(recorder->PeakNormalLoadG(), 1.9, 1e-9) << "the flight's peak keeps every step";
}

}  // namespace
}  // namespace corvane::harness
