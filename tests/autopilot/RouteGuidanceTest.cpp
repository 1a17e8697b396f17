// SPDX-License-Identifier: MIT
#include "app/autopilot/RouteGuidance.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/autopilot/LandingSequence.h"
#include "app/startup/FlyThereHandlers.h"
#include "navdata/Geodesy.h"
#include "tests/autopilot/AutopilotTestSupport.h"

namespace corvane::autopilot::test {
namespace {

// ---- Vertical-speed ladder ---------------------------------------------------

struct LadderRow {
    const char* name;
    std::int32_t altitudeM;
    std::int32_t expectedFpm;
};

class CruiseLadder : public ::testing::TestWithParam<LadderRow> {};

// Target 1219 m (4000 ft above a sea-level ground).
TEST_P(CruiseLadder, VerticalSpeedForTheHeightError) {
    EXPECT_EQ(CruiseVerticalSpeed(GetParam().altitudeM, 1219), GetParam().expectedFpm);
}

INSTANTIATE_TEST_SUITE_P(
    Target1219, CruiseLadder,
    ::testing::Values(LadderRow{"FarBelow", 600, 2000}, LadderRow{"Exactly300Below", 919, 2000},
                      LadderRow{"Just299Below", 920, 300}, LadderRow{"From1000", 1000, 300},
                      LadderRow{"Exactly100Below", 1119, 300}, LadderRow{"Just99Below", 1120, 100},
                      LadderRow{"Exactly30Below", 1189, 100}, LadderRow{"Just29Below", 1190, 0},
                      LadderRow{"AtTarget", 1219, 0}, LadderRow{"Just29Above", 1248, 0},
                      LadderRow{"Exactly30Above", 1249, -100},
                      LadderRow{"Exactly100Above", 1319, -500},
                      LadderRow{"Just299Above", 1518, -500},
                      LadderRow{"Exactly300Above", 1519, -2500},
                      LadderRow{"Above400", 1619, -2500}),
    [](const ::testing::TestParamInfo<LadderRow>& info) { return info.param.name; });

// ---- Throttle ---------------------------------------------------------------

TEST(RouteThrottle, CapsAbove16384ButKeeps16384) {
    // 0.75 x (32767 - 20479) = 9216.
    EXPECT_EQ(RouteThrottle(20479, 7168), 16384);
    EXPECT_EQ(RouteThrottle(20479, 7169), 16383);
    EXPECT_EQ(RouteThrottle(0, 12288), 16383);
}

TEST(RouteThrottle, RoundsHalfToEven) {
    EXPECT_EQ(RouteThrottle(32765, 7168), 7170);  // 7169.5
    EXPECT_EQ(RouteThrottle(32761, 7168), 7172);  // 7172.5
    EXPECT_EQ(RouteThrottle(32767, 7168), 7168);
}

// ---- Intercept ----------------------------------------------------------------

struct InterceptRow {
    const char* name;
    double course;
    double bearing;
    double gain;
    double expected;
};

class Intercept : public ::testing::TestWithParam<InterceptRow> {};

TEST_P(Intercept, HeadingOntoTheLine) {
    const InterceptRow r = GetParam();
    EXPECT_NEAR(InterceptHeading(r.course, r.bearing, r.gain), r.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Examples, Intercept,
                         ::testing::Values(
                             // 10 degrees x 3.5 = 35 degrees beyond the bearing.
                             InterceptRow{"Course090Bearing080At4nm", 90, 80, 350, 45},
                             // 30 x 5 = 150, more than 70: at most 70 beyond the bearing, wrapped.
                             InterceptRow{"Course090Bearing060At10nm", 90, 60, 500, 350},
                             // Across north the difference is 20 degrees, not 340.
                             InterceptRow{"Course350Bearing010", 350, 10, 150, 40},
                             InterceptRow{"Course010Bearing350", 10, 350, 150, 320},
                             InterceptRow{"Course350Bearing010Capped", 350, 10, 500, 80},
                             InterceptRow{"OnTheLine", 90, 90, 500, 90},
                             InterceptRow{"Course360IsNorth", 360, 10, 150, 25},
                             InterceptRow{"NegativeWrapsUp", 10, 0, 150, 345},
                             InterceptRow{"ZeroReads360", 20, 10, 100, 360},
                             InterceptRow{"ExactlySeventyIsCapped", 100, 80, 350, 10}),
                         [](const ::testing::TestParamInfo<InterceptRow>& info) {
                             return info.param.name;
                         });

TEST(InterceptGain, FallsAsTheTargetComesNearerAndSkipsTheExactBoundaries) {
    EXPECT_EQ(InterceptGain(0.0), 150);
    EXPECT_EQ(InterceptGain(1.99), 150);
    EXPECT_EQ(InterceptGain(2.0), 0);
    EXPECT_EQ(InterceptGain(2.5), 200);
    EXPECT_EQ(InterceptGain(3.0), 0);
    EXPECT_EQ(InterceptGain(4.0), 350);
    EXPECT_EQ(InterceptGain(5.0), 0);
    EXPECT_EQ(InterceptGain(5.01), 500);
}

TEST(AutopilotHeading, FractionsOfADegreeInTheAutopilotUnitNotWrapped) {
    EXPECT_EQ(AutopilotHeadingUnits(45), 8192);
    EXPECT_EQ(AutopilotHeadingUnits(44.5), 8101);  // 44.5 x 182.04 = 8100.98
    EXPECT_EQ(AutopilotHeadingUnits(45.5), 8283);  // 45.5 x 182.04 = 8283.02
    EXPECT_EQ(AutopilotHeadingUnits(0.01), 2);     // 1.82
    EXPECT_EQ(AutopilotHeadingUnits(-3), -546);
    EXPECT_EQ(AutopilotHeadingUnits(362), 65900);
}

TEST(DistanceText, CutDownToTenths) {
    EXPECT_EQ(DistanceText(12.37), " 12.3 nm");
    EXPECT_EQ(DistanceText(0.99), " .9 nm");
    EXPECT_EQ(DistanceText(4), " 4 nm");
}

// ---- Steering -----------------------------------------------------------------

struct Steering : ProgramFixture {
    Steering() {
        p.plan.GuidanceOn = true;
        p.plan.CruiseHeight = 4000 / 3.2808;
        p.plan.CruiseAboveGround = true;
        PlaceAircraft(p.flightState, 0, 0);
        p.flightState.altitude = 1000;
        p.flightState.stallfactor = 32767;
    }
    // The target and the aircraft placed so that the target lies at bearing
    // `bearing` and `nm` nautical miles.
    LatLon TargetAt(double bearing, double nm) {
        return Destination(0, 0, bearing, nm * kMetresPerNm);
    }
};

TEST_F(Steering, ClimbsTowardsTheCruiseHeightAboveTheGround) {
    p.flightState.groundaltitude = 100;
    const LatLon t = TargetAt(90, 20);
    SteerToPoint(p, t.lat, t.lon, false, 0);
    // Target 1219 + 100 m; 319 m below it.
    EXPECT_EQ(p.flightState.out.apvertspeed, 2000);
    EXPECT_EQ(p.flightState.out.apaltitude, 4327);  // 1319 m x 3.2808 = 4327.4
    EXPECT_EQ(p.flightState.out.throttle1, 7168);
    EXPECT_EQ(p.flightState.throttle4pending, flightstate::kRequestSet);
}

TEST_F(Steering, AboveSeaLevelIgnoresTheGround) {
    p.plan.CruiseHeight = 3000 / 3.2808;  // 914 m
    p.plan.CruiseAboveGround = false;
    p.flightState.groundaltitude = 500;
    const LatLon t = TargetAt(90, 20);
    SteerToPoint(p, t.lat, t.lon, false, 0);
    EXPECT_EQ(p.flightState.out.apvertspeed, -100);  // 86 m above 914
    EXPECT_EQ(p.flightState.out.apaltitude, 2999);   // 914 x 3.2808 = 2998.65
}

TEST_F(Steering, StraightToTheTargetLessTheMagneticVariation) {
    // 10 degrees east: 1820 units of 360/65536 degree, 9.997 degrees.
    p.flightState.magvar = 1820;
    const LatLon t = TargetAt(90, 20);
    SteerToPoint(p, t.lat, t.lon, false, 0);
    EXPECT_EQ(p.flightState.out.apheading, AutopilotHeadingUnits(80));
}

TEST_F(Steering, WestVariationIsAddedAndTheHeadingMayPass360) {
    // 5 degrees west reads 355 x 65536 / 360 -> minus 360.
    p.flightState.magvar = 64626;
    const LatLon t = TargetAt(358, 20);
    SteerToPoint(p, t.lat, t.lon, false, 0);
    EXPECT_EQ(p.flightState.out.apheading, AutopilotHeadingUnits(363));
}

TEST_F(Steering, InterceptAt4nmTurns35DegreesBeyondTheBearing) {
    const LatLon t = TargetAt(80, 4);
    SteerToPoint(p, t.lat, t.lon, true, 90);
    // Within a tenth of a degree (the bearing to the target is not exactly 80).
    EXPECT_NEAR(p.flightState.out.apheading, AutopilotHeadingUnits(45), 18);
}

TEST_F(Steering, InterceptAt10nmIsCappedAt70Degrees) {
    const LatLon t = TargetAt(60, 10);
    SteerToPoint(p, t.lat, t.lon, true, 90);
    EXPECT_EQ(p.flightState.out.apheading, AutopilotHeadingUnits(350));
}

TEST_F(Steering, LandingStagesTakeOverPowerAndHeightThenHeading) {
    const LatLon t = TargetAt(90, 20);
    p.plan.LandingStage = 2;
    SteerToPoint(p, t.lat, t.lon, false, 0);
    EXPECT_EQ(p.flightState.throttle1pending, flightstate::kRequestClear);
    EXPECT_EQ(p.flightState.apvertspeedpending, flightstate::kRequestClear);
    EXPECT_EQ(p.flightState.apaltitudepending, flightstate::kRequestClear);
    EXPECT_EQ(p.flightState.apheadingpending, flightstate::kRequestSet);

    p.flightState.apheadingpending = 0;
    p.plan.LandingStage = 7;
    SteerToPoint(p, t.lat, t.lon, false, 0);
    EXPECT_EQ(p.flightState.apheadingpending, flightstate::kRequestClear);
}

TEST_F(Steering, NothingWhileGuidanceIsOff) {
    p.plan.GuidanceOn = false;
    const LatLon t = TargetAt(90, 20);
    SteerToPoint(p, t.lat, t.lon, true, 90);
    EXPECT_EQ(p.flightState.apheadingpending, flightstate::kRequestClear);
    EXPECT_EQ(p.flightState.throttle1pending, flightstate::kRequestClear);
}

// ---- The en-route stages ------------------------------------------------------

// A runway at the equator heading 090 from (0, 0) to (0, 0.03).
struct Route : ProgramFixture {
    Route() {
        p.plan.Threshold = {0, 0};
        p.plan.FarEnd = {0, 0.03};
        p.plan.RunwayHeading = 90;
        p.plan.RunwayElevation = 0;
        p.plan.GuidanceOn = true;
        p.flightState.stallfactor = 32767;
        SetAirspeed(p.flightState, 150);
        p.flightState.altitude = 600;
        // The same aircraft in the simulator, for the exchanges of stage 1.
        PutAircraft(link, -0.5, -0.5, 600, 45);
        link.Put(at::kTrueAirspeed, std::int32_t{150 * 128});
        Exchange();
        link.writes.clear();
        link.batches = 0;
    }
    void At(double bearingFromThreshold, double nm) {
        const LatLon pos = Destination(0, 0, bearingFromThreshold, nm * kMetresPerNm);
        PlaceAircraft(p.flightState, pos.lat, pos.lon);
    }
};

TEST_F(Route, Stage1PlacesTheTurningPointAndEngagesTheAutopilot) {
    p.plan.RouteStage = 1;
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 2);
    EXPECT_NEAR(p.plan.TurningPointDistance, 8.92, 0.01);
    EXPECT_LT(p.plan.TurningPoint.lon, 0);  // west of a runway heading east
    EXPECT_EQ(link.batches, 2);
    EXPECT_EQ(link.LastWrite(at::kApAltitude), 0);
    EXPECT_EQ(p.forms.Form4.Label6.caption, "To turning point");
}

TEST_F(Route, Stage2SteersToTheTurningPointAndShowsTheDistanceLeft) {
    p.plan.RouteStage = 1;
    RouteTick(p);
    At(270, 30);
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 2);
    EXPECT_EQ(p.plan.LandingStage, 0);
    // About 30 - 8.92 nm to the point, less a sixth of its distance.
    const double expected = 30 - 8.92 - 8.92 / 6;
    EXPECT_EQ(p.forms.Form4.Label7.caption.substr(p.forms.Form4.Label7.caption.size() - 3), " nm");
    EXPECT_NEAR(std::stod(p.forms.Form4.Label7.caption), expected, 0.15);
    EXPECT_EQ(p.flightState.out.apheading, AutopilotHeadingUnits(90));
}

TEST_F(Route, NearTheTurningPointGoesOnToStage3AndStartsTheLandingInTheSameTick) {
    p.plan.RouteStage = 1;
    RouteTick(p);
    At(270, p.plan.TurningPointDistance + 1);  // 1 nm before it, inside a sixth of 8.92
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 3);
    EXPECT_EQ(p.plan.LandingStage, 1);
    EXPECT_EQ(p.forms.Form4.Label6.caption, "To airport");
    // Stage 3 already ran: the distance shown is to the threshold.
    EXPECT_NEAR(std::stod(p.forms.Form4.Label7.caption), p.plan.TurningPointDistance + 1, 0.15);
}

TEST_F(Route, Stage2RaisesPowerLowDownAndRaisesTheGear) {
    p.plan.RouteStage = 2;
    p.plan.TurningPoint = {0, -0.2};
    p.plan.TurningPointDistance = 8.92;
    At(270, 30);
    p.flightState.altitude = 100;  // 328 ft above the sea-level ground
    p.flightState.gearhandle = 16383;
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteBaseThrottle, 12288);
    EXPECT_EQ(p.flightState.out.gearhandle, 0);
    EXPECT_EQ(p.flightState.gearhandlepending, flightstate::kRequestSet);

    p.flightState.gearhandlepending = 0;
    p.flightState.altitude = 80;  // 262 ft: gear stays down
    RouteTick(p);
    EXPECT_EQ(p.flightState.gearhandlepending, flightstate::kRequestClear);
    p.flightState.altitude = 600;
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteBaseThrottle, 7168);
}

TEST_F(Route, EveryEighthStage2TickTheTurningPointFollowsTheAirspeed) {
    p.plan.RouteStage = 2;
    p.plan.TurningPoint = {0, -0.2};
    p.plan.TurningPointDistance = 1.0;
    p.plan.RecomputeCounter = 6;
    At(270, 30);
    RouteTick(p);
    EXPECT_EQ(p.plan.RecomputeCounter, 7);
    EXPECT_DOUBLE_EQ(p.plan.TurningPointDistance, 1.0);
    RouteTick(p);
    EXPECT_EQ(p.plan.RecomputeCounter, 0);
    EXPECT_NEAR(p.plan.TurningPointDistance, 8.92, 0.01);
}

TEST_F(Route, WithinTheLastMilesStage3GoesOnToStage4AndThenOff) {
    p.plan.RouteStage = 3;
    At(270, 1.5);
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 3);
    At(270, 1.0);
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 4);
    EXPECT_NEAR(std::stod(p.forms.Form4.Label7.caption), 1.0, 0.15);
    At(270, 0.3);
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 4);
    At(270, 0.1);
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 0);
}

TEST_F(Route, Stage4SteersAlongTheRunwayBeyondTheFarEnd) {
    p.plan.RouteStage = 4;
    At(270, 0.5);
    RouteTick(p);
    EXPECT_EQ(p.flightState.out.apheading, AutopilotHeadingUnits(90));
}

TEST_F(Route, AStageIsNeverRevisited) {
    p.plan.RouteStage = 3;
    At(270, 0.1);  // already within 0.2 nm: 3 -> 4 -> 0 in one tick
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 0);
    RouteTick(p);
    EXPECT_EQ(p.plan.RouteStage, 0);
}

TEST(ThresholdDistanceTest, WholeFeetToTheThreshold) {
    flightstate::FlightState s;
    s.simulatorkind = flightstate::kFs98;
    FlyTherePlan plan;
    plan.Threshold = {0, 0};
    const LatLon pos = Destination(0, 0, 270, 1852);
    PlaceAircraft(s, pos.lat, pos.lon);
    EXPECT_NEAR(ThresholdDistance(plan, ReadingsOf(s)), 1852 * 3.2808, 1.0);
    s.simulatorkind = flightstate::kNoSimulator;  // readings 0: at the threshold
    EXPECT_EQ(ThresholdDistance(plan, ReadingsOf(s)), 0);
}

}  // namespace
}  // namespace corvane::autopilot::test
