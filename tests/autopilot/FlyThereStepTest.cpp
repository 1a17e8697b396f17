// SPDX-License-Identifier: MIT
//
// The fly-there autopilot's steps on their own: readings and a plan in,
// commands and a report out, without a program, a form or a link.
#include <gtest/gtest.h>

#include <functional>

#include "app/autopilot/LandingSequence.h"
#include "app/autopilot/RouteGuidance.h"
#include "tests/autopilot/AutopilotTestSupport.h"

namespace corvane::autopilot::test {
namespace {

using Item = flightstate::AircraftCommands::Item;

// A sea-level runway at the equator heading 090 from (0, 0), flown at 120 kt.
FlyTherePlan RunwayPlan() {
    FlyTherePlan plan;
    plan.Threshold = {0, 0};
    plan.FarEnd = {0, 0.03};
    plan.RunwayHeading = 90;
    plan.RunwayDesignator = " 9";
    plan.GuidanceOn = true;
    plan.SavedCrashSetting = 1;
    plan.GateChecked = true;
    plan.ApproachLength = 12150.24;
    plan.MidStart = 303.68;
    plan.RunwayWidthFt = 150;
    plan.RunwayLengthFt = 10000;
    plan.AimPointFt = 1000;
    plan.ApproachStartAltitudeFt = 4000;
    return plan;
}

// The aircraft `feet` before the threshold on the centre line at a height.
flightstate::Readings AircraftAt(double feet, std::int32_t altitudeM) {
    flightstate::Readings r;
    const LatLon pos = Destination(0, 0, feet >= 0 ? 270 : 90, std::fabs(feet) / 3.2808);
    r.latitudeDeg = pos.lat;
    r.longitudeDeg = pos.lon;
    r.altitudeM = altitudeM;
    r.trueAirspeedKnots = 120;
    r.headingTrueDeg = 90;
    r.stallFactor = 32767;
    r.gearHandle = 16383;
    return r;
}

struct StageRow {
    const char* name;
    std::int16_t stage;
    std::function<void(flightstate::Readings&, FlyTherePlan&, LandingInputs&)> setUp;
    std::int16_t nextStage;
    std::optional<std::string> stageText;  // the report's stage, when the step sets one
    Item item;                             // one command the step decides
    std::optional<std::int32_t> value;     // its value; empty: the step must not give it
    bool displayEnded = false;
    bool alert = false;
};

class LandingStepStages : public ::testing::TestWithParam<StageRow> {};

TEST_P(LandingStepStages, ReportTheStageEnteredAndCommandIt) {
    const StageRow& row = GetParam();
    flightstate::Readings aircraft = AircraftAt(24300, 463);
    FlyTherePlan plan = RunwayPlan();
    plan.LandingStage = row.stage;
    LandingInputs in{aircraft};
    in.timeOfDayS = 36000;
    row.setUp(aircraft, plan, in);

    const FlyThereStep step = LandingStep(in, plan);
    EXPECT_EQ(plan.LandingStage, row.nextStage);
    EXPECT_EQ(step.report.stage, row.stageText);
    EXPECT_EQ(step.commands.Get(row.item), row.value);
    EXPECT_EQ(step.report.displayEnded, row.displayEnded);
    EXPECT_EQ(!step.report.alert.empty(), row.alert) << step.report.alert;
    EXPECT_FALSE(step.engageAtAltitudeFt);
    if (row.displayEnded) {  // the simulator gets its crash setting back with the display
        EXPECT_EQ(step.commands.Get(Item::kCrashing), 1);
    }
}

const auto kNothing = [](flightstate::Readings&, FlyTherePlan&, LandingInputs&) {};

INSTANTIATE_TEST_SUITE_P(
    Stages, LandingStepStages,
    ::testing::Values(
        StageRow{"FarOutWaitsCleanUntilItsSpeedsAreKnown", kWaitForDescent,
                 [](flightstate::Readings& r, FlyTherePlan&, LandingInputs&) {
                     r = AircraftAt(45000, 914);
                 },
                 kWaitForDescent, std::nullopt, Item::kFlaps, 0},
        StageRow{"InsideTheDescentPointBeginsIt", kWaitForDescent,
                 [](flightstate::Readings& r, FlyTherePlan&, LandingInputs&) {
                     r = AircraftAt(38000, 914);  // and 1,000 ft on to the aim point
                 },
                 kInitialDescent, "Initial descent", Item::kApaltitude, 0},
        StageRow{"OnTheProfileTheInitialDescentGoesOn", kInitialDescent, kNothing, kInitialDescent,
                 std::nullopt, Item::kArmspoilers, 1},
        StageRow{"WheelsDownIsTheTouchdown", kFinalDescent,
                 [](flightstate::Readings& r, FlyTherePlan&, LandingInputs&) {
                     r = AircraftAt(-1000, 0);
                     r.onGround = 1;
                 },
                 kTouchdown, "Touchdown", Item::kApvertspeed, -150},
        StageRow{"StandingThreeSecondsResetsTheControls", kRollout,
                 [](flightstate::Readings& r, FlyTherePlan& plan, LandingInputs&) {
                     r = AircraftAt(-5000, 0);
                     r.onGround = 1;
                     r.trueAirspeedKnots = 1;
                     plan.StopTime = 36000 - 4;
                 },
                 kResettingControls, "Resetting controls", Item::kParkingbrake, -14136},
        StageRow{"UnsentTargetsKeepTheHoldSwitchesOn", kResettingControls, kNothing,
                 kResettingControls, std::nullopt, Item::kApheadinghold, std::nullopt},
        StageRow{"SentTargetsLetTheHoldSwitchesGo", kResettingControls,
                 [](flightstate::Readings&, FlyTherePlan&, LandingInputs& in) {
                     in.autopilotTargetsSent = true;
                 },
                 kAutopilotOff, std::nullopt, Item::kApheadinghold, 0},
        StageRow{"SentHoldSwitchesLetTheMasterGo", kAutopilotOff,
                 [](flightstate::Readings&, FlyTherePlan&, LandingInputs& in) {
                     in.holdSwitchesSent = true;
                 },
                 kNotLanding, std::nullopt, Item::kApmaster, 0, true},
        StageRow{"ThirdUnstableApproachIsAbandoned", kMidDescent,
                 [](flightstate::Readings& r, FlyTherePlan& plan, LandingInputs&) {
                     // 1.9 nm out, 480 ft up, 40 m right of the centre line.
                     const LatLon pos = Destination(-40 / 111130.555, 0, 270, 11500 / 3.2808);
                     r.latitudeDeg = pos.lat;
                     r.longitudeDeg = pos.lon;
                     r.altitudeM = 146;
                     plan.GateChecked = false;
                     plan.GoArounds = kMaxGoArounds;
                 },
                 kNotLanding, "Landing abandoned", Item::kApvertspeed, 0, true, true}),
    [](const ::testing::TestParamInfo<StageRow>& info) { return info.param.name; });

// A step's commands are values: an item it does not give is not in them (the
// unsent hold switches above; here the gear, already down).
TEST(LandingStep, GivesOnlyTheCommandsItsStageDecides) {
    flightstate::Readings aircraft = AircraftAt(24300, 463);
    FlyTherePlan plan = RunwayPlan();
    plan.LandingStage = kInitialDescent;
    const FlyThereStep step = LandingStep(LandingInputs{aircraft}, plan);
    EXPECT_FALSE(step.commands.Get(Item::kGearhandle));
    EXPECT_FALSE(step.commands.Get(Item::kParkingbrake));
    EXPECT_FALSE(step.commands.TowerLatitude());
    aircraft.gearHandle = 0;
    plan.LandingStage = kInitialDescent;
    EXPECT_EQ(LandingStep(LandingInputs{aircraft}, plan).commands.Get(Item::kGearhandle), 16383);
}

// The route's first step computes the turning point and asks the program to
// engage the simulator's autopilot before its report is shown; it commands
// nothing itself.
TEST(RouteStep, TheFirstStepAsksForTheAutopilotAndReportsTheTurningPoint) {
    flightstate::Readings aircraft = AircraftAt(60000, 1500);
    FlyTherePlan plan = RunwayPlan();
    plan.RouteStage = 1;
    const FlyThereStep step = RouteStep(aircraft, plan);
    EXPECT_EQ(step.engageAtAltitudeFt, 0);
    EXPECT_EQ(step.report.stage, "To turning point");
    EXPECT_TRUE(step.commands.Empty());
    EXPECT_EQ(plan.RouteStage, 2);
    EXPECT_GT(plan.TurningPointDistance, 4);

    // The next step flies towards it and reports the distance left.
    const FlyThereStep next = RouteStep(aircraft, plan);
    EXPECT_FALSE(next.engageAtAltitudeFt);
    EXPECT_FALSE(next.report.stage);
    ASSERT_TRUE(next.report.distance);
    EXPECT_EQ(next.report.distance->substr(next.report.distance->size() - 3), " nm");
    EXPECT_TRUE(next.commands.Get(Item::kApheading));
}

}  // namespace
}  // namespace corvane::autopilot::test
