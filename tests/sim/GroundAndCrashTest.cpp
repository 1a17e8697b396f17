// SPDX-License-Identifier: MIT
// Ground handling, drag and power, crash detection, pause and determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "SimTestSupport.h"
#include "sim/model/Simulator.h"
#include "sim/physics/FlatTerrain.h"
#include "sim/trace/TraceCsv.h"

namespace corvane::sim {
namespace {

using test::Command;
using test::Reading;
using test::RunTicks;

constexpr double kMetresPerDegree = 20003500.0 / 180.0;

void StartLevel(Simulator& sim, double iasKt, double altitudeFt = 4000) {
    AirStart air;
    air.altitudeFt = altitudeFt;
    air.iasKt = iasKt;
    air.headingTrueDeg = 0.0;
    sim.StartInAir(air);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, altitudeFt);
    Command::ApVerticalSpeed(sim, 0);
    Command::ApHeading(sim, 0);
}

double SpeedAfter(double seconds, int throttle, int flaps, bool gearDown, int spoilers) {
    Simulator sim(test::FixedVariation(0.0));
    StartLevel(sim, 180);
    Command::Throttles(sim, throttle);
    Command::Flaps(sim, flaps);
    Command::Gear(sim, gearDown ? 16383 : 0);
    Command::Spoilers(sim, spoilers);
    RunTicks(sim, seconds, [](Simulator&) {});
    EXPECT_NEAR(sim.State().altitudeM * 3.28084, 4000, 60);
    return Reading::IndicatedAirspeedKt(sim);
}

TEST(Power, MoreThrottleRaisesTheSpeed) {
    const double low = SpeedAfter(240, 6000, 0, false, 0);
    const double mid = SpeedAfter(240, 10000, 0, false, 0);
    const double high = SpeedAfter(240, 16383, 0, false, 0);
    EXPECT_LT(low + 20, mid);
    EXPECT_LT(mid + 20, high);
}

TEST(Power, CruiseNearTheQuotedBand) {
    Simulator sim(test::FixedVariation(0.0));
    StartLevel(sim, 200, 6000);
    Command::Throttles(sim, static_cast<int>(0.6 * 16383));
    RunTicks(sim, 400, [](Simulator&) {});
    EXPECT_GT(Reading::TrueAirspeedKt(sim), 220);
    EXPECT_LT(Reading::TrueAirspeedKt(sim), 260);
}

struct DragCase {
    const char* name;
    int flaps;
    bool gearDown;
    int spoilers;
};

class Drag : public ::testing::TestWithParam<DragCase> {};

TEST_P(Drag, ConfigurationSlowsTheAircraftAtTheSamePower) {
    const DragCase& c = GetParam();
    const double clean = SpeedAfter(120, 12000, 0, false, 0);
    const double dirty = SpeedAfter(120, 12000, c.flaps, c.gearDown, c.spoilers);
    EXPECT_LT(dirty + 8, clean) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Drag,
                         ::testing::Values(DragCase{"Flaps", 16383, false, 0},
                                           DragCase{"Gear", 0, true, 0},
                                           DragCase{"Spoilers", 0, false, 16000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StallFactor, FallsAsTheSpeedFalls) {
    Simulator sim(test::FixedVariation(0.0));
    StartLevel(sim, 220);
    Command::Throttles(sim, 0);
    std::vector<int> factors;
    double nextKt = 200;
    RunTicks(sim, 200, [&](Simulator& s) {
        if (Reading::IndicatedAirspeedKt(s) < nextKt && nextKt >= 110) {
            factors.push_back(Reading::StallFactor(s));
            nextKt -= 30;
        }
    });
    ASSERT_EQ(factors.size(), 4u);  // at 200, 170, 140, 110 kt
    for (std::size_t i = 1; i < factors.size(); ++i) {
        EXPECT_LT(factors[i] + 1000, factors[i - 1]);
    }
    EXPECT_GT(factors.back(), 0);
}

// Accelerates along the ground (nose held down) to the given speed.
void RollTo(Simulator& sim, double speedKt) {
    sim.StartOnGround(10.0, 20.0, 0.0);
    Command::Throttles(sim, 16383);
    Command::Elevator(sim, 16383);
    for (int i = 0; i < 20000 && sim.State().groundSpeedMps * 1.94384 < speedKt; ++i) {
        sim.Step();
    }
    ASSERT_TRUE(sim.State().onGround);
    Command::Throttles(sim, 0);
    Command::Elevator(sim, 0);
}

double StopDistanceM(Simulator& sim, int brakes, bool parking) {
    RollTo(sim, 120);
    Command::Brakes(sim, brakes);
    test::Put(sim, test::o::kParkingBrake, parking ? 1 : 0, 2);
    sim.ClearEvents();
    const double startLat = sim.State().latitudeDeg;
    for (int i = 0; i < 100000 && sim.State().groundSpeedMps > 0.0; ++i) {
        sim.Step();
    }
    EXPECT_TRUE(sim.State().onGround);
    return (sim.State().latitudeDeg - startLat) * kMetresPerDegree;
}

TEST(Ground, FullBrakesStopFrom120KnotsInAPlausibleDistance) {
    Simulator sim(test::FixedVariation(0.0));
    const double braked = StopDistanceM(sim, 16383, false);
    EXPECT_GT(braked, 250.0);
    EXPECT_LT(braked, 750.0);
    bool stopEvent = false;
    for (const SimEvent& e : sim.Events()) {
        stopEvent = stopEvent || e.kind == SimEventKind::Stop;
    }
    EXPECT_TRUE(stopEvent);
    const double parked = StopDistanceM(sim, 0, true);
    EXPECT_NEAR(parked, braked, 0.05 * braked);
    const double rolled = StopDistanceM(sim, 0, false);
    EXPECT_GT(rolled, 3.0 * braked);
}

TEST(Ground, ParkedAircraftStaysPutUntilThePowerBeatsTheBrakes) {
    Simulator sim(test::FixedVariation(0.0));
    sim.StartOnGround(10.0, 20.0, 90.0);
    test::Put(sim, test::o::kParkingBrake, -14136, 2);
    Command::Throttles(sim, 4000);
    sim.Advance(20.0);
    EXPECT_EQ(sim.State().groundSpeedMps, 0.0);
    test::Put(sim, test::o::kParkingBrake, 0, 2);
    sim.Advance(5.0);
    EXPECT_GT(sim.State().groundSpeedMps, 1.0);
}

TEST(Ground, RudderSteersTheNoseWheelAndGearStaysDownOnTheGround) {
    Simulator sim(test::FixedVariation(0.0));
    sim.StartOnGround(10.0, 20.0, 90.0);
    Command::Throttles(sim, 3000);
    Command::Gear(sim, 0);  // weight on wheels: the gear must not retract
    sim.Advance(10.0);
    Command::Rudder(sim, 8000);
    sim.Advance(5.0);
    EXPECT_GT(sim.State().headingTrueDeg, 100.0);
    EXPECT_DOUBLE_EQ(sim.State().gear, 1.0);
    EXPECT_TRUE(Reading::OnGround(sim));
}

TEST(Ground, TakesOffUnderTheAutopilotAndRetractsTheGear) {
    Simulator sim(test::FixedVariation(0.0));
    sim.StartOnGround(10.0, 20.0, 0.0);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, 4000);
    Command::ApVerticalSpeed(sim, 2000);
    Command::ApHeading(sim, 0);
    double rollM = -1.0;
    RunTicks(sim, 120, [&](Simulator& s) {
        Command::Throttles(s, test::StallMarginThrottle(s, 0.75, 12288));
        if (rollM < 0.0 && !s.State().onGround) {
            rollM = (s.State().latitudeDeg - 10.0) * kMetresPerDegree;
        }
        if (s.State().altitudeM > 150) {
            Command::Gear(s, 0);
        }
    });
    EXPECT_GT(rollM, 300.0);
    EXPECT_LT(rollM, 1500.0);
    EXPECT_GT(sim.State().altitudeM * 3.28084, 2000);
    EXPECT_LT(sim.State().gear, 0.01);
    EXPECT_EQ(sim.CrashCount(), 0);
}

struct CrashCase {
    const char* name;
    bool detection;
    bool gearDown;
    int sinkFpm;
    double bankDeg;
    bool crashes;
    CrashReason reason;
};

class Touchdown : public ::testing::TestWithParam<CrashCase> {};

TEST_P(Touchdown, CrashesOnlyWhenDetectionIsOn) {
    const CrashCase& c = GetParam();
    FlatTerrain ground(300.0);
    Simulator sim(test::FixedVariation(0.0), &ground);
    AirStart air;
    air.altitudeFt = (300.0 + 40.0) * 3.28084;
    air.iasKt = 120;
    air.flaps = 1.0;
    air.gearDown = c.gearDown;
    sim.StartInAir(air);
    Command::CrashDetection(sim, c.detection);
    Command::Autopilot(sim, true, true, c.bankDeg == 0.0);
    Command::ApAltitudeFt(sim, 0);
    Command::ApVerticalSpeed(sim, -c.sinkFpm);
    Command::ApHeading(sim, 0);
    if (c.bankDeg != 0.0) {
        Command::Aileron(sim, 2000);
    }
    RunTicks(sim, 60, [&](Simulator& s) {
        if (c.bankDeg != 0.0 && s.State().bankDeg >= c.bankDeg) {
            Command::Aileron(s, 0);
        }
    });
    // A crash freezes the aircraft at its first touchdown; a hard landing
    // without detection may bounce on its struts and touch again.
    if (c.crashes)
        ASSERT_EQ(sim.TouchdownCount(), 1);
    else
        ASSERT_GE(sim.TouchdownCount(), 1);
    EXPECT_EQ(sim.CrashCount(), c.crashes ? 1 : 0);
    EXPECT_EQ(sim.State().crashed, c.crashes);
    EXPECT_EQ(test::GetSigned(sim, test::o::kCrashed, 2), c.crashes ? 1 : 0);
    bool first = true;
    for (const SimEvent& e : sim.Events()) {
        if (e.kind == SimEventKind::Touchdown && first) {
            EXPECT_NEAR(e.sinkRateFpm, c.sinkFpm, 120.0);
            first = false;
        }
        if (e.kind == SimEventKind::Crash) {
            EXPECT_EQ(e.crashReason, c.reason);
        }
    }
    if (c.crashes) {
        // Frozen where it hit.
        const AircraftState before = sim.State();
        sim.Advance(10.0);
        EXPECT_EQ(sim.State().latitudeDeg, before.latitudeDeg);
        EXPECT_EQ(sim.State().altitudeM, before.altitudeM);
        EXPECT_EQ(Reading::TrueAirspeedKt(sim), 0.0);
    } else {
        EXPECT_TRUE(sim.State().onGround);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Touchdown,
    ::testing::Values(
        CrashCase{"GearUpDetected", true, false, 300, 0.0, true, CrashReason::GearUp},
        CrashCase{"GearUpIgnored", false, false, 300, 0.0, false, CrashReason::None},
        CrashCase{"HardDetected", true, true, 1500, 0.0, true, CrashReason::HardTouchdown},
        CrashCase{"HardIgnored", false, true, 1500, 0.0, false, CrashReason::None},
        CrashCase{"WingStrikeDetected", true, true, 300, 15.0, true, CrashReason::WingStrike},
        CrashCase{"GentleLanding", true, true, 300, 0.0, false, CrashReason::None}),
    [](const auto& info) { return std::string(info.param.name); });

// 60 ft above the ground, full flaps and the gear down, the autopilot
// sinking at 200 ft/min, the spoilers armed.
AirStart SinkingWithSpoilersArmed(Simulator& sim) {
    AirStart air;
    air.altitudeFt = 60;
    air.iasKt = 115;
    air.flaps = 1.0;
    air.gearDown = true;
    sim.StartInAir(air);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, 0);
    Command::ApVerticalSpeed(sim, -200);
    Command::ArmSpoilers(sim, true);
    return air;
}

TEST(Touchdown, ArmedSpoilersDeployAndAStartClearsTheCrash) {
    Simulator sim(test::FixedVariation(0.0));
    const AirStart air = SinkingWithSpoilersArmed(sim);
    RunTicks(sim, 30, [](Simulator&) {});
    ASSERT_EQ(sim.TouchdownCount(), 1);
    EXPECT_EQ(test::GetSigned(sim, test::o::kSpoilers, 4), 16383);
    EXPECT_GT(sim.State().spoilers, 0.9);

    Command::Gear(sim, 0);
    sim.StartInAir(air);
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, 0);
    Command::ApVerticalSpeed(sim, -300);
    Command::Gear(sim, 0);
    RunTicks(sim, 40, [](Simulator&) {});
    ASSERT_TRUE(sim.State().crashed);
    sim.StartInAir(air);
    EXPECT_FALSE(sim.State().crashed);
    EXPECT_EQ(test::GetSigned(sim, test::o::kCrashed, 2), 0);
    EXPECT_EQ(sim.CrashCount(), 1);  // counted for the whole run
}

// The simulator's own change to its inputs in the middle of a batch of steps
// (the spoilers' lever thrown at the touchdown) reaches the steps after it.
TEST(Touchdown, SpoilersDeployWithinOneBatchOfSteps) {
    Simulator sim(test::FixedVariation(0.0));
    SinkingWithSpoilersArmed(sim);
    sim.Advance(30.0);
    ASSERT_EQ(sim.TouchdownCount(), 1);
    EXPECT_GT(sim.State().spoilers, 0.9);
}

TEST(Pause, FreezesEverythingUntilReleased) {
    Simulator sim(test::FixedVariation(0.0));
    StartLevel(sim, 200);
    Command::ApVerticalSpeed(sim, 1000);
    Command::ApAltitudeFt(sim, 9000);
    sim.Advance(5.0);
    Command::Pause(sim, true);
    sim.Advance(0.1);
    const AircraftState before = sim.State();
    const double time = sim.TimeS();
    std::uint8_t image[0x1200];
    ASSERT_TRUE(sim.Variables().Read(0, sizeof(image), image));
    sim.Advance(30.0);
    std::uint8_t after[0x1200];
    ASSERT_TRUE(sim.Variables().Read(0, sizeof(after), after));
    EXPECT_EQ(std::memcmp(image, after, sizeof(image)), 0);
    EXPECT_EQ(sim.TimeS(), time);
    EXPECT_EQ(sim.State().latitudeDeg, before.latitudeDeg);
    EXPECT_EQ(sim.State().altitudeM, before.altitudeM);
    Command::Pause(sim, false);
    sim.Advance(2.0);
    EXPECT_GT(sim.State().altitudeM, before.altitudeM);
    EXPECT_NEAR(sim.TimeS(), time + 2.0, 1e-6);
}

TEST(Rate, FasterThanRealTimeRunsMoreSteps) {
    Simulator sim;
    EXPECT_FALSE(sim.SetRate(0.0));
    EXPECT_FALSE(sim.SetRate(std::nan("")));
    ASSERT_TRUE(sim.SetRate(8.0));
    EXPECT_EQ(sim.Advance(1.0), static_cast<int>(std::lround(8.0 / sim.StepS())));
    EXPECT_NEAR(sim.TimeS(), 8.0, 1e-9);
    EXPECT_EQ(sim.Advance(-1.0), 0);
}

std::vector<std::string> FlyScript() {
    FlatTerrain ground(120.0);
    SimulatorOptions options;
    options.windFromDeg = 250;
    options.windSpeedKt = 15;
    Simulator sim(options, &ground);
    AirStart air;
    air.latitudeDeg = 51.0;
    air.longitudeDeg = -1.0;
    air.altitudeFt = 3000;
    air.iasKt = 170;
    sim.StartInAir(air);
    std::vector<std::string> lines;
    char buffer[TraceCsv::kLineCapacity];
    Command::Autopilot(sim, true, true, true);
    Command::ApAltitudeFt(sim, 2000);
    Command::ApVerticalSpeed(sim, -700);
    Command::ApHeading(sim, 200);
    for (int tick = 0; tick < 1200; ++tick) {
        Command::Throttles(sim, test::StallMarginThrottle(sim, 0.75, 7168));
        if (tick == 400) {
            Command::Flaps(sim, 8000);
            Command::Gear(sim, 16383);
        }
        sim.Advance(0.15);
        TraceCsv::FormatLine(sim.LastTrace(), buffer, sizeof(buffer));
        lines.emplace_back(buffer);
    }
    return lines;
}

TEST(Determinism, SameInputsGiveTheSameTrace) {
    const std::vector<std::string> first = FlyScript();
    const std::vector<std::string> second = FlyScript();
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        ASSERT_EQ(first[i], second[i]) << "tick " << i;
    }
}

TEST(Trace, CsvLineMatchesTheHeaderAndNamesEvents) {
    TraceRecord r;
    r.eventMask = (1u << static_cast<int>(SimEventKind::Touchdown)) |
                  (1u << static_cast<int>(SimEventKind::Crash));
    char buffer[TraceCsv::kLineCapacity];
    const std::size_t n = TraceCsv::FormatLine(r, buffer, sizeof(buffer));
    ASSERT_GT(n, 0u);
    const std::string line(buffer, n);
    const std::string header = TraceCsv::Header();
    EXPECT_EQ(std::count(line.begin(), line.end(), ','),
              std::count(header.begin(), header.end(), ','));
    EXPECT_NE(line.find(",touchdown;crash"), std::string::npos);
    char tiny[8];
    EXPECT_EQ(TraceCsv::FormatLine(r, tiny, sizeof(tiny)), 0u);
    EXPECT_EQ(tiny[0], '\0');
}

}  // namespace
}  // namespace corvane::sim
