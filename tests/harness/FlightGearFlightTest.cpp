// SPDX-License-Identifier: MIT
//
// Flights against FlightGear without FlightGear: a runway's terrain checked
// tile by tile, random flights drawn only to runways with terrain and within
// the Cessna's ranges, final starts placed by position, and a flight to a
// runway without terrain refused before any FlightGear starts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "sim/flightgear/SceneryTiles.h"
#include "tools/harness/Destination.h"
#include "tools/harness/FlightGearFlights.h"
#include "tools/harness/RandomFlights.h"
#include "tools/harness/ScenarioRunner.h"

namespace corvane::harness {
namespace {

namespace fg = sim::flightgear;

// The tiles around a point, as a scenery folder would hold an island's.
fg::InstalledTerrain TilesAround(double latDeg, double lonDeg, int tilesEachWay) {
    fg::InstalledTerrain t;
    for (int dy = -tilesEachWay; dy <= tilesEachWay; ++dy) {
        for (int dx = -tilesEachWay; dx <= tilesEachWay; ++dx) {
            const double lat = latDeg + dy * 0.125;
            t.AddTile(fg::TileAt(lat, lonDeg + dx * fg::TileWidthDeg(lat)).Index());
        }
    }
    return t;
}

TEST(FlightGearTerrain, TheRunwayItsMiddleAndItsLastTwoMilesMustHaveTerrain) {
    // Tiles at 21 N are 1/8 degree wide: -157.880 lies in column 0 of
    // w158n21, -157.870 and -157.860 in column 1.
    fg::InstalledTerrain column1;
    column1.AddTile(fg::TileAt(21.30, -157.870).Index());
    std::string missing;
    // Landing westward within column 1: its final, from the east, too.
    const sim::RunwayStart eastToWest{21.30, -157.860, 21.30, -157.870};
    EXPECT_TRUE(RunwayTerrainInstalled(column1, eastToWest, &missing)) << missing;
    // Its far end in column 0: refused, the far end named.
    const sim::RunwayStart intoColumn0{21.30, -157.870, 21.30, -157.880};
    EXPECT_FALSE(RunwayTerrainInstalled(column1, intoColumn0, &missing));
    EXPECT_NE(missing.find("the far end"), std::string::npos) << missing;
    EXPECT_NE(missing.find("w160n20/w158n21/"), std::string::npos) << missing;
    // Landing eastward, the final comes from column 0, 0.4 nm out.
    const sim::RunwayStart westToEast{21.30, -157.870, 21.30, -157.860};
    EXPECT_FALSE(RunwayTerrainInstalled(column1, westToEast, &missing));
    EXPECT_NE(missing.find("the final 0.50 nm"), std::string::npos) << missing;
    column1.AddTile(fg::TileAt(21.30, -157.880).Index());
    EXPECT_TRUE(RunwayTerrainInstalled(column1, westToEast, &missing)) << missing;
}

class FlightGearFlightTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        HarnessOptions options;
        options.dataFolder = CORVANE_TEST_APP_DIR;
        runner_ = new ScenarioRunner(options);
    }
    static void TearDownTestSuite() { delete runner_; }
    static ScenarioRunner* runner_;
};
ScenarioRunner* FlightGearFlightTest::runner_ = nullptr;

TEST_F(FlightGearFlightTest, RandomFlightsGoOnlyWhereTheTerrainIs) {
    const navdata::AirportDatabase& db = runner_->Database();
    const RandomFlightRanges r = FlightGearRandomRanges();
    // Oahu's southern half, about 25 nm each way around Honolulu.
    const fg::InstalledTerrain oahu = TilesAround(21.32, -157.92, 3);
    const RandomFlightPool all = MakeRandomFlightPool(db, r);
    const RandomFlightPool pool = OnInstalledTerrain(all, oahu);
    ASSERT_FALSE(pool.airports.empty());
    EXPECT_LT(pool.airports.size(), 10u);
    EXPECT_GT(all.airports.size(), 100 * pool.airports.size());
    std::set<std::string> airports;
    for (const RandomFlightPool::Airport& a : pool.airports) {
        airports.insert(a.icao);
        for (const sim::RunwayDirection& d : a.directions)
            EXPECT_TRUE(RunwayTerrainInstalled(oahu, d.start, nullptr)) << a.icao;
    }
    EXPECT_EQ(airports.count("PHNL"), 1u);

    for (int i = 0; i < 40; ++i) {
        const Scenario s = DrawFlightGearFlight(db, pool, runner_->Terrain(), 1, i);
        SCOPED_TRACE(s.name);
        // Flight i of a seed is the same however many are drawn, and the
        // stand-in's draw with the Cessna's ranges but for the start.
        EXPECT_EQ(ScenarioToJsonText(DrawFlightGearFlight(db, pool, runner_->Terrain(), 1, i)),
                  ScenarioToJsonText(s));
        const Scenario drawn = DrawRandomFlight(db, pool, runner_->Terrain(), 1, i, r);
        EXPECT_EQ(drawn.name, s.name);
        EXPECT_EQ(drawn.windSpeedKt, s.windSpeedKt);
        EXPECT_EQ(drawn.turbulence, s.turbulence);
        EXPECT_EQ(s.start.kind, StartState::Kind::Final);
        EXPECT_EQ(s.start.glidePathDeg, 3.0);
        EXPECT_EQ(airports.count(s.searchText), 1u);
        const Destination d = ResolveDestination(db, s);
        EXPECT_TRUE(RunwayTerrainInstalled(oahu, RunwayStartOf(db, d.runwayChoice), nullptr));
        EXPECT_GE(db.Runways[std::size_t(std::abs(d.runwayChoice))].lengthFeet,
                  r.minRunwayLengthFt);
        EXPECT_GE(s.start.distanceNm, r.minDistanceNm);
        EXPECT_LE(s.start.distanceNm, r.maxDistanceNm);
        EXPECT_GE(s.start.iasKt, r.minIasKt);
        EXPECT_LE(s.start.iasKt, r.maxIasKt);
        // The wind as the stand-in's random flights draw it.
        const sim::RunwayDirection runway = StartRunwayOf(db, s, d);
        EXPECT_LE(CrosswindKt(s.windFromDeg, s.windSpeedKt, runway.headingTrueDeg),
                  r.maxCrosswindKt + 1e-9);
        EXPECT_LE(-HeadwindKt(s.windFromDeg, s.windSpeedKt, runway.headingTrueDeg),
                  r.maxTailwindKt + 1e-9);
        EXPECT_TRUE(s.windGradient);
    }
}

TEST_F(FlightGearFlightTest, AFinalStartGoesByPositionFromOurRunway) {
    const navdata::AirportDatabase& db = runner_->Database();
    const Scenario s = ParseScenario(
        R"({"destination": {"search": "BIKF", "runway": "11"},
            "start": {"type": "final", "distanceNm": 10, "iasKt": 90}})",
        "bikf-11.json");
    const Destination d = ResolveDestination(db, s);
    const sim::RunwayDirection runway = StartRunwayOf(db, s, d);
    const fg::LaunchPlan plan = FlightGearStartOf(db, s, d, "11");
    EXPECT_EQ(plan.start, fg::LaunchPlan::Start::InAir);
    EXPECT_EQ(plan.airport, "BIKF");
    EXPECT_EQ(plan.runway, "11");
    EXPECT_NEAR(plan.headingTrueDeg, runway.headingTrueDeg, 1e-9);
    // 10 nm back along the centre line from our threshold, 3 degrees up.
    const double dxNm = (plan.longitudeDeg - runway.start.thresholdLongitudeDeg) *
                        std::cos(plan.latitudeDeg * M_PI / 180.0) * 60.0;
    const double dyNm = (plan.latitudeDeg - runway.start.thresholdLatitudeDeg) * 60.0;
    EXPECT_NEAR(std::hypot(dxNm, dyNm), 10.0, 0.05);
    EXPECT_NEAR(plan.altitudeFt, runway.elevationM * 3.28084 + 3187.0, 10.0);
    EXPECT_NEAR(plan.speedKt, 90.0, 1e-9);
}

TEST_F(FlightGearFlightTest, ARunwayWithoutTerrainIsRefusedBeforeFlightGearStarts) {
    namespace fs = std::filesystem;
    // FlightGear's folders as an installation without Bay-area scenery has
    // them (here: none at all); no fgfs is needed to refuse the flight.
    const fs::path root =
        fs::temp_directory_path() / ("corvane-noscenery-" + std::to_string(getpid()));
    fs::create_directories(root / "Scenery" / "Terrain");
    const char* oldRoot = std::getenv("FG_ROOT");
    const std::string savedRoot = oldRoot ? oldRoot : "";
    setenv("FG_ROOT", root.c_str(), 1);
    unsetenv("FG_SCENERY");
    // FlightGear's work folder: made only when a FlightGear starts.
    const char* oldCache = std::getenv("XDG_CACHE_HOME");
    const std::string savedCache = oldCache ? oldCache : "";
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    HarnessOptions options;
    options.dataFolder = CORVANE_TEST_APP_DIR;
    options.flightGear = true;
    options.flightGearScenery = {(root / "elsewhere").string()};
    ScenarioRunner fgRunner(options);
    const Scenario s = ParseScenario(
        R"({"destination": {"search": "KSFO", "runway": "28R"},
            "start": {"type": "final", "distanceNm": 10, "iasKt": 90}})",
        "ksfo-28r.json");
    const LandingReport report = fgRunner.Run(s);
    const bool started = fs::exists(root / "cache" / "corvane");
    if (oldRoot)
        setenv("FG_ROOT", savedRoot.c_str(), 1);
    else
        unsetenv("FG_ROOT");
    if (oldCache)
        setenv("XDG_CACHE_HOME", savedCache.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
    fs::remove_all(root);
    EXPECT_FALSE(started);
    EXPECT_EQ(report.outcome, Outcome::Error);
    EXPECT_NE(report.error.find("FlightGear has no terrain at runway 28R"), std::string::npos)
        << report.error;
    EXPECT_NE(report.error.find("w130n30/w123n37/"), std::string::npos) << report.error;
    EXPECT_NE(report.error.find((root / "elsewhere").string()), std::string::npos) << report.error;
}

}  // namespace
}  // namespace corvane::harness
