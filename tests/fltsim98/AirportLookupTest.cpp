// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>

#include "sim/inprocess/AirportLookup.h"
#include "tests/fltsim98/TestDatabase.h"

namespace corvane::sim {
namespace {

TEST(AirportLookupTest, AirportsAreFoundByTheCodeInTheirNameOrRemark) {
    const navdata::AirportDatabase db = test::TestDatabase();
    EXPECT_EQ(FindAirportByIcao(db, "KTPX"), 1);
    EXPECT_EQ(FindAirportByIcao(db, " egts "), 2);
    EXPECT_EQ(FindAirportByIcao(db, "XOLD"), 3);
    EXPECT_EQ(FindAirportByIcao(db, "KTP"), 0);
    EXPECT_EQ(FindAirportByIcao(db, "Test Plateau"), 0);
    EXPECT_EQ(FindAirportByIcao(db, ""), 0);
}

TEST(AirportLookupTest, RunwayDesignatorsNameOneDirection) {
    const navdata::AirportDatabase db = test::TestDatabase();
    const struct {
        const char* asked;
        const char* found;  // nullptr: none
        bool directionA;
        double headingDeg;
    } cases[] = {
        {"17R", "17R", true, 180.0}, {"17r", "17R", true, 180.0}, {"35L", "35L", false, 0.0},
        {"8", "08", true, 90.0},     {"08", "08", true, 90.0},    {"26", "26", false, 270.0},
        {"17", nullptr, true, 0.0},  {"17L", nullptr, true, 0.0}, {"27", nullptr, true, 0.0},
        {"8X", nullptr, true, 0.0},  {"", nullptr, true, 0.0},    {"123", nullptr, true, 0.0},
    };
    for (const auto& c : cases) {
        const std::optional<RunwayDirection> d = FindRunwayDirection(db, 1, c.asked);
        if (!c.found) {
            EXPECT_FALSE(d) << c.asked;
            continue;
        }
        ASSERT_TRUE(d) << c.asked;
        EXPECT_EQ(d->designator, c.found);
        EXPECT_EQ(d->directionA, c.directionA) << c.asked;
        EXPECT_NEAR(std::remainder(d->headingTrueDeg - c.headingDeg, 360.0), 0.0, 0.5) << c.asked;
    }
    // Direction B starts at end B's threshold and rolls towards end A.
    const RunwayDirection b = *FindRunwayDirection(db, 1, "35L");
    EXPECT_DOUBLE_EQ(b.start.thresholdLatitudeDeg, 39.80);
    EXPECT_DOUBLE_EQ(b.start.farEndLatitudeDeg, 39.83);
}

TEST(AirportLookupTest, WithoutARunwayNamedTheLongestIntoTheWindIsChosen) {
    const navdata::AirportDatabase db = test::TestDatabase();
    EXPECT_EQ(PreferredRunwayDirection(db, 1, 0.0, 0.0)->designator, "17R");
    EXPECT_EQ(PreferredRunwayDirection(db, 1, 350.0, 15.0)->designator, "35L");
    // The east-west runway is more than 10 % shorter: a west wind does not pick it.
    EXPECT_EQ(PreferredRunwayDirection(db, 1, 270.0, 20.0)->designator, "17R");
    EXPECT_EQ(PreferredRunwayDirection(db, 2, 270.0, 20.0)->designator, "27");
    EXPECT_FALSE(PreferredRunwayDirection(db, 3, 0.0, 0.0));
}

TEST(AirportLookupTest, TerrainFromTheDatabaseIsTheAirportElevationOnItsRunways) {
    const navdata::AirportDatabase db = test::TestDatabase();
    const TerrainInput input = TerrainInputFromDatabase(db);
    ASSERT_EQ(input.airports.size(), 3u);
    ASSERT_EQ(input.runways.size(), 3u);
    EXPECT_EQ(input.runways[2].airportIndex, 1u);
    const AirportTerrain terrain(input.airports, input.runways);
    EXPECT_EQ(terrain.Ignored(), 0u);
    EXPECT_NEAR(terrain.ElevationM(39.80, -104.70), 1650.0, 0.01);
    EXPECT_NEAR(terrain.ElevationM(39.815, -104.685), 1650.0, 0.01);
    EXPECT_NEAR(terrain.ElevationM(50.0, -0.99), 10.0, 0.01);
    EXPECT_NEAR(terrain.ElevationM(0.0, -150.0), 0.0, 0.01);
}

TEST(AirportLookupTest, RunwayOfNoAirportIsLeftOutOfTheTerrain) {
    navdata::AirportDatabase db = test::TestDatabase();
    db.Runways[3].airportNumber = 0;
    const TerrainInput input = TerrainInputFromDatabase(db);
    const AirportTerrain terrain(input.airports, input.runways);
    EXPECT_EQ(terrain.Ignored(), 1u);
    EXPECT_TRUE(RunwayDirections(db, 2).empty());
}

}  // namespace
}  // namespace corvane::sim
