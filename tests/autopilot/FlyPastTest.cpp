// SPDX-License-Identifier: MIT
#include "app/autopilot/FlyPast.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/startup/FlyThereHandlers.h"
#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"
#include "tests/autopilot/AutopilotTestSupport.h"

namespace corvane::autopilot::test {
namespace {

constexpr double kDeg = 3.14159265358979 / 180;

// Offsets of the viewpoint from the aircraft, in feet north and east.
struct Offsets {
    double northFt;
    double eastFt;
};
Offsets OffsetsOf(const FlyPastInputs& in, const FlyPastViewpoint& v) {
    const double feetPerLon =
        navdata::InterpolatedFeetPerLongitudeDegree(std::fabs(in.latitudeDeg));
    return {(v.latitudeDeg - in.latitudeDeg) * navdata::FeetPerDegreeLatitude,
            (v.longitudeDeg - in.longitudeDeg) * feetPerLon};
}

class FlyPastHeading : public ::testing::TestWithParam<double> {};

// `ahead` feet along the heading, then 100 feet to the right of it.
TEST_P(FlyPastHeading, AheadAlongTheHeadingThenToTheRight) {
    FlyPastInputs in;
    in.latitudeDeg = 47.5;
    in.longitudeDeg = -122.3;
    in.trueHeadingDeg = GetParam();
    in.trueAirspeedKnots = 150;
    const Offsets o = OffsetsOf(in, ComputeFlyPastViewpoint(in, 10, 100));
    const double ahead = 2531.7;
    const double h = GetParam() * kDeg;
    EXPECT_NEAR(o.northFt, ahead * std::cos(h) + 100 * std::cos(h + 90 * kDeg), 1e-6);
    EXPECT_NEAR(o.eastFt, ahead * std::sin(h) + 100 * std::sin(h + 90 * kDeg), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Headings, FlyPastHeading,
                         ::testing::Values(0, 30, 89.9, 90, 135, 180, 200, 269.9, 270, 300, 359.9));

TEST(FlyPast, AtRestTheViewpointIsStill200FeetAhead) {
    FlyPastInputs in;
    in.trueHeadingDeg = 0;
    const Offsets o = OffsetsOf(in, ComputeFlyPastViewpoint(in, 10, 100));
    EXPECT_NEAR(o.northFt, 200, 1e-9);
    EXPECT_NEAR(o.eastFt, 100, 1e-9);
}

TEST(FlyPast, Heading270PutsTheViewpointNorthOfTheTrack) {
    FlyPastInputs in;
    in.trueHeadingDeg = 270;
    in.trueAirspeedKnots = 150;
    const Offsets o = OffsetsOf(in, ComputeFlyPastViewpoint(in, 10, 100));
    EXPECT_NEAR(o.northFt, 100, 1e-9);
    EXPECT_NEAR(o.eastFt, -2531.7, 1e-6);
}

TEST(FlyPast, HeightIsWhereTheAircraftWillBe) {
    FlyPastInputs in;
    in.altitudeM = 1000;
    in.verticalSpeedFpm = -600;
    EXPECT_EQ(ComputeFlyPastViewpoint(in, 10, 100).altitudeFt, 3181);  // 3280.8 - 100
    in.verticalSpeedFpm = 300;
    EXPECT_EQ(ComputeFlyPastViewpoint(in, 10, 100).altitudeFt, 3331);  // 3280.8 + 50
}

TEST(FlyPast, NeverBelowOneMetreAboveTheGround) {
    FlyPastInputs in;
    in.altitudeM = 20;
    in.groundAltitudeM = 19;
    in.verticalSpeedFpm = -600;
    // 65.6 - 100 ft would be under ground: 1 m above it, 65.6 ft, rounded.
    EXPECT_EQ(ComputeFlyPastViewpoint(in, 10, 100).altitudeFt, 66);
}

// The tower latitude as the exchange will send it, back in degrees.
double TowerLatitude(const flightstate::FlightState& s) {
    return (static_cast<double>(s.out.towerlatupper) * 4294967296.0 +
            static_cast<double>(s.out.towerlatlower)) /
           7283052089.0;
}

struct FlyPastCommand : ProgramFixture {
    FlyPastCommand() {
        auto timer = std::make_unique<FakeTimer>(30000);
        timer4 = timer.get();
        p.Form1Timer4 = std::move(timer);
        SetAirspeed(p.flightState, 150);
        SetHeading(p.flightState, 0);
        p.flightState.altitude = 1000;
    }
    FakeTimer* timer4 = nullptr;
};

TEST_F(FlyPastCommand, SwitchingOnMovesTheViewpointAtOnce) {
    mnuFlyPast_Click(p);
    EXPECT_TRUE(timer4->enabled);
    EXPECT_EQ(timer4->interval, 20000);
    EXPECT_EQ(p.forms.Form1.menu.mnuFlyPast.caption, "Stop fly past view");
    EXPECT_EQ(p.flightState.towerlatpending, flightstate::kRequestSet);
    EXPECT_EQ(p.flightState.towerlonpending, flightstate::kRequestSet);
    EXPECT_EQ(p.flightState.toweraltpending, flightstate::kRequestSet);
    // Ten seconds ahead at 150 kt.
    EXPECT_NEAR(TowerLatitude(p.flightState) * navdata::FeetPerDegreeLatitude, 2531.7, 0.01);
    EXPECT_EQ(p.flightState.out.toweralt, 3281 * 19975);

    p.flightState.towerlatpending = 0;
    mnuFlyPast_Click(p);
    EXPECT_FALSE(timer4->enabled);
    EXPECT_EQ(p.forms.Form1.menu.mnuFlyPast.caption, "Fly past view");
    EXPECT_EQ(p.flightState.towerlatpending, flightstate::kRequestClear);
}

TEST_F(FlyPastCommand, EachTickUsesTheTwentySecondInterval) {
    Timer4_Timer(p);
    EXPECT_EQ(timer4->interval, 20000);
    EXPECT_NEAR(TowerLatitude(p.flightState) * navdata::FeetPerDegreeLatitude, 2531.7, 0.01);
}

TEST_F(FlyPastCommand, WithoutALinkTheViewpointGoesNearLatitudeAndLongitudeZero) {
    p.flightState.simulatorkind = flightstate::kNoSimulator;
    Timer4_Timer(p);
    EXPECT_NEAR(TowerLatitude(p.flightState) * navdata::FeetPerDegreeLatitude, 200, 0.01);
}

}  // namespace
}  // namespace corvane::autopilot::test
