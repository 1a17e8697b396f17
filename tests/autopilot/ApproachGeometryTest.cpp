// SPDX-License-Identifier: MIT
//
// The measures the approach is judged by: offsets from the runway, the aim
// point, the profile's heights, the ground track from successive positions,
// the stabilised gate and the rollout steering. Properties over random
// runways and positions, and tables of the gate's cases.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/autopilot/ApproachGeometry.h"
#include "app/autopilot/DescentProfile.h"
#include "app/autopilot/GroundTrack.h"
#include "navdata/Geodesy.h"

namespace corvane::autopilot {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180;

// The point at a distance (metres) and bearing from a start, on the sphere
// the program's great-circle distance uses.
LatLon Destination(LatLon from, double bearingDeg, double metres) {
    static const double radius = navdata::GreatCircleDistance(0, 0, 1, 0) / kRad;
    const double d = metres / radius;
    const double lat1 = from.lat * kRad;
    const double b = bearingDeg * kRad;
    const double lat2 =
        std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(b));
    const double lon2 = from.lon * kRad + std::atan2(std::sin(b) * std::sin(d) * std::cos(lat1),
                                                     std::cos(d) - std::sin(lat1) * std::sin(lat2));
    double lon = lon2 / kRad;
    while (lon > 180)
        lon -= 360;
    while (lon <= -180)
        lon += 360;
    return {lat2 / kRad, lon};
}

FlyTherePlan RunwayPlan(LatLon threshold, double headingDeg) {
    FlyTherePlan plan;
    plan.Threshold = threshold;
    plan.FarEnd = Destination(threshold, headingDeg, 3000);
    plan.RunwayHeading = headingDeg;
    plan.RunwayLengthFt = 3000 * 3.2808;
    plan.RunwayWidthFt = 150;
    plan.AimPointFt = AimPointDistance(plan.RunwayLengthFt);
    // The profile at 120 kt over a runway at sea level.
    plan.RunwayElevation = 0;
    plan.ProfileSpeed = 120;
    plan.FinalLength = 7290.14;
    plan.FinalStart = 60.68;
    plan.ApproachLength = 12150.24;
    plan.MidStart = 303.68;
    return plan;
}

TEST(ApproachGeometry, OffsetsRecoverAlongAndCrossOnRandomRunways) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> lat(-70, 70), lon(-180, 180), hdg(0, 360),
        along(-60000, 12000), cross(-500, 500);
    for (int i = 0; i < 2000; ++i) {
        const LatLon threshold{lat(rng), lon(rng)};
        const double heading = hdg(rng);
        const FlyTherePlan plan = RunwayPlan(threshold, heading);
        const double a = along(rng), c = cross(rng);
        // Along the centre line first, then square off it to the right.
        const LatLon onLine = Destination(threshold, heading, a / 3.2808);
        const double lineHeading =
            a >= 0 ? navdata::InitialBearing(threshold.lat, threshold.lon, onLine.lat, onLine.lon)
                   : heading;
        const LatLon p = Destination(onLine, lineHeading + 90, c);
        const RunwayOffsets o = OffsetsFromRunway(plan, p.lat, p.lon);
        ASSERT_NEAR(o.alongFt, a, 3 + std::fabs(a) * 2e-4) << "runway " << i;
        ASSERT_NEAR(o.crossM, c, 0.5 + std::fabs(a) * 1e-5) << "runway " << i;
    }
}

TEST(ApproachGeometry, AimPointInTheTouchdownZoneForEveryLength) {
    // The good-landing zone runs from 200 ft to the lesser of 2,700 ft and a
    // third of the runway: the aim point leaves room on both sides.
    for (double length : {2000.0, 3500.0, 4990.0, 6000.0, 8000.0, 12000.0, 16000.0}) {
        const double aim = AimPointDistance(length);
        const double zoneEnd = std::min(2700.0, length / 3);
        EXPECT_GE(aim - 200, 0.3 * (zoneEnd - 200)) << length;
        EXPECT_GE(zoneEnd - aim, 0.3 * (zoneEnd - 200)) << length;
    }
    EXPECT_EQ(AimPointDistance(12000), 1000);
    EXPECT_EQ(AimPointDistance(0), 1000);  // unknown length: the usual aim
}

TEST(ApproachGeometry, ProfileDistanceInvertsProfileHeight) {
    const FlyTherePlan plan = RunwayPlan({0, 0}, 90);
    for (double x = 0; x < 80000; x += 137) {
        const double h = ProfileHeightAt(plan, x);
        EXPECT_NEAR(ProfileDistanceAt(plan, h), x, 1e-6 * x + 1e-6) << x;
    }
    EXPECT_NEAR(ProfileHeightAt(plan, 0), kTouchdownAimFt, 1e-9);
    EXPECT_NEAR(ProfileHeightAt(plan, plan.FinalLength), 60.68, 1e-9);
    EXPECT_NEAR(ProfileHeightAt(plan, plan.ApproachLength), 303.68, 0.01);
}

TEST(ApproachGeometry, TerrainFloorLevelsOffAndClimbsBack) {
    const FlyTherePlan plan = RunwayPlan({0, 0}, 90);
    // Far out the floor is 1,000 ft; near the runway it stays under the profile.
    EXPECT_EQ(TerrainFloorFt(plan, 60000), 1000);
    for (double x = 0; x < 80000; x += 500)
        EXPECT_LE(TerrainFloorFt(plan, x), 0.5 * ProfileHeightAt(plan, x) + 1e-9) << x;
    EXPECT_EQ(TerrainLimitedRate(1600, 1000), -3600);  // reaches the floor in 10 s
    EXPECT_EQ(TerrainLimitedRate(1000, 1000), 0);
    EXPECT_EQ(TerrainLimitedRate(900, 1000), 600);
    EXPECT_EQ(TerrainLimitedRate(0, 1000), 1000);
}

TEST(ApproachGeometry, StabilisedGate) {
    const FlyTherePlan plan = RunwayPlan({10, 20}, 45);
    const double onProfile = ProfileDistanceAt(plan, 500);  // to the aim point
    const double along = plan.AimPointFt - onProfile;
    const double halfWidthM = 150 / 3.2808 / 2;
    struct Case {
        double alongFt, crossM, trackDeg;
        bool trackKnown;
        std::string want;
    };
    const Case cases[] = {
        {along, 0, 45, true, ""},
        {along, halfWidthM - 0.5, 47, true, ""},
        {along, -(halfWidthM - 0.5), 45, false, ""},
        {along, halfWidthM + 0.5, 45, true, "beside the centre line"},
        {along, -60, 45, true, "beside the centre line"},
        {along, 0, 80, true, "not lined up"},
        {along, 0, 80, false, ""},  // no track measured yet: not judged on it
        {plan.AimPointFt - 0.4 * onProfile, 0, 45, true, "too high"},
        {plan.AimPointFt - 3 * onProfile, 0, 45, true, "too low"},
        {plan.AimPointFt + 500, 0, 45, true, "too high"},  // past the aim point
    };
    for (const Case& c : cases) {
        RunwayOffsets o{c.alongFt, c.crossM};
        EXPECT_EQ(UnstableReason(plan, o, 500, c.trackKnown, c.trackDeg), c.want)
            << c.alongFt << " ft, " << c.crossM << " m, track " << c.trackDeg;
    }
}

TEST(ApproachGeometry, RolloutSteersBackToTheCentreLine) {
    const FlyTherePlan plan = RunwayPlan({0, 0}, 350);
    struct Case {
        double crossM, headingDeg, turnRateDegS;
        int sign;  // of the steering: +1 right, -1 left, 0 none
    };
    const Case cases[] = {
        {0, 350, 0, 0},    // on the line, on its heading
        {4, 350, 0, -1},   // right of the centre line: steer left
        {-4, 350, 0, 1},   // left of it: steer right
        {0, 340, 0, 1},    // heading left of the runway: steer right
        {0, 5, 0, -1},     // across north
        {0, 340, 10, 0},   // already swinging back: no more rudder
        {0, 340, 20, -1},  // swinging back fast: checked
        {0, 5, -30, 1},    // ... across north as well
    };
    for (const Case& c : cases) {
        const double steer = RolloutSteering(plan, {1000, c.crossM}, c.headingDeg, c.turnRateDegS);
        EXPECT_EQ((steer > 1e-9) - (steer < -1e-9), c.sign)
            << c.crossM << " m, " << c.headingDeg << " deg, " << c.turnRateDegS << " deg/s";
    }
    EXPECT_EQ(RolloutSteering(plan, {1000, -50}, 300, 0), 1);  // limited to full deflection
    EXPECT_EQ(RolloutSteering(plan, {1000, 0}, 350, NAN), 0);  // no turn rate known
}

// Off the centre line the track closes on it at an eighth of the offset a
// second or so (the offset halving in about 8 s) at any approach speed up to
// 120 kt; faster, the look-ahead stays 700 m. Speeds that say nothing look
// 150 m ahead.
TEST(ApproachGeometry, CentreLineTrackClosesInAboutEightSecondsAtAnySpeed) {
    const FlyTherePlan plan = RunwayPlan({0, 0}, 90);
    const double course = CentreLineCourse(plan);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> kt(30, 115), offset(-30, 30);
    for (int i = 0; i < 200; ++i) {
        const double speedKt = kt(rng), crossM = offset(rng);
        const double angle =
            std::remainder(CentreLineTrack(plan, {0, crossM}, speedKt) - course, 360);
        const double closingMps = -speedKt * 1852 / 3600 * std::sin(angle * kRad);
        const double halvingS = std::log(2) * crossM / closingMps;
        EXPECT_NEAR(halvingS, 8.0, 0.1) << speedKt << " kt, " << crossM << " m";
    }
    const double at400 = std::remainder(CentreLineTrack(plan, {0, 10}, 400) - course, 360);
    EXPECT_NEAR(at400, -std::atan2(10, 700) / kRad, 1e-9);
    const double unknown = std::remainder(CentreLineTrack(plan, {0, 10}, NAN) - course, 360);
    EXPECT_NEAR(unknown, -std::atan2(10, 150) / kRad, 1e-9);
}

TEST(GroundTrack, SpeedTrackAndDriftFromPositions) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> lat(-60, 60), lon(-180, 180), dir(0, 360), kt(0, 400),
        crab(-20, 20);
    for (int flight = 0; flight < 200; ++flight) {
        GroundTrack track;
        const double speedKt = kt(rng), trackDeg = dir(rng), crabDeg = crab(rng);
        LatLon p{lat(rng), lon(rng)};
        double t = 86400 - 3;  // the clock passes midnight
        for (int i = 0; i < 40; ++i) {
            track.Add(t, p.lat, p.lon, trackDeg - crabDeg);
            track.UpdateDrift(trackDeg - crabDeg, true);
            p = Destination(p, trackDeg, speedKt / 3600 / 0.0005399568 * 0.15);
            t += 0.15;
            if (t >= 86400)
                t -= 86400;
        }
        ASSERT_TRUE(track.Valid());
        EXPECT_NEAR(track.SpeedKnots(), speedKt, 0.01 * speedKt + 0.05);
        if (speedKt > 5) {
            EXPECT_NEAR(std::remainder(track.TrackDeg() - trackDeg, 360), 0, 0.2);
            if (speedKt > 30) {
                EXPECT_NEAR(track.DriftDeg(), crabDeg, 0.3);
                // A gust yaws the nose 10 degrees while the track holds: half
                // a second on, heading plus drift is the track again, so the
                // steering laws do not turn the track off with the yaw.
                for (int i = 0; i < 4; ++i) {
                    t += 0.15;
                    if (t >= 86400)
                        t -= 86400;
                    p = Destination(p, trackDeg, speedKt / 3600 / 0.0005399568 * 0.15);
                    track.Add(t, p.lat, p.lon, trackDeg - crabDeg + 10);
                    track.UpdateDrift(trackDeg - crabDeg + 10, true);
                }
                EXPECT_NEAR(track.DriftDeg(), crabDeg - 10, 0.5);
            }
        }
    }
}

TEST(GroundTrack, WaitsForItsWindowAndStartsAgainAfterAJumpOrAGap) {
    GroundTrack track;
    track.Add(100.0, 0, 0, 355);
    track.Add(100.0, 0, 0, 355);  // twice in one tick counts once
    track.Add(100.5, 0, 0.0001, 0);
    EXPECT_FALSE(track.Valid());  // half a second is not enough
    track.Add(101.0, 0, 0.0002, 5);
    ASSERT_TRUE(track.Valid());
    EXPECT_NEAR(track.SpeedKnots(), 43.2, 1.0);
    EXPECT_NEAR(track.TurnRateDegS(), 10, 1e-9);  // across north, over the last half second
    track.Add(101.5, 0, 5.0, 5);                  // the aircraft was moved: not a speed
    EXPECT_FALSE(track.Valid());
    track.Add(120.0, 0, 5.0, 5);  // a gap (a pause): start again
    EXPECT_FALSE(track.Valid());
    track.Add(121.0, 0, 5.0, 5);
    ASSERT_TRUE(track.Valid());
    EXPECT_EQ(track.SpeedKnots(), 0);
}

}  // namespace
}  // namespace corvane::autopilot
