// SPDX-License-Identifier: MIT
#include "app/autopilot/DescentProfile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "navdata/Geodesy.h"
#include "tests/autopilot/AutopilotTestSupport.h"

namespace corvane::autopilot::test {
namespace {

flightstate::Readings AircraftAt(double knots, std::int32_t altitudeM) {
    flightstate::FlightState s;
    s.simulatorkind = flightstate::kFs98;
    SetAirspeed(s, knots);
    s.altitude = altitudeM;
    return ReadingsOf(s);
}

void ComputeProfile(FlyTherePlan& plan, const flightstate::Readings& s) {
    FinalProfile(plan, s, kFinalSlopePercent);
    MidProfile(plan, kMidSlopePercent);
    InitialProfile(plan, s, kInitialSlopePercent);
}

TEST(DescentProfile, At120KnotsFrom914MetresToASeaLevelRunway) {
    FlyTherePlan plan;
    plan.RunwayElevation = 0;
    ComputeProfile(plan, AircraftAt(120, 914));
    EXPECT_DOUBLE_EQ(plan.ProfileSpeed, 120);
    EXPECT_NEAR(plan.FinalLength, 7290.14, 0.005);
    // 7290.14 x 2 % + 6.
    EXPECT_NEAR(plan.FinalStart, 151.80, 0.005);
    // The mid stage climbs at 5 % from FinalStart to 800 ft above the runway:
    // (800 - 151.80) x 20 = 12963.94 ft, longer than its 0.4 minute (4860.1).
    EXPECT_NEAR(plan.ApproachLength, 20254.09, 0.005);
    EXPECT_NEAR(plan.MidStart, 800.0, 0.005);
    // 20254.09 + (2998.65 - 800) x 10, about 7 nm.
    EXPECT_NEAR(plan.DescentStart, 42240.6, 0.1);
}

TEST(DescentProfile, AFastAircraftFliesTheMidStageForItsFourTenthsOfAMinute) {
    FlyTherePlan plan;
    plan.RunwayElevation = 0;
    ComputeProfile(plan, AircraftAt(400, 3000));
    // 0.4 x 400 x 101.252 = 16200.3 ft at 5 % climbs 810 ft: above the lowest start.
    EXPECT_NEAR(plan.ApproachLength - plan.FinalLength, 16200.32, 0.005);
    EXPECT_NEAR(plan.MidStart, plan.FinalStart + 810.02, 0.005);
}

TEST(DescentProfile, RunwayElevationRaisesTheStageHeightsOnly) {
    FlyTherePlan plan;
    plan.RunwayElevation = 1000;
    ComputeProfile(plan, AircraftAt(120, 914));
    EXPECT_NEAR(plan.FinalLength, 7290.14, 0.005);
    EXPECT_NEAR(plan.FinalStart, 1151.80, 0.005);
    EXPECT_NEAR(plan.MidStart, 1800.0, 0.005);
    // 1000 ft less to lose: the descent begins 10000 ft later.
    EXPECT_NEAR(plan.DescentStart, 32240.6, 0.1);
}

TEST(DescentProfile, NoAirspeedCountsAsTenFeetPerMinute) {
    FlyTherePlan plan;
    ComputeProfile(plan, AircraftAt(0, 1000));
    // No final stage; the mid stage still climbs to 800 ft: (800 - 6) x 20.
    EXPECT_NEAR(plan.ApproachLength, 15880, 1e-9);
    EXPECT_NEAR(plan.MidStart, 800.0, 1e-9);
    // The height above MidStart lost at 10 % over the distance: x 10.
    EXPECT_NEAR(plan.DescentStart, 15880 + (1000 * 3.2808 - 800.0) * 10, 1e-6);
    EXPECT_TRUE(std::isfinite(plan.DescentStart));
}

TEST(DescentProfile, NoAirspeedReadKeepsTheAltitude) {
    FlyTherePlan plan;
    ComputeProfile(plan, AircraftAt(0, 914));
    EXPECT_EQ(plan.ProfileSpeed, 0);
    EXPECT_NEAR(plan.DescentStart, 15880 + (914 * 3.2808 - 800.0) * 10, 1e-6);
}

TEST(TurningPoint, BaseDistanceGrowsWithAirspeed) {
    EXPECT_NEAR(BaseTurningPointDistance(100), 6.73, 0.005);  // 2^1.45 + 4
    EXPECT_NEAR(BaseTurningPointDistance(150), 8.92, 0.005);  // 3^1.45 + 4
    EXPECT_DOUBLE_EQ(BaseTurningPointDistance(0), 4.0);
}

TEST(TurningPoint, LowAndFastKeepsTheBaseDistance) {
    FlyTherePlan plan;
    // 150 kt at 300 m: the descent needs 1.3 x 30000 ft or so, less than 8.92 nm.
    const double d = ComputeTurningPoint(plan, AircraftAt(150, 300), 50.0, 8.0, 90.0);
    EXPECT_NEAR(d, 8.92, 0.005);
    EXPECT_LT(1.3 * plan.DescentStart, 8.92 * kFeetPerNauticalMile);
}

TEST(TurningPoint, SlowAndHighMovesOutForTheWholeDescent) {
    FlyTherePlan plan;
    const double d = ComputeTurningPoint(plan, AircraftAt(100, 3000), 50.0, 8.0, 90.0);
    EXPECT_GT(d, 6.73);
    EXPECT_NEAR(d, 1.3 * plan.DescentStart / kFeetPerNauticalMile, 1e-9);
    // The point lies that far from the threshold.
    const double metres =
        navdata::GreatCircleDistance(50.0, 8.0, plan.TurningPoint.lat, plan.TurningPoint.lon);
    EXPECT_NEAR(metres / kMetresPerNm, d, 0.01 * d);
}

TEST(TurningPoint, QuadrantAngleAtItsBoundariesUsesTheLaterRule) {
    constexpr double kDeg = 3.14159265359 / 180;
    EXPECT_NEAR(QuadrantAngle(0), 90 * kDeg, 1e-12);
    EXPECT_NEAR(QuadrantAngle(89), 1 * kDeg, 1e-12);
    EXPECT_NEAR(QuadrantAngle(90), 0, 1e-12);
    EXPECT_NEAR(QuadrantAngle(180), 90 * kDeg, 1e-12);
    EXPECT_NEAR(QuadrantAngle(269), 1 * kDeg, 1e-12);
    EXPECT_NEAR(QuadrantAngle(270), 0, 1e-12);
    EXPECT_NEAR(QuadrantAngle(359), 89 * kDeg, 1e-12);
}

// The turning point lies on the extended centre line before the threshold:
// seen from the threshold, opposite the runway heading.
struct QuadrantRow {
    const char* name;
    double runwayHeading;
};

class TurningPointQuadrant : public ::testing::TestWithParam<QuadrantRow> {};

TEST_P(TurningPointQuadrant, LiesBehindTheThresholdOnTheCentreLine) {
    const QuadrantRow row = GetParam();
    constexpr double kLat = 40.0;
    constexpr double kLon = -75.0;
    FlyTherePlan plan;
    const double d = ComputeTurningPoint(plan, AircraftAt(150, 300), kLat, kLon, row.runwayHeading);
    const double back = std::fmod(row.runwayHeading + 180, 360);
    const double bearing =
        navdata::InitialBearing(kLat, kLon, plan.TurningPoint.lat, plan.TurningPoint.lon);
    double error = std::fabs(bearing - back);
    error = std::min(error, 360 - error);
    EXPECT_LT(error, 0.2) << "bearing " << bearing;
    const double metres =
        navdata::GreatCircleDistance(kLat, kLon, plan.TurningPoint.lat, plan.TurningPoint.lon);
    EXPECT_NEAR(metres / kMetresPerNm, d, 0.01 * d);
}

INSTANTIATE_TEST_SUITE_P(Headings, TurningPointQuadrant,
                         ::testing::Values(QuadrantRow{"North", 0}, QuadrantRow{"NorthEast", 45},
                                           QuadrantRow{"JustBelowEast", 89.5},
                                           QuadrantRow{"East", 90}, QuadrantRow{"SouthEast", 135},
                                           QuadrantRow{"South", 180}, QuadrantRow{"SouthWest", 225},
                                           QuadrantRow{"West", 270}, QuadrantRow{"NorthWest", 315},
                                           QuadrantRow{"JustBelowNorth", 359.5}),
                         [](const ::testing::TestParamInfo<QuadrantRow>& info) {
                             return info.param.name;
                         });

TEST(TurningPoint, CardinalHeadingsPutItExactlyOnTheAxis) {
    constexpr double kLat = 40.0;
    constexpr double kLon = -75.0;
    const flightstate::Readings s = AircraftAt(150, 300);
    FlyTherePlan plan;
    ComputeTurningPoint(plan, s, kLat, kLon, 90);  // due west
    EXPECT_DOUBLE_EQ(plan.TurningPoint.lat, kLat);
    EXPECT_LT(plan.TurningPoint.lon, kLon);
    ComputeTurningPoint(plan, s, kLat, kLon, 180);  // due north
    EXPECT_NEAR(plan.TurningPoint.lon, kLon, 1e-12);
    EXPECT_GT(plan.TurningPoint.lat, kLat);
    ComputeTurningPoint(plan, s, kLat, kLon, 270);  // due east
    EXPECT_DOUBLE_EQ(plan.TurningPoint.lat, kLat);
    EXPECT_GT(plan.TurningPoint.lon, kLon);
}

TEST(TurningPoint, SouthernHemisphereUsesTheLongitudeScaleAtTheAbsoluteLatitude) {
    const flightstate::Readings s = AircraftAt(150, 300);
    FlyTherePlan north;
    FlyTherePlan south;
    ComputeTurningPoint(north, s, 60.0, 10.0, 90);
    ComputeTurningPoint(south, s, -60.0, 10.0, 90);
    EXPECT_DOUBLE_EQ(north.TurningPoint.lon, south.TurningPoint.lon);
}

}  // namespace
}  // namespace corvane::autopilot::test
