// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "navdata/Geodesy.h"
#include "navdata/NavigationConstants.h"

namespace corvane::navdata {
namespace {

TEST(NavigationConstants, Values) {
    EXPECT_DOUBLE_EQ(EarthRadius, 20003500.0 / Pi);
    EXPECT_NEAR(EarthRadius, 6367311.8, 0.1);
    EXPECT_DOUBLE_EQ(DegToRad * 180.0, Pi);
    EXPECT_DOUBLE_EQ(HalfPi * 2.0, Pi);
    EXPECT_EQ(FeetPerDegreeLatitude, 364601.55567230465);
}

struct TableRow {
    int k;
    double feet;
};

TEST(FeetPerLongitudeDegree, ReferenceRowsExactly) {
    const TableRow rows[] = {{0, 364809.096305463},  {1, 364753.532702888},  {10, 359266.688907361},
                             {30, 315932.942420856}, {45, 257957.348756058}, {60, 182402.811782078},
                             {80, 63347.6549741872}, {89, 6366.715839176}};
    const LongitudeDegreeTable table = FillLongitudeDegreeTable();
    for (const TableRow& row : rows) {
        EXPECT_EQ(table[row.k], row.feet) << "row " << row.k;
        EXPECT_EQ(FeetPerLongitudeDegree[row.k], row.feet) << "row " << row.k;
    }
    EXPECT_EQ(table[90], 0.0);
}

TEST(FeetPerLongitudeDegree, EveryRowWithinTwoFeetOfCosineAndDecreasing) {
    for (int k = 0; k <= 90; ++k) {
        EXPECT_NEAR(FeetPerLongitudeDegree[k], 364809.096305463 * std::cos(k * DegToRad), 2.0)
            << "row " << k;
        if (k > 0) {
            EXPECT_LT(FeetPerLongitudeDegree[k], FeetPerLongitudeDegree[k - 1]) << "row " << k;
        }
    }
}

TEST(GreatCircleDistance, Examples) {
    EXPECT_DOUBLE_EQ(GreatCircleDistance(51.0, 0.0, 51.0, 0.0), 0.0);
    EXPECT_NEAR(GreatCircleDistance(0.0, 0.0, 1.0, 0.0), 20003500.0 / 180.0, 1e-6);
    EXPECT_NEAR(GreatCircleDistance(0.0, 0.0, 0.0, 90.0), 20003500.0 / 2.0, 1e-6);
    // Half a meridian, pole to pole, and an antipodal pair: no NaN from rounding (the plain
    // arctangent form loses some precision there).
    EXPECT_NEAR(GreatCircleDistance(90.0, 0.0, -90.0, 0.0), 20003500.0, 1.0);
    EXPECT_NEAR(GreatCircleDistance(10.0, 20.0, -10.0, -160.0), 20003500.0, 1.0);
    // No wrapping needed: 359.8 degrees apart is 0.2 degree of longitude.
    EXPECT_NEAR(GreatCircleDistance(0.0, 179.9, 0.0, -179.9),
                GreatCircleDistance(0.0, -0.1, 0.0, 0.1), 1e-6);
}

struct BearingCase {
    const char* name;
    double lat1, lon1, lat2, lon2;
    double expected;
    double tolerance;
};

TEST(InitialBearing, Cases) {
    const BearingCase cases[] = {
        {"identical points", 51.0, 1.0, 51.0, 1.0, 0.0, 0.0},
        {"due east short hop", 51.0, 1.0, 51.0, 1.05, 90.0, 0.0},
        {"due west short hop", 51.0, 1.0, 51.0, 0.95, 270.0, 0.0},
        {"due north short hop", 51.0, 1.0, 51.5, 1.0, 0.0, 0.0},
        {"due south short hop", 51.0, 1.0, 50.5, 1.0, 180.0, 0.0},
        {"due north long", 10.0, 5.0, 40.0, 5.0, 0.0, 1e-5},
        {"due south long", 40.0, 5.0, 10.0, 5.0, 180.0, 1e-5},
        {"east along the equator", 0.0, 0.0, 0.0, 10.0, 90.0, 1e-9},
        {"west along the equator", 0.0, 10.0, 0.0, 0.0, 270.0, 1e-9},
        {"north-east", 0.0, 0.0, 10.0, 10.0, 44.56, 0.01},
        {"across 180 eastwards", 0.0, 179.9, 0.0, -179.9, 90.0, 1e-9},
        {"across 180 westwards", 0.0, -179.9, 0.0, 179.9, 270.0, 1e-9},
        {"longitudes 360 apart", 20.0, -180.0, 20.0, 180.0, 0.0, 0.0},
    };
    for (const BearingCase& c : cases) {
        const double b = InitialBearing(c.lat1, c.lon1, c.lat2, c.lon2);
        EXPECT_NEAR(b, c.expected, c.tolerance) << c.name;
    }
}

TEST(InitialBearing, SwitchOverLimitsAreStrict) {
    // 1.4 north and 0.05 east: flat earth; 1.6 north, or 0.1 east: great circle. The flat-earth
    // result depends on the table, so the two methods differ slightly but measurably.
    EXPECT_EQ(InitialBearing(50.0, 1.0, 51.4, 1.05), PlaneBearing(50.0, 1.0, 51.4, 1.05));
    EXPECT_NE(InitialBearing(50.0, 1.0, 51.6, 1.05), PlaneBearing(50.0, 1.0, 51.6, 1.05));
    EXPECT_NE(InitialBearing(50.0, 1.0, 50.5, 1.1), PlaneBearing(50.0, 1.0, 50.5, 1.1));
}

TEST(PlaneBearing, Quadrants) {
    const BearingCase cases[] = {
        // 90 - atan(dy / dx) with dx from the table at the mean latitude: 32.7443 degrees
        // at 50.005, 32.7497 at 49.995.
        {"north-east", 50.0, 1.0, 50.01, 1.01, 32.7443, 0.0001},
        {"north-west", 50.0, 1.0, 50.01, 0.99, 360.0 - 32.7443, 0.0001},
        {"south-east", 50.0, 1.0, 49.99, 1.01, 180.0 - 32.7497, 0.0001},
        {"south-west", 50.0, 1.0, 49.99, 0.99, 180.0 + 32.7497, 0.0001},
        {"same point", 50.0, 1.0, 50.0, 1.0, 0.0, 0.0},
        {"both at the north pole", 90.0, 0.0, 90.0, 0.0, 0.0, 0.0},
        {"along the north pole, upper index held to 90", 90.0, 0.0, 90.0, 0.05, 90.0, 0.0},
        {"towards the pole", 89.5, 0.0, 90.0, 0.05, 0.025, 0.001},
    };
    for (const BearingCase& c : cases) {
        EXPECT_NEAR(PlaneBearing(c.lat1, c.lon1, c.lat2, c.lon2), c.expected, c.tolerance)
            << c.name;
    }
}

TEST(GeodesyProperties, RandomPositions) {
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> lat(-89.0, 89.0);
    std::uniform_real_distribution<double> lon(-180.0, 180.0);
    std::uniform_real_distribution<double> small(-0.2, 0.2);
    for (int i = 0; i < 20000; ++i) {
        const double a = lat(random), b = lon(random);
        // Far pairs half the time, short hops the other half.
        const bool near = i % 2 == 0;
        const double c = near ? std::clamp(a + 8.0 * small(random), -89.0, 89.0) : lat(random);
        const double d = near ? b + small(random) : lon(random);
        const double forward = GreatCircleDistance(a, b, c, d);
        EXPECT_NEAR(forward, GreatCircleDistance(c, d, a, b), 1e-6);
        EXPECT_GE(forward, 0.0);
        EXPECT_LE(forward, 20003500.0 + 1e-3);
        const double bearing = InitialBearing(a, b, c, d);
        ASSERT_TRUE(bearing >= 0.0 && bearing <= 360.0) << a << " " << b << " " << c << " " << d;
        const double plane = PlaneBearing(a, b, c, d);
        ASSERT_TRUE(plane >= 0.0 && plane < 360.0) << a << " " << b << " " << c << " " << d;
    }
}

TEST(GeodesyProperties, FlatAndGreatCircleAgreeNearTheSwitchOver) {
    // Just outside the short-hop limits the great-circle bearing is taken; the flat-earth
    // bearing of the same hop must be close, or the map would jump as a beacon crosses over.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> lat(-70.0, 70.0);
    std::uniform_real_distribution<double> lon(-179.0, 179.0);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * Pi);
    for (int i = 0; i < 5000; ++i) {
        const double a = lat(random), b = lon(random), t = angle(random);
        const double c = a + 1.4 * std::cos(t) * 0.07;
        const double d = b + 0.0999 * std::sin(t);
        const double flat = PlaneBearing(a, b, c, d);
        const double sphere = [&] {
            // The great-circle formula of InitialBearing, reached by moving just past 0.1.
            const double scale = 0.1001 / 0.0999;
            return InitialBearing(a, b, a + (c - a) * scale, b + (d - b) * scale);
        }();
        double difference = std::fabs(flat - sphere);
        difference = std::min(difference, 360.0 - difference);
        EXPECT_LT(difference, 1.0) << a << " " << b << " " << c << " " << d;
    }
}

}  // namespace
}  // namespace corvane::navdata
