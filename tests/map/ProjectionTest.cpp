// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "app/map/DotLayer.h"
#include "app/map/MapProjection.h"
#include "app/map/MapView.h"
#include "navdata/Geodesy.h"

namespace corvane::map {
namespace {

constexpr double kMetresPerDegreeLatitude = 111130.555555555;

TEST(MapView, RangeFiveAtLatitudeSixty) {
    const MapView v = MakeMapView(60, 10, 0, 5, kMetresPerDegreeLatitude, MapScreen{});
    EXPECT_DOUBLE_EQ(v.halflat, 9260 / 111130.555555555);
    EXPECT_NEAR(v.halflat, 0.08333, 1e-5);
    const double metresPerLonDegree = 182402.811782078 / 3.2808;
    EXPECT_NEAR(v.halflon, 9260 / metresPerLonDegree, 1e-6);
    EXPECT_NEAR(v.halflon / v.halflat, 2.0, 0.01);
    EXPECT_DOUBLE_EQ(v.lonmin, 10 - v.halflon);
    EXPECT_DOUBLE_EQ(v.lonmax, 10 + v.halflon);
    EXPECT_DOUBLE_EQ(v.latmin, 60 - v.halflat);
    EXPECT_DOUBLE_EQ(v.latmax, 60 + v.halflat);
    EXPECT_EQ(v.width, 167);  // 2500 / 15 = 166.67, rounded
    EXPECT_EQ(v.height, 167);
}

TEST(MapView, LengthOfADegreeOfLongitudeIsInterpolatedBetweenRows) {
    const double t60 = navdata::FeetPerLongitudeDegree[60];
    const double t61 = navdata::FeetPerLongitudeDegree[61];
    EXPECT_DOUBLE_EQ(MetresPerLongitudeDegree(60.25), (t60 - (t60 - t61) * 0.25) / 3.2808);
    EXPECT_DOUBLE_EQ(MetresPerLongitudeDegree(-60.25), MetresPerLongitudeDegree(60.25));
    EXPECT_DOUBLE_EQ(MetresPerLongitudeDegree(89.5),
                     navdata::FeetPerLongitudeDegree[89] * 0.5 / 3.2808);
}

TEST(MapView, AtThePoleTheBoxSpansEveryLongitudeInsteadOfInfinity) {
    for (double lat : {90.0, -90.0, 95.0, 89.99999999}) {
        const MapView v = MakeMapView(lat, 20, 0, 50, kMetresPerDegreeLatitude, MapScreen{});
        EXPECT_EQ(v.halflon, kMaxHalfLon) << lat;
        EXPECT_TRUE(std::isfinite(v.lonmin) && std::isfinite(v.lonmax)) << lat;
    }
}

TEST(MapView, PixelCountsRoundHalfToEven) {
    EXPECT_EQ(PixelCount(2500, 15), 167);
    EXPECT_EQ(PixelCount(37.5, 15), 2);  // 2.5
    EXPECT_EQ(PixelCount(52.5, 15), 4);  // 3.5
    EXPECT_EQ(PixelCount(-30, 15), 0);
    EXPECT_EQ(PixelCount(1e9, 15), 32767);
}

// A projection centred on (50, 10) with 100 pixels per degree each way.
Projection Centred(double heading) {
    MapScreen screen{3000, 3000, 15, 15};  // 200 x 200 pixels over 2 x halflat
    Projection p;
    p.centreLat = 50;
    p.centreLon = 10;
    p.xc = 100;
    p.yc = 100;
    p.turn = MapScaleAndTurn(screen, heading, 1, 1);
    return p;
}

TEST(ProjectToCanvas, HeadingZeroPutsNorthUpAndEastRight) {
    const Projection p = Centred(0);
    const CanvasPoint north = ProjectToCanvas(p, 50.5, 10);
    EXPECT_FLOAT_EQ(north.x, 100);
    EXPECT_FLOAT_EQ(north.y, 50);
    const CanvasPoint east = ProjectToCanvas(p, 50, 10.25);
    EXPECT_FLOAT_EQ(east.x, 125);
    EXPECT_FLOAT_EQ(east.y, 100);
}

TEST(ProjectToCanvas, HeadingNinetyPutsEastUpAndNorthLeft) {
    const Projection p = Centred(90);
    const CanvasPoint east = ProjectToCanvas(p, 50, 10.5);
    EXPECT_NEAR(east.x, 100, 0.01);
    EXPECT_NEAR(east.y, 50, 0.001);
    const CanvasPoint north = ProjectToCanvas(p, 50.5, 10);
    EXPECT_NEAR(north.x, 50, 0.001);
    EXPECT_NEAR(north.y, 100, 0.01);
}

TEST(ProjectToCanvas, TheHeadingTurnsBy57Point3DegreesPerRadian) {
    const ScaleAndTurn t = MapScaleAndTurn(MapScreen{}, 90, 1, 1);
    EXPECT_EQ(t.s, static_cast<float>(std::sin(90 / 57.3)));
    EXPECT_EQ(t.c, static_cast<float>(std::cos(90 / 57.3)));
    // With 180 / pi the cosine would vanish; with 57.3 it is about 1.16e-4.
    EXPECT_NEAR(t.c, 1.157e-4, 1e-6);
    // A point 50 pixels north of the centre is therefore not quite level with it.
    const CanvasPoint north = ProjectToCanvas(Centred(90), 50.5, 10);
    EXPECT_NEAR(north.y, 100 - 50 * 1.157e-4, 1e-4);
    EXPECT_NE(north.y, 100.0f);
}

TEST(ProjectToCanvas, OffsetsAndSumsAreSinglePrecision) {
    Projection p;
    p.xc = 1;
    p.yc = 0;
    p.turn.sx = 1;
    p.turn.sy = 1;
    p.turn.s = 0;
    p.turn.c = 1;
    // dx = 16777217 is not a single: it becomes 16777216, and 16777216 + 1 stays
    // 16777216 in single precision (double precision would give 16777218).
    const CanvasPoint q = ProjectToCanvas(p, 0, 16777217);
    EXPECT_EQ(q.x, 16777216.0f);
}

TEST(ProjectToCanvas, PixelsRoundHalfToEvenAndStayInRange) {
    EXPECT_EQ(RoundToPixel(2.5), 2);
    EXPECT_EQ(RoundToPixel(3.5), 4);
    EXPECT_EQ(RoundToPixel(-2.5), -2);
    EXPECT_EQ(RoundToPixel(1e12), 16777216);
    EXPECT_EQ(RoundToPixel(-1e12), -16777216);
    EXPECT_EQ(RoundToPixel(std::nan("")), 0);
}

TEST(ProjectToCanvas, PixelsRoundAsNearbyintOverEveryMagnitude) {
    // Whole numbers, ties, the values next to them and plain fractions from a
    // tenth of a pixel up to past the hold at 2^24, on both signs.
    std::mt19937_64 random(24);
    std::uniform_real_distribution<double> exponent(-4.0, 25.0);
    for (int i = 0; i < 200000; ++i) {
        const double magnitude = std::pow(2.0, exponent(random));
        double value = (random() & 1) ? magnitude : -magnitude;
        switch (random() % 4) {
            case 0:
                value = std::floor(value) + 0.5;
                break;
            case 1:
                value = std::nextafter(std::floor(value) + 0.5, 0.0);
                break;
            case 2:
                value = std::floor(value);
                break;
            default:
                break;
        }
        const double held = std::clamp(value, -16777216.0, 16777216.0);
        ASSERT_EQ(RoundToPixel(value), static_cast<int>(std::nearbyint(held))) << value;
    }
}

TEST(ProjectToCanvas, OwnPositionLandsAtTheCentreLessTheDotOffset) {
    // An airport at the aircraft's own position: its dot's top left corner is
    // 2 / twips-per-pixel left of and above the canvas centre.
    navdata::AirportDatabase db;
    db.AirportCount = 1;
    db.Airports.resize(3);
    db.Airports[1].latitude = 51.47;
    db.Airports[1].longitude = -0.45;
    db.AirportLonIndex.fill(1);
    MapState state;
    const MapScreen screen;
    for (double heading : {0.0, 37.0, 90.0, 271.5}) {
        const MapView v = MakeMapView(51.47, -0.45, heading, 50, kMetresPerDegreeLatitude, screen);
        CollectMapDots(state, db, v, screen, {});
        ASSERT_EQ(state.MapDotCount, 1);
        EXPECT_FLOAT_EQ(state.MapDots[1].x, 167 - 83.5 - 2.0 / 15) << heading;
        EXPECT_FLOAT_EQ(state.MapDots[1].y, 167 - 83.5 - 2.0 / 15) << heading;
    }
}

TEST(ProjectToCanvas, DotsAgreeWithTheProjectionAroundTheAircraft) {
    navdata::AirportDatabase db;
    db.VorCount = 1;
    db.Vors.resize(3);
    db.Vors[1].latitude = 51.6;
    db.Vors[1].longitude = -0.2;
    db.VorLonIndex.fill(1);
    MapState state;
    const MapScreen screen;
    const MapView v = MakeMapView(51.47, -0.45, 123.4, 50, kMetresPerDegreeLatitude, screen);
    CollectMapDots(state, db, v, screen, {});
    ASSERT_EQ(state.MapDotCount, 1);
    Projection p;
    p.centreLat = v.lat;
    p.centreLon = v.lon;
    p.xc = v.width / 2.0 - 2.0 / 15;
    p.yc = v.height / 2.0 - 2.0 / 15;
    p.turn = MapScaleAndTurn(screen, v.heading, v.halflat, v.halflon);
    const CanvasPoint expected = ProjectToCanvas(p, 51.6, -0.2);
    EXPECT_NEAR(state.MapDots[1].x, expected.x, 1e-4);
    EXPECT_NEAR(state.MapDots[1].y, expected.y, 1e-4);
}

}  // namespace
}  // namespace corvane::map
